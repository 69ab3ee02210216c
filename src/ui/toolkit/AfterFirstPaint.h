#pragma once
// Runs a step once a window has been painted for the first time, so that what the
// window does not need in order to be seen waits until it is. Header-only with Qt alone:
// the start-up figures use it too, in programs without the window library.
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace kivtal {

// The step runs on the window's thread once the window's first repaint has run, or
// after atMostMs (when not negative) if the window is not painted by then (a window
// that is not exposed is not painted). It goes with the window: it never runs after.
inline void AfterFirstPaint(QWidget* window, std::function<void()> step, int atMostMs = -1) {
    class Watch : public QObject {
    public:
        Watch(QWidget* window, std::function<void()> step, int atMostMs) : QObject(window), step_(std::move(step)) {
            window->installEventFilter(this);
            if (atMostMs >= 0) QTimer::singleShot(atMostMs, this, [this] { Run(); });
        }
        bool eventFilter(QObject* watched, QEvent* event) override {
            // The repaint runs while this request is handled; the step comes after it.
            if (event->type() == QEvent::UpdateRequest) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, this, [this] { Run(); });
            }
            return false;
        }

    private:
        void Run() {
            if (!step_) return;
            auto step = std::move(step_);
            step_ = nullptr;
            step();
        }
        std::function<void()> step_;
    };
    new Watch(window, std::move(step), atMostMs);
}

}  // namespace kivtal
