#include "ui/dialogs/UpdaterPort.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QLocalSocket>
#include <QProcess>
#include <QSharedMemory>
#include <algorithm>
#include <cstring>
#include <memory>

#include "ui/toolkit/RuntimeFolder.h"

namespace kivtal {
namespace {

// The updater answers at once when it runs; a short wait keeps the UI responsive.
constexpr int kConnectWaitMs = 200;
constexpr int kWriteWaitMs = 500;

bool Connect(QLocalSocket& socket) {
    const QString path = UpdaterServerPath();
    if (path.isEmpty()) return false;
    socket.connectToServer(path);
    return socket.waitForConnected(kConnectWaitMs);
}

// Kept until the process ends: the updater reads the block after this program has
// closed its windows.
std::unique_ptr<QSharedMemory>& SharedBlock() {
    static std::unique_ptr<QSharedMemory> block;
    return block;
}

bool OpenSharedBlock() {
    if (SharedBlock()) return true;
    const QString key = UpdaterSharedBlockKey();
    if (key.isEmpty()) return false;
    auto block = std::make_unique<QSharedMemory>();
    block->setNativeKey(key);
    if (!block->create(kUpdaterSharedBlockSize) &&
        !(block->error() == QSharedMemory::AlreadyExists && block->attach())) {
        return false;
    }
    SharedBlock() = std::move(block);
    return true;
}

}  // namespace

QString UpdaterServerPath() {
    const QString folder = RuntimeFolder();
    return folder.isEmpty() ? QString() : folder + kUpdaterServerName;
}

QString UpdaterSharedBlockKey() {
    const QString folder = RuntimeFolder();
    return folder.isEmpty() ? QString() : folder + kUpdaterSharedBlock;
}

LocalUpdaterPort::LocalUpdaterPort(QString program) : program_(std::move(program)) {}

bool LocalUpdaterPort::IsRunning() {
    QLocalSocket socket;
    return Connect(socket);
}

bool LocalUpdaterPort::Launch(int& errorCode) {
    QProcess process;
    process.setProgram(program_);
    if (process.startDetached()) return true;
    errorCode = static_cast<int>(process.error());
    return false;
}

void LocalUpdaterPort::Post(unsigned number, std::intptr_t wParam, std::intptr_t lParam) {
    QLocalSocket socket;
    if (!Connect(socket)) return;
    QDataStream out(&socket);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(number) << qint64(wParam) << qint64(lParam);
    socket.waitForBytesWritten(kWriteWaitMs);
    socket.disconnectFromServer();
}

bool LocalUpdaterPort::ShareInstallerPath(const QString& path) {
    if (!OpenSharedBlock()) return false;
    QSharedMemory& block = *SharedBlock();
    // A longer path is cut so that the terminator always fits.
    const qsizetype units = std::min<qsizetype>(path.size(), kUpdaterPathLimit - 1);
    const qsizetype bytes = std::min<qsizetype>((units + 1) * sizeof(char16_t), block.size());
    block.lock();
    std::memset(block.data(), 0, block.size());
    std::memcpy(block.data(), path.utf16(), bytes - sizeof(char16_t));
    block.unlock();
    return true;
}

UpdaterPort& AppUpdater() {
    static LocalUpdaterPort port(QCoreApplication::applicationDirPath() + QStringLiteral("/update.exe"));
    return port;
}

}  // namespace kivtal
