#include "ui/toolkit/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>

namespace kivtal {
namespace {

// A shared /tmp lets anyone create the fallback folder first; only a private
// directory of our own is trusted.
bool IsPrivateFolder(const QByteArray& path) {
    struct stat info {};
    if (lstat(path.constData(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

}  // namespace

QString RuntimeFolder() {
    QByteArray path = qgetenv("XDG_RUNTIME_DIR");
    if (path.isEmpty()) {
        path = "/tmp/kivtal-" + QByteArray::number(getuid());
        mkdir(path.constData(), 0700);  // an existing folder is checked below
    }
    if (!IsPrivateFolder(path)) return {};
    QString folder = QString::fromLocal8Bit(path);
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

}  // namespace kivtal
