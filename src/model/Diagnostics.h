#pragma once
#include <string_view>

namespace kivtal {

// Plain diagnostic lines. They go to standard output only when the program was asked
// for its console; otherwise they are dropped. There are no log files and no levels.
void SetDiagnosticsEnabled(bool enabled);
bool DiagnosticsEnabled();
void DebugLine(std::string_view line);

}  // namespace kivtal
