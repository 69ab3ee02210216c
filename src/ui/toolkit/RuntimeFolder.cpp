#include "ui/toolkit/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>

namespace kivtal {
namespace {

// A shared /tmp lets anyone create the fallback folder first; only a private
// directory of our own is trusted. Empty when it is; otherwise why not.
QString FolderProblem(const QByteArray& path) {
    struct stat info {};
    const QString shown = QString::fromLocal8Bit(path);
    if (lstat(path.constData(), &info) != 0) return shown + QStringLiteral(" cannot be read or created");
    if (S_ISLNK(info.st_mode)) return shown + QStringLiteral(" is a symbolic link");
    if (!S_ISDIR(info.st_mode)) return shown + QStringLiteral(" is not a folder");
    if (info.st_uid != getuid()) return shown + QStringLiteral(" belongs to another user");
    if ((info.st_mode & 077) != 0)
        return shown +
               QStringLiteral(" is open to other users (mode %1)").arg(info.st_mode & 0777, 4, 8, QLatin1Char('0'));
    return {};
}

QByteArray FolderPath() {
    QByteArray path = qgetenv("XDG_RUNTIME_DIR");
    if (path.isEmpty()) {
        path = "/tmp/kivtal-" + QByteArray::number(getuid());
        mkdir(path.constData(), 0700);  // an existing folder is checked by the caller
    }
    return path;
}

}  // namespace

QString RuntimeFolder() {
    const QByteArray path = FolderPath();
    if (!FolderProblem(path).isEmpty()) return {};
    QString folder = QString::fromLocal8Bit(path);
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

QString RuntimeFolderProblem() {
    const QString problem = FolderProblem(FolderPath());
    return problem.isEmpty() ? problem : QStringLiteral("the runtime folder ") + problem;
}

}  // namespace kivtal
