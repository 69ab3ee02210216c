#pragma once
// The custom control classes every layout may name.

namespace kivtal {

// Registers "ComboKiv", "GifLabel", "GifButton" and "FindEdit" with the skin loader.
void RegisterStandardControls();

}  // namespace kivtal
