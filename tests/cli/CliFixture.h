#pragma once
// A data folder with one remembered account ("alice") and its user database, as the
// desktop client leaves them after a login, and the CLI run over it.
#include <gtest/gtest.h>

#include <json/json.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "net/Identity.h"
#include "store/AccountStore.h"
#include "store/ChangeLog.h"
#include "store/LocalStore.h"
#include "support/TempDir.h"

namespace kivtal::test {

class CliFixture : public ::testing::Test {
protected:
    static constexpr const char* kAccount = "alice";
    static constexpr const char* kPassword = "secret";

    // Remembers the login (with the password digest the client keeps) and, unless
    // told otherwise, creates the account's user database.
    void seedAccount(int autoLogin = 1, bool withUserDb = true) {
        LocalStore store({dir_.path(), ""});
        ASSERT_EQ(store.EnsureLoginDb(), 0);
        LoginRecord login;
        login.login_user = kAccount;
        login.login_pwd = md5Hex(md5Hex(kPassword));
        login.login_time = 1700000000;
        login.login_ways = 2;
        login.auto_login = autoLogin;
        login.last_login = 1;
        ASSERT_EQ(AccountStore(store).SaveLogin(login), 0);
        if (withUserDb) {
            ASSERT_EQ(store.EnsureUserDb(kAccount), 0);
        }
    }

    CliResult cli(const std::vector<std::string>& args) const { return runner_.run(args); }

    // Runs a command that must succeed with --json and returns its parsed array.
    Json::Value cliJson(std::vector<std::string> args) const {
        args.push_back("--json");
        const CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        Json::Value v;
        std::istringstream in(r.out);
        std::string errors;
        EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &v, &errors)) << r.out;
        EXPECT_TRUE(v.isArray()) << r.out;
        return v;
    }

    // Runs an add that must succeed and returns the new record's id ("" when it printed none).
    std::string addedId(const std::vector<std::string>& args) const {
        const Json::Value added = cliJson(args);
        return added.size() == 1 ? std::to_string(added[0]["id"].asInt()) : "";
    }

    // The change-log entries waiting for upload, read through the core itself.
    std::vector<SyncRecord> pendingEntries() const {
        LocalStore store({dir_.path(), ""});
        EXPECT_EQ(store.EnsureUserDb(kAccount), 0);
        std::vector<SyncRecord> pending;
        EXPECT_EQ(ChangeLog(store).PendingEntries(pending), 0);
        return pending;
    }

    std::string userDbPath() const { return dir_.file(std::string(kAccount) + ".db"); }

    TempDir dir_;
    CliRunner runner_{dir_.path()};
};

}  // namespace kivtal::test
