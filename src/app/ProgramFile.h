#pragma once
// The program's own file, for restarting.
#include <QStringList>
#include <string>

namespace kivtal {

// The arguments of a restart: a restart-mode start (no automatic login, waits for this
// process to end).
QStringList RestartArguments();

// Starts the program's own file again, detached, with RestartArguments(). False when
// it could not be started.
bool LaunchRestart();

}  // namespace kivtal
