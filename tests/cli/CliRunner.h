#pragma once
// Runs the real kivtal-cli as a child process over a test's data folder and captures
// what it printed and how it ended. The service settings point at a closed port on
// loopback, so that no test can reach beyond this machine.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kivtal::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliRunner {
public:
    explicit CliRunner(std::string dataDir) : dataDir_(std::move(dataDir)) {}

    // Extra environment for the child, on top of the data folder and service settings.
    void setEnv(const std::string& name, const std::string& value) { env_.emplace_back(name, value); }
    // The file the child reads as standard input (empty: the test's own).
    void setStdin(std::string path) { stdinPath_ = std::move(path); }

    CliResult run(const std::vector<std::string>& args) const {
        const std::string outPath = dataDir_ + ".cli-out";
        const std::string errPath = dataDir_ + ".cli-err";
        const pid_t pid = fork();
        if (pid == 0) runChild(args, outPath, errPath);
        CliResult result;
        int status = 0;
        if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        result.out = ReadAll(outPath);
        result.err = ReadAll(errPath);
        unlink(outPath.c_str());
        unlink(errPath.c_str());
        return result;
    }

private:
    [[noreturn]] void runChild(const std::vector<std::string>& args, const std::string& outPath,
                               const std::string& errPath) const {
        RedirectTo(outPath, STDOUT_FILENO);
        RedirectTo(errPath, STDERR_FILENO);
        if (!stdinPath_.empty()) {
            const int in = open(stdinPath_.c_str(), O_RDONLY);
            if (in >= 0) dup2(in, STDIN_FILENO);
        }
        setenv("KIVTAL_DATA_DIR", dataDir_.c_str(), 1);
        setenv("KIVTAL_API_URL", "http://127.0.0.1:1", 1);
        setenv("KIVTAL_PROBE_HOSTS", "127.0.0.1", 1);
        setenv("KIVTAL_UNIQUE_ID", "cli-test-device", 1);
        for (const auto& [name, value] : env_) setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(KIVTAL_CLI_EXE)};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(KIVTAL_CLI_EXE, argv.data());
        _exit(127);
    }

    static void RedirectTo(const std::string& path, int fd) {
        const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (file >= 0) {
            dup2(file, fd);
            close(file);
        }
    }

    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string dataDir_;
    std::string stdinPath_;
    std::vector<std::pair<std::string, std::string>> env_;
};

}  // namespace kivtal::test
