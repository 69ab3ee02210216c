#include "ProcessRuns.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

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

// Output goes to /dev/null, or to a scratch file when kept, so that no pipe's reader
// ever sets the pace.
struct OutputActions {
    posix_spawn_file_actions_t actions{};
    explicit OutputActions(FILE* keep) {
        posix_spawn_file_actions_init(&actions);
        if (keep) {
            posix_spawn_file_actions_adddup2(&actions, fileno(keep), 1);
            posix_spawn_file_actions_adddup2(&actions, fileno(keep), 2);
        } else {
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        }
    }
    ~OutputActions() { posix_spawn_file_actions_destroy(&actions); }
    OutputActions(const OutputActions&) = delete;
    OutputActions& operator=(const OutputActions&) = delete;
};

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};
using ScratchFile = std::unique_ptr<FILE, FileCloser>;

std::string ReadAll(FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    return text;
}

}  // namespace

double MonotonicMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double NumberAfter(const RunFigures& run, const std::string& label) {
    const size_t at = run.output.find(label);
    if (at == std::string::npos) return std::nan("");
    const char* begin = run.output.c_str() + at + label.size();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    return end == begin ? std::nan("") : value;
}

bool RunOnce(const Command& command, RunFigures& figures, std::string& error) {
    auto argv = command.argv;
    auto env = Environment(command);
    auto argvPointers = Pointers(argv);
    auto envPointers = Pointers(env);
    ScratchFile kept(command.keepOutput ? std::tmpfile() : nullptr);
    if (command.keepOutput && !kept) {
        error = std::string("no scratch file for the output: ") + std::strerror(errno);
        return false;
    }
    OutputActions output(kept.get());
    figures.spawnedAtMs = MonotonicMs();
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, argvPointers[0], &output.actions, nullptr, argvPointers.data(), envPointers.data());
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
    if (kept) figures.output = ReadAll(kept.get());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = command.argv[0] + " ended with status " + std::to_string(status);
        if (!figures.output.empty()) error += ":\n" + figures.output;
        return false;
    }
    figures.wallMs = std::chrono::duration<double, std::milli>(end - start).count();
    figures.cpuMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    figures.peakMb = usage.ru_maxrss / 1024.0;
    return true;
}

bool RunMany(const Command& command, int warmups, int runs, std::vector<RunFigures>& out, std::string& error,
             const std::vector<Command>& before) {
    return RunMany(command, warmups, runs, out, error, Setup([&before](std::string& why) {
                       RunFigures unused;
                       for (const auto& b : before) {
                           if (!RunOnce(b, unused, why)) return false;
                       }
                       return true;
                   }));
}

bool RunMany(const Command& command, int warmups, int runs, std::vector<RunFigures>& out, std::string& error,
             const Setup& before) {
    out.clear();
    for (int i = 0; i < warmups + runs; ++i) {
        if (before && !before(error)) return false;
        RunFigures figures;
        if (!RunOnce(command, figures, error)) return false;
        if (i >= warmups) out.push_back(figures);
    }
    return true;
}

bool InChild(const std::function<bool(double& figure, std::string& error)>& work, double& figure, std::string& error) {
    int ends[2];
    if (pipe(ends) != 0) {
        error = std::strerror(errno);
        return false;
    }
    std::fflush(nullptr);  // what waits in the buffers would be written twice
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        double value = 0;
        std::string why;
        const char ok = work(value, why) ? 1 : 0;
        std::string message(&ok, 1);
        message.append(reinterpret_cast<const char*>(&value), sizeof value);
        message += why;
        const bool written = write(ends[1], message.data(), message.size()) == static_cast<ssize_t>(message.size());
        _exit(written ? 0 : 1);
    }
    close(ends[1]);
    std::string message;
    char buffer[4096];
    for (ssize_t n; pid > 0 && (n = read(ends[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
    close(ends[0]);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || message.size() < 1 + sizeof(double)) {
        error = "the child doing the work ended without an answer";
        return false;
    }
    std::memcpy(&figure, message.data() + 1, sizeof figure);
    error = message.substr(1 + sizeof(double));
    return message[0] == 1;
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

void PrintRow(const std::string& name, const std::vector<RunFigures>& runs, const std::string& target,
              const std::string& floor) {
    const Spread w = SpreadOf(Wall(runs)), c = SpreadOf(Cpu(runs)), p = SpreadOf(Peak(runs));
    std::printf(
        "%-34s wall ms %7.1f %7.1f %7.1f | cpu ms %7.1f %7.1f %7.1f | peak MB %5.1f %5.1f %5.1f"
        " | target %s | floor %s\n",
        name.c_str(), w.min, w.median, w.max, c.min, c.median, c.max, p.min, p.median, p.max, target.c_str(),
        floor.c_str());
    std::fflush(stdout);
}

}  // namespace kivtal::bench
