#pragma once
// Start-up figures for tuning, printed on standard error when KIVTAL_STARTUP_TIMING is
// set: how long until a window is first painted, and the peak memory at that moment.
#include <chrono>

class QWidget;

namespace kivtal::StartupTiming {

using TimePoint = std::chrono::steady_clock::time_point;

bool Enabled();

// The time main() was entered (fixed by the first call, so call it first in main()).
TimePoint ProgramStart();

// Prints "timing: <what> painted N ms after <since>, peak RSS M MB" once, after the
// window's first paint. Does nothing when timing is off.
void ReportFirstPaint(QWidget* window, const char* what, const char* sinceWhat, TimePoint since);

}  // namespace kivtal::StartupTiming
