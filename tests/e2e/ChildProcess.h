#pragma once
// A program run as a child process for the end-to-end tests: its own environment,
// standard output and error captured in files, and the means to wait for it, kill it
// at an arbitrary moment and read what resources it used.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace kivtal::e2e {

struct ProcessSpec {
    std::string exe;
    std::vector<std::string> args;
    std::map<std::string, std::string> env;  // on top of the test's own environment
    std::string outPath;
    std::string errPath;
};

struct ProcessEnd {
    int exitCode = -1;  // -1 when it did not exit by itself
    int signal = 0;     // the signal that ended it, else 0
    long maxRssKb = 0;  // peak resident size
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(const ProcessSpec& spec) { start(spec); }
    ~ChildProcess() {
        if (running()) {
            kill(SIGKILL);
            wait();
        }
    }
    ChildProcess(ChildProcess&& o) noexcept : pid_(std::exchange(o.pid_, -1)) {}
    ChildProcess& operator=(ChildProcess&& o) noexcept {
        std::swap(pid_, o.pid_);
        return *this;
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    void kill(int sig) const {
        if (running()) ::kill(pid_, sig);
    }

    ProcessEnd wait() {
        ProcessEnd end;
        if (!running()) return end;
        int status = 0;
        rusage usage{};
        pid_t got = -1;
        do {
            got = wait4(pid_, &status, 0, &usage);
        } while (got < 0 && errno == EINTR);
        pid_ = -1;
        if (got < 0) return end;
        if (WIFEXITED(status)) end.exitCode = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
        end.maxRssKb = usage.ru_maxrss;
        return end;
    }

private:
    void start(const ProcessSpec& spec) {
        // Everything the child needs is built before fork: between fork and exec only
        // async-signal-safe calls are allowed in a process that may have threads.
        std::vector<std::string> envText = MergedEnvironment(spec.env);
        std::vector<char*> envp;
        for (std::string& e : envText) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<std::string> argText{spec.exe};
        argText.insert(argText.end(), spec.args.begin(), spec.args.end());
        std::vector<char*> argv;
        for (std::string& a : argText) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int out = open(spec.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int err = open(spec.errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out, STDOUT_FILENO);
            dup2(err, STDERR_FILENO);
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        close(out);
        close(err);
    }

    static std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& extra) {
        std::vector<std::string> out;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry(*e);
            const std::string name = entry.substr(0, entry.find('='));
            if (extra.count(name) == 0) out.push_back(entry);
        }
        for (const auto& [name, value] : extra) out.push_back(name + "=" + value);
        return out;
    }

    pid_t pid_ = -1;
};

}  // namespace kivtal::e2e
