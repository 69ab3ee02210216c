#include "net/PingProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace kivtal {

namespace {

using Clock = std::chrono::steady_clock;

// Statistics come at the end of a few hundred bytes; anything beyond this is noise
// that is drained but not kept.
constexpr std::size_t kMaxOutput = 16384;

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

// A started child that is always reaped: killed first if it is still running.
class Child {
public:
    explicit Child(pid_t pid) : pid_(pid) {}
    ~Child() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool waitUntil(Clock::time_point deadline) {
        for (;;) {
            pid_t done = ::waitpid(pid_, nullptr, WNOHANG);
            if (done == pid_ || (done < 0 && errno != EINTR)) {
                pid_ = -1;
                return true;
            }
            if (Clock::now() >= deadline) return false;
            AwaitExit(deadline);
        }
    }

private:
    // Returns when the child has ended or at the deadline. The child has usually closed
    // its output a moment before it ends, so a fixed nap would cost more than the ping.
    // Where the kernel has no process descriptors, a short nap it is.
    void AwaitExit(Clock::time_point deadline) const {
        UniqueFd process(static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0)));
        if (process.get() < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{process.get(), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count())));
    }

    pid_t pid_;
};

// The parent's environment with every locale setting replaced by the C locale.
std::vector<std::string> CLocaleEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        std::string_view entry(*e);
        if (entry.starts_with("LC_") || entry.starts_with("LANG=") || entry.starts_with("LANGUAGE=")) continue;
        env.emplace_back(entry);
    }
    env.emplace_back("LC_ALL=C");
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& t : texts) pointers.push_back(t.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Reads until end of file or the deadline; false at the deadline.
bool ReadUntilEnd(int fd, Clock::time_point deadline, std::string& output) {
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        const std::size_t keep = std::min<std::size_t>(static_cast<std::size_t>(n), kMaxOutput - output.size());
        output.append(buffer, keep);
    }
}

}  // namespace

bool RunPing(const std::string& host, std::string& output, std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    UniqueFd readEnd(ends[0]);
    UniqueFd writeEnd(ends[1]);

    SpawnActions actions;
    posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), STDERR_FILENO);
    posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::vector<std::string> args{"ping", "-c", "1", "-W", "2", host};
    std::vector<std::string> env = CLocaleEnvironment();
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    pid_t pid = -1;
    if (::posix_spawnp(&pid, "ping", actions.get(), nullptr, argv.data(), envp.data()) != 0) return false;
    Child child(pid);
    writeEnd.reset();  // so that the read sees end of file when the child ends

    std::string text;
    if (!ReadUntilEnd(readEnd.get(), deadline, text) || !child.waitUntil(deadline)) return false;
    output = std::move(text);
    return true;
}

}  // namespace kivtal
