#include "app/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

#include "model/Diagnostics.h"
#include "ui/toolkit/InstanceMark.h"
#include "ui/toolkit/RuntimeFolder.h"

namespace kivtal {
namespace {

constexpr char kName[] = "Kivtal";
constexpr char kRaiseRequest[] = "raise\n";
constexpr char kFound[] = "found\n";
constexpr char kNotFound[] = "none\n";
// Longer than any request: whatever sends more is not one of ours.
constexpr qint64 kMaxRequest = 64;
// The other instance answers from its UI thread; a busy one may not answer at all.
constexpr int kAnswerWaitMs = 1000;

QString InRuntimeFolder(const QString& name) {
    const QString folder = RuntimeFolder();
    return folder.isEmpty() ? QString() : folder + name;
}

// Asks the running instance to bring its marked window forward; true when it found one.
bool AskToRaise(const QString& serverPath) {
    QLocalSocket socket;
    socket.connectToServer(serverPath);
    if (!socket.waitForConnected(kAnswerWaitMs)) return false;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(kAnswerWaitMs);
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerWaitMs)) {
    }
    return socket.readLine() == kFound;
}

}  // namespace

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance() {
    server_.reset();
    if (lockFd_ >= 0) close(lockFd_);
}

QString SingleInstance::LockPath() { return InRuntimeFolder(QStringLiteral("%1.lock").arg(kName)); }

QString SingleInstance::ServerPath() { return InRuntimeFolder(QLatin1String(kName)); }

int SingleInstance::Acquire() {
    if (held()) return 1;
    if (TryLock()) {
        Listen();
        return 1;
    }
    DebugLine("游标对象已经存在");
    const QString serverPath = ServerPath();
    if (!serverPath.isEmpty() && AskToRaise(serverPath)) DebugLine("找到了对应游标的窗口");
    return 0;
}

bool SingleInstance::TryLock() {
    const QString path = LockPath();
    if (path.isEmpty()) return false;
    // Close-on-exec: a restarted copy must not inherit the lock it is waiting for.
    const int fd = open(path.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    lockFd_ = fd;
    return true;
}

void SingleInstance::Listen() {
    const QString path = ServerPath();
    // Holding the lock proves that a socket left there belongs to an instance that died.
    QLocalServer::removeServer(path);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) {
        DebugLine("单实例监听失败: " + server_->errorString().toStdString());
        return;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Answer(socket); });
            if (socket->canReadLine()) Answer(socket);
        }
    });
}

void SingleInstance::Answer(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequest) socket->abort();
        return;
    }
    const bool asked = socket->readLine() == kRaiseRequest;
    const bool found = asked && InstanceMark::BringForward();
    socket->write(found ? kFound : kNotFound);
    socket->flush();
    socket->disconnectFromServer();
    if (asked && observer_) observer_(found);
}

}  // namespace kivtal
