#include "app/StartupTiming.h"

#include <sys/resource.h>

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
        std::fprintf(stderr, "timing: %s painted %.1f ms after %s, peak RSS %.1f MB\n", what_.c_str(), ms.count(),
                     sinceWhat_.c_str(), PeakRssMb());
        std::fflush(stderr);
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
