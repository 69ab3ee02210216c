#pragma once
// Starting the client with the desktop session: an XDG autostart entry
// "$XDG_CONFIG_HOME/autostart/kivtal.desktop" (default ~/.config/autostart) that runs
// the program without arguments, so a start from it is a normal start. Failures are
// silent: the settings window stores the user's choice either way.
#include <string>

namespace kivtal {

// The entry's file; empty when neither XDG_CONFIG_HOME nor HOME is set.
std::string AutoRunEntryPath();

// Writes the entry running programPath (an absolute path). Always 0.
int SetAutoRun(const std::string& programPath);
// Removes the entry. Always 0.
int ClearAutoRun();

// Absolute path of the running program (UTF-8), what the entry runs. Needs the
// QApplication.
std::string ProgramPath();

// The entry's "Exec" value for programPath, quoted and escaped for desktop entries.
std::string AutoRunExecValue(const std::string& programPath);

}  // namespace kivtal
