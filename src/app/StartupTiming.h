#pragma once
// Start-up figures for tuning, printed on standard error when KIVTAL_STARTUP_TIMING is
// set: how long until a window is first painted, the processor time and peak memory
// at that moment, and the moment itself on the system's monotonic clock, so that a
// program that started this one can count from the exec instead of from main().
// With KIVTAL_STARTUP_TIMING=exit the process ends right after the first figure: a
// timed program measures the start alone, without the windows that would follow.
#include <chrono>

class QWidget;

namespace kivtal::StartupTiming {

using TimePoint = std::chrono::steady_clock::time_point;

bool Enabled();

// The time main() was entered (fixed by the first call, so call it first in main()).
TimePoint ProgramStart();

// Prints "timing: <what> painted N ms after <since>, cpu C ms, peak RSS M MB, clock T ms"
// once, after the window's first paint (T: CLOCK_MONOTONIC in ms). Does nothing when
// timing is off.
void ReportFirstPaint(QWidget* window, const char* what, const char* sinceWhat, TimePoint since);

}  // namespace kivtal::StartupTiming
