#include "app/StartupTiming.h"

#include <sys/resource.h>
#include <time.h>

#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/toolkit/AfterFirstPaint.h"

namespace kivtal::StartupTiming {
namespace {

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

double ClockMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

bool ExitAfterFirstFigure() {
    const char* value = std::getenv("KIVTAL_STARTUP_TIMING");
    return value && std::string(value) == "exit";
}

void Report(const std::string& what, const std::string& sinceWhat, TimePoint since) {
    const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since);
    std::fprintf(stderr, "timing: %s painted %.1f ms after %s, cpu %.1f ms, peak RSS %.1f MB, clock %.3f ms\n",
                 what.c_str(), ms.count(), sinceWhat.c_str(), ClockMs(CLOCK_PROCESS_CPUTIME_ID), PeakRssMb(),
                 ClockMs(CLOCK_MONOTONIC));
    std::fflush(stderr);
    // Nothing after the figure is measured, so nothing is torn down either.
    if (ExitAfterFirstFigure()) std::_Exit(0);
}

}  // namespace

bool Enabled() {
    static const bool enabled = std::getenv("KIVTAL_STARTUP_TIMING") != nullptr;
    return enabled;
}

TimePoint ProgramStart() {
    static const TimePoint start = std::chrono::steady_clock::now();
    return start;
}

void ReportFirstPaint(QWidget* window, const char* what, const char* sinceWhat, TimePoint since) {
    if (!Enabled() || !window) return;
    AfterFirstPaint(window, [what = std::string(what), sinceWhat = std::string(sinceWhat), since] {
        Report(what, sinceWhat, since);
    });
}

}  // namespace kivtal::StartupTiming
