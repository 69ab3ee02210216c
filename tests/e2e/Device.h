#pragma once
// One device of an account: its own data folder and device id, the real kivtal-cli
// run over it as a child process, and the same folder opened through the core for
// what the command line does not offer (remarks, settings) and for inspection.
#include <gtest/gtest.h>
#include <json/json.h>

#include <memory>
#include <sstream>
#include <map>
#include <string>
#include <vector>

#include "e2e/ChildProcess.h"
#include "store/LocalStore.h"
#include "store/StorePaths.h"
#include "support/TempDir.h"

namespace kivtal::e2e {

struct CliRun {
    ProcessEnd end;
    std::string out;
    std::string err;
    int exitCode() const { return end.exitCode; }
};

class Device {
public:
    Device(std::string uniqueId, std::string apiUrl) : uniqueId_(std::move(uniqueId)), apiUrl_(std::move(apiUrl)) {}

    // Starts the command without waiting for it; `env` adds to the device's variables.
    ChildProcess spawn(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {}) const {
        ProcessSpec spec{KIVTAL_CLI_EXE,
                         args,
                         {{"KIVTAL_DATA_DIR", dir_.path()},
                          {"KIVTAL_UNIQUE_ID", uniqueId_},
                          {"KIVTAL_API_URL", apiUrl_},
                          {"KIVTAL_WEB_URL", apiUrl_},
                          {"KIVTAL_PROBE_HOSTS", "127.0.0.1"}},
                         outPath(),
                         errPath()};
        spec.env.insert(env.begin(), env.end());
        return ChildProcess(spec);
    }

    CliRun run(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {}) const {
        ChildProcess p = spawn(args, env);
        CliRun r{p.wait(), {}, {}};
        r.out = ReadFile(outPath());
        r.err = ReadFile(errPath());
        return r;
    }

    // A command that must succeed, with --json; its parsed output (null when it prints none).
    Json::Value json(std::vector<std::string> args) const {
        args.push_back("--json");
        const CliRun r = run(args);
        EXPECT_EQ(r.exitCode(), 0) << args[0] << ": " << r.err;
        Json::Value v;
        std::istringstream in(r.out);
        std::string errors;
        if (!r.out.empty()) {
            EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &v, &errors)) << r.out;
        }
        return v;
    }

    // The id of the one record an add printed.
    int add(const std::vector<std::string>& args) const {
        const Json::Value v = json(args);
        return v.isArray() && v.size() == 1 ? v[0]["id"].asInt() : 0;
    }

    void sync() const {
        const CliRun r = run({"sync"});
        ASSERT_EQ(r.exitCode(), 0) << uniqueId_ << " sync: " << r.err;
    }

    // The account's user database through the core, for what the command line lacks.
    // Use it only while no command of this device runs.
    LocalStore& store(const std::string& account) {
        if (!store_) {
            store_ = std::make_unique<LocalStore>(StorePaths{dir_.path(), DefaultRefDbPath()});
            EXPECT_EQ(store_->EnsureUserDb(account), 0);
        }
        return *store_;
    }

    std::string userDbPath(const std::string& account) const { return dir_.file(account + ".db"); }
    const std::string& uniqueId() const { return uniqueId_; }

private:
    std::string outPath() const { return dir_.path() + "cli.out"; }
    std::string errPath() const { return dir_.path() + "cli.err"; }

    kivtal::test::TempDir dir_;
    std::string uniqueId_;
    std::string apiUrl_;
    std::unique_ptr<LocalStore> store_;
};

}  // namespace kivtal::e2e
