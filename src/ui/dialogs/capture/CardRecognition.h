#pragma once
// Reads kept card pictures on a thread of its own, so the window never waits for the
// recognition engine. The engine is loaded there on the first picture and kept for
// the next; the result comes back on the window's thread.
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <functional>

#include "cards/CardReader.h"

namespace kivtal {

class CardRecognition : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(const QString& path, const cards::CardScan& scan)>;

    explicit CardRecognition(Done done, QObject* parent = nullptr);
    // Waits for a reading still running: its picture may be removed after this.
    ~CardRecognition() override;

    // Reads the picture; `done` runs on this object's thread once read. A picture
    // asked for while another is read waits its turn.
    void Read(const QString& path);
    bool Busy() const { return running_ > 0; }

private:
    Done done_;
    QThreadPool pool_;  // one thread: the engine is not shared between threads
    int running_ = 0;
};

}  // namespace kivtal
