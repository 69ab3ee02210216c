#pragma once
// One running instance per user. The first start holds an exclusive lock on a file in
// the runtime folder for its whole life (the kernel drops it when the process ends, so
// a crash leaves nothing stale) and answers later starts on the local socket "Kivtal":
// a later start asks it to bring its marked window forward, then ends.
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace kivtal {

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // 1: this process is the only instance from now on. 0: another instance runs (or the
    // lock cannot be taken); it has been asked to bring its marked window forward.
    // Repeatable: a restart keeps calling it until the ending instance is gone.
    int Acquire();
    bool held() const { return lockFd_ >= 0; }

    // Called on the UI thread for every request this instance answers, with whether a
    // marked window was found.
    void SetRaiseObserver(std::function<void(bool found)> observer) { observer_ = std::move(observer); }

    static QString LockPath();
    static QString ServerPath();

private:
    bool TryLock();
    void Listen();
    void Answer(QLocalSocket* socket);

    int lockFd_ = -1;
    std::unique_ptr<QLocalServer> server_;
    std::function<void(bool)> observer_;
};

}  // namespace kivtal
