#include "app/ProgramFile.h"

#include <QCoreApplication>
#include <QProcess>

#include "app/LaunchMode.h"
#include "model/Diagnostics.h"

namespace kivtal {

QStringList RestartArguments() { return {QString::fromLatin1(kRestartTail.data(), qsizetype(kRestartTail.size()))}; }

bool LaunchRestart() {
    const bool started = QProcess::startDetached(QCoreApplication::applicationFilePath(), RestartArguments());
    if (!started) DebugLine("重新启动程序失败");
    return started;
}

}  // namespace kivtal
