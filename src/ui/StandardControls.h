#pragma once
// The custom control classes every layout may name. They sit above the toolkit that
// loads the layouts and the controls and pages they register, so a program prepares
// its windows through here rather than through the toolkit alone.

namespace kivtal {

// Registers "ComboKiv", "GifLabel", "GifButton", "FindEdit", the list and picker
// controls, the capture control "Camera" and the matters page's "Calendar",
// "MultiButton" and "EventPlan" with the skin loader.
void RegisterStandardControls();

// The skin and the custom controls: what a program calls once before its first window.
void PrepareWindows();

}  // namespace kivtal
