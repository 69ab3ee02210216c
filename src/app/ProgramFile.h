#pragma once
// The program's own file, for the autostart entry and for restarting.
#include <QStringList>
#include <string>

namespace kivtal {

// Absolute path of the running program (UTF-8). Needs the QApplication.
std::string ProgramPath();

// The arguments of a restart: a restart-mode start (no automatic login, waits for this
// process to end).
QStringList RestartArguments();

// Starts the program's own file again, detached, with RestartArguments(). False when
// it could not be started.
bool LaunchRestart();

}  // namespace kivtal
