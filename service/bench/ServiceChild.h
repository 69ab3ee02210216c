#pragma once
// A build of kivtal-service as a child process over a scratch database (a SQLite file
// or a postgresql:// address, with its files in a scratch folder), on a free loopback
// port read from its listening line; stopped with SIGTERM when it goes. Several may
// share one folder and one database.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace kivtal::service::bench {

class ServiceChild {
public:
    ServiceChild(const std::string& program, const std::filesystem::path& db, const std::vector<std::string>& extra)
        : ServiceChild(program, db.string(), db.parent_path(), extra) {}

    ServiceChild(const std::string& program, const std::string& db, const std::filesystem::path& folder,
                 const std::vector<std::string>& extra) {
        static int started = 0;
        const std::filesystem::path out = folder / ("service-" + std::to_string(++started) + ".out");
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<std::string> args = {program, "--db", db, "--data", folder.string(), "--port", "0"};
            args.insert(args.end(), extra.begin(), extra.end());
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            if (!std::freopen(out.c_str(), "w", stdout)) _exit(126);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        for (int i = 0; i < 500 && port_ == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::ifstream in(out);
            std::stringstream text;
            text << in.rdbuf();
            std::smatch m;
            const std::string s = text.str();
            if (std::regex_search(s, m, std::regex(R"(listening on http://127\.0\.0\.1:(\d+))")))
                port_ = std::stoi(m[1]);
        }
    }
    ~ServiceChild() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    ServiceChild(const ServiceChild&) = delete;
    ServiceChild& operator=(const ServiceChild&) = delete;

    // 0 when it did not start.
    int port() const { return port_; }
    pid_t pid() const { return pid_; }
    bool alive() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace kivtal::service::bench
