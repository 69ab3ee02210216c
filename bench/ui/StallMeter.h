#pragma once
// What keeps a window from answering: the longest gap between the ticks of a 5 ms
// timer on the UI thread, and the slowest single event it handled.
#include <QApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <algorithm>

namespace kivtal::bench {

// Times every event the UI thread handles, to tell a slow handler from a thread that
// was merely not scheduled (the machine is shared).
class TimedApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        // Named before the event is handled: handling it may delete the receiver.
        const char* name = receiver->metaObject()->className();
        const char* owner = receiver->parent() ? receiver->parent()->metaObject()->className() : nullptr;
        QElapsedTimer clock;
        clock.start();
        const int type = event->type();
        const bool result = QApplication::notify(receiver, event);
        const qint64 ns = clock.nsecsElapsed();
        if (ns > slowestNs) {
            slowestNs = ns;
            // "QTimer in FakeFrameSource": a timer or watcher says little without its owner.
            slowest = QString::fromLatin1(name);
            if (owner) slowest += QStringLiteral(" in ") + QString::fromLatin1(owner);
            slowest += QStringLiteral(" event %1").arg(type);
        }
        return result;
    }
    void Reset() {
        slowestNs = 0;
        slowest.clear();
    }
    qint64 slowestNs = 0;
    QString slowest;
};

class StallMeter {
public:
    StallMeter() {
        timer_.setInterval(5);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0) longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void Start() {
        clock_.start();
        last_ = -1;
        longest_ = 0;
        timer_.start();
    }
    double LongestMs() {
        timer_.stop();
        return static_cast<double>(longest_) / 1e6;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    qint64 longest_ = 0;
};

}  // namespace kivtal::bench
