#pragma once
// How this start was asked for, decided once from the whole command line (program path
// and arguments joined with spaces).
#include <string>
#include <string_view>

namespace kivtal {

inline constexpr std::string_view kRestartTail = "not_autoRun";

struct LaunchMode {
    // Started by the program itself to restart: no automatic login, and the
    // single-instance step waits for the ending instance instead of giving up.
    bool restart = false;
    // Diagnostics on standard output (normal mode only).
    bool console = false;

    bool autoLoginAllowed() const { return !restart; }
};

// Restart mode when the line ends with "not_autoRun" (case-sensitive); otherwise normal
// mode, with the console when the last character is 'c'.
LaunchMode DecideLaunchMode(std::string_view commandLine);

std::string JoinCommandLine(int argc, const char* const* argv);

}  // namespace kivtal
