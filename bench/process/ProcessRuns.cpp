#include "ProcessRuns.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

extern char** environ;

namespace kivtal::bench {
namespace {

double Ms(const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (auto& t : texts) out.push_back(t.data());
    out.push_back(nullptr);
    return out;
}

std::vector<std::string> Environment(const Command& command) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto name = entry.substr(0, entry.find('=') + 1);
        const bool replaced = std::any_of(command.env.begin(), command.env.end(),
                                          [&](const std::string& c) { return c.rfind(name, 0) == 0; });
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), command.env.begin(), command.env.end());
    return env;
}

// Output goes to /dev/null so the pipe's reader never sets the pace.
struct SilentActions {
    posix_spawn_file_actions_t actions{};
    SilentActions() {
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    ~SilentActions() { posix_spawn_file_actions_destroy(&actions); }
    SilentActions(const SilentActions&) = delete;
    SilentActions& operator=(const SilentActions&) = delete;
};

}  // namespace

bool RunOnce(const Command& command, RunFigures& figures, std::string& error) {
    auto argv = command.argv;
    auto env = Environment(command);
    auto argvPointers = Pointers(argv);
    auto envPointers = Pointers(env);
    SilentActions silent;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argvPointers[0], &silent.actions, nullptr,
                                     argvPointers.data(), envPointers.data());
    if (spawned != 0) {
        error = command.argv[0] + ": " + std::strerror(spawned);
        return false;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        error = command.argv[0] + ": " + std::strerror(errno);
        return false;
    }
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = command.argv[0] + " ended with status " + std::to_string(status);
        return false;
    }
    figures.wallMs = std::chrono::duration<double, std::milli>(end - start).count();
    figures.cpuMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    figures.peakMb = usage.ru_maxrss / 1024.0;
    return true;
}

bool RunMany(const Command& command, int warmups, int runs, std::vector<RunFigures>& out,
             std::string& error, const std::vector<Command>& before) {
    out.clear();
    for (int i = 0; i < warmups + runs; ++i) {
        RunFigures unused;
        for (const auto& b : before) {
            if (!RunOnce(b, unused, error)) return false;
        }
        RunFigures figures;
        if (!RunOnce(command, figures, error)) return false;
        if (i >= warmups) out.push_back(figures);
    }
    return true;
}

Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

namespace {
template <typename Get>
std::vector<double> Column(const std::vector<RunFigures>& runs, Get get) {
    std::vector<double> out;
    for (const auto& r : runs) out.push_back(get(r));
    return out;
}
}  // namespace

std::vector<double> Wall(const std::vector<RunFigures>& runs) {
    return Column(runs, [](const RunFigures& r) { return r.wallMs; });
}
std::vector<double> Cpu(const std::vector<RunFigures>& runs) {
    return Column(runs, [](const RunFigures& r) { return r.cpuMs; });
}
std::vector<double> Peak(const std::vector<RunFigures>& runs) {
    return Column(runs, [](const RunFigures& r) { return r.peakMb; });
}

void PrintRow(const std::string& name, const std::vector<RunFigures>& runs,
              const std::string& target, const std::string& floor) {
    const Spread w = SpreadOf(Wall(runs)), c = SpreadOf(Cpu(runs)), p = SpreadOf(Peak(runs));
    std::printf("%-34s wall ms %7.1f %7.1f %7.1f | cpu ms %7.1f %7.1f %7.1f | peak MB %5.1f %5.1f %5.1f"
                " | target %s | floor %s\n",
                name.c_str(), w.min, w.median, w.max, c.min, c.median, c.max, p.min, p.median, p.max,
                target.c_str(), floor.c_str());
    std::fflush(stdout);
}

}  // namespace kivtal::bench
