#include "app/LaunchMode.h"

namespace kivtal {

LaunchMode DecideLaunchMode(std::string_view commandLine) {
    LaunchMode mode;
    mode.restart = commandLine.ends_with(kRestartTail);
    mode.console = !mode.restart && commandLine.ends_with('c');
    return mode;
}

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) line += ' ';
        line += argv[i];
    }
    return line;
}

}  // namespace kivtal
