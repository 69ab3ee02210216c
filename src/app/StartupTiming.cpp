#include "app/StartupTiming.h"

#include <sys/resource.h>
#include <time.h>

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

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

// Watches a window for its first repaint request; the figure is taken once that
// repaint has run.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, std::string what, std::string sinceWhat, TimePoint since)
        : QObject(window), what_(std::move(what)), sinceWhat_(std::move(sinceWhat)), since_(since) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::UpdateRequest && !reported_) {
            reported_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { Report(); });
        }
        return false;
    }

private:
    void Report() {
        const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since_);
        std::fprintf(stderr, "timing: %s painted %.1f ms after %s, cpu %.1f ms, peak RSS %.1f MB, clock %.3f ms\n",
                     what_.c_str(), ms.count(), sinceWhat_.c_str(), ClockMs(CLOCK_PROCESS_CPUTIME_ID), PeakRssMb(),
                     ClockMs(CLOCK_MONOTONIC));
        std::fflush(stderr);
        // Nothing after the figure is measured, so nothing is torn down either.
        if (ExitAfterFirstFigure()) std::_Exit(0);
    }

    std::string what_;
    std::string sinceWhat_;
    TimePoint since_;
    bool reported_ = false;
};

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
    if (Enabled() && window) new FirstPaint(window, what, sinceWhat, since);
}

}  // namespace kivtal::StartupTiming
