#include "model/Diagnostics.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace kivtal {

namespace {
std::atomic<bool> g_enabled{false};
std::mutex g_outputMutex;
}  // namespace

void SetDiagnosticsEnabled(bool enabled) { g_enabled = enabled; }

bool DiagnosticsEnabled() { return g_enabled; }

void DebugLine(std::string_view line) {
    if (!g_enabled) return;
    std::lock_guard<std::mutex> lock(g_outputMutex);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace kivtal
