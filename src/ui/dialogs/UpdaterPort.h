#pragma once
// The login window's side of the separate updater program: whether it runs, starting
// it, telling it the download's progress, and handing it the installer's path through
// the shared block it reads. An interface, so that windows can be tested without an
// updater.
#include <QString>
#include <cstdint>

namespace kivtal {

// Names under which the updater listens and finds the shared block it reads the path
// from, both in the private runtime folder: under the shared /tmp another local user
// could take them first and pose as the updater.
inline const QString kUpdaterServerName = QStringLiteral("ZELUpdataWindow");
inline const QString kUpdaterSharedBlock = QStringLiteral("kivtal");
inline constexpr int kUpdaterSharedBlockSize = 4096;
// Characters of the installer path the block carries, its terminator included.
inline constexpr int kUpdaterPathLimit = 260;

// The updater's socket and the shared block's native key; empty when the runtime folder
// is not private (then the updater counts as not running and no block is made).
QString UpdaterServerPath();
QString UpdaterSharedBlockKey();

class UpdaterPort {
public:
    virtual ~UpdaterPort() = default;
    virtual bool IsRunning() = 0;
    // Starts the updater program; false, with a code saying why, when it cannot be started.
    virtual bool Launch(int& errorCode) = 0;
    // Delivers a numbered message to the running updater; dropped when none runs.
    virtual void Post(unsigned number, std::intptr_t wParam, std::intptr_t lParam) = 0;
    // Writes the installer path into the shared block, which stays open until the
    // process ends. False when the block cannot be created or attached.
    virtual bool ShareInstallerPath(const QString& path) = 0;
};

// The updater as a local socket server of kUpdaterServerName: each message is one
// connection carrying a QDataStream (Qt 6.0, big-endian) of quint32 number, qint64
// wParam and qint64 lParam. The path goes into the block as UTF-16 with a terminator.
class LocalUpdaterPort : public UpdaterPort {
public:
    // program: the updater executable to start.
    explicit LocalUpdaterPort(QString program);

    bool IsRunning() override;
    bool Launch(int& errorCode) override;
    void Post(unsigned number, std::intptr_t wParam, std::intptr_t lParam) override;
    bool ShareInstallerPath(const QString& path) override;

private:
    QString program_;
};

// The process's updater port: "update.exe" in the program's folder.
UpdaterPort& AppUpdater();

}  // namespace kivtal
