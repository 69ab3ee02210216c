#pragma once
// Runs the system's ping once against a host and collects what it printed.
#include <chrono>
#include <string>

namespace kivtal {

// Runs "ping -c 1 -W 2 HOST" in the C locale (so its text is the one the output
// reader knows), with standard output and standard error in one pipe. False when the
// command cannot be started or has not ended within `limit`; the child is then killed.
bool RunPing(const std::string& host, std::string& output,
             std::chrono::milliseconds limit = std::chrono::milliseconds(10000));

}  // namespace kivtal
