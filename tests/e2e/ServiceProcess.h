#pragma once
// The reference service as a child process on a loopback port, over its own database:
// a SQLite file in a scratch folder, or a PostgreSQL database of its own when the tests
// run on PostgreSQL (service/ScratchDatabase.h). It can be stopped and started again on
// the same port, as a
// service that goes away in the middle of a client's run and comes back.
#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "e2e/ChildProcess.h"
#include "service/ScratchDatabase.h"

namespace kivtal::e2e {

class ServiceProcess {
public:
    // folder ends with '/'.
    explicit ServiceProcess(std::string folder) : folder_(std::move(folder)) {}

    // Starts the server (port 0 picks a free one) and waits for its listening line.
    bool start(int port = 0) {
        process_ = ChildProcess(spec({"--port", std::to_string(port)}, outPath()));
        for (int i = 0; i < 1000; ++i) {
            std::smatch m;
            const std::string out = ReadFile(outPath());
            static const std::regex line("listening on http://127\\.0\\.0\\.1:([0-9]+)");
            if (std::regex_search(out, m, line)) {
                port_ = std::stoi(m[1]);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    void stop() {
        process_.kill(SIGTERM);
        process_.wait();
    }

    bool restart() {
        stop();
        // The same port: the clients keep the address they were given.
        return start(port_);
    }

    // Killed outright, as by a crash or a power cut, then started again on its port.
    bool crashAndRestart() {
        process_.kill(SIGKILL);
        process_.wait();
        return start(port_);
    }

    // An operator command over the same database; its exit status.
    int op(const std::vector<std::string>& args) {
        ChildProcess p(spec(args, folder_ + "operator.out"));
        return p.wait().exitCode;
    }

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // SQL on the service's database (SQLite or PostgreSQL, as the tests run): the first
    // column of the first row.
    std::string query(const std::string& sql) const { return db_.query(sql); }
    // The SQLite file, for tests that only run on SQLite and open it themselves.
    std::string dbPath() const { return folder_ + "service.db"; }
    std::string outPath() const { return folder_ + "service.out"; }

private:
    // Passwords are stored with few rounds (an option for tests only): the tests log in
    // many times, and each login checks the password.
    ProcessSpec spec(const std::vector<std::string>& args, const std::string& out) const {
        ProcessSpec s{KIVTAL_SERVICE_EXE,
                      {"--db", db_.address(), "--data", folder_, "--password-rounds", "1000"},
                      {},
                      out,
                      out + ".err"};
        s.args.insert(s.args.end(), args.begin(), args.end());
        return s;
    }

    std::string folder_;
    kivtal::test::ScratchDatabase db_{folder_ + "service.db"};
    ChildProcess process_;
    int port_ = 0;
};

}  // namespace kivtal::e2e
