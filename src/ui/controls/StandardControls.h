#pragma once
// The custom control classes every layout may name.

namespace kivtal {

// Registers "ComboKiv", "GifLabel", "GifButton", "FindEdit" and the matters page's
// "Calendar", "MultiButton" and "EventPlan" with the skin loader.
void RegisterStandardControls();

}  // namespace kivtal
