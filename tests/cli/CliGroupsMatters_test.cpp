// Contact groups, matters and the status line through the real program.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "cli/CliFixture.h"
#include "store/SqliteDb.h"

namespace kivtal::test {
namespace {

class CliGroupsMattersTest : public CliFixture {
protected:
    void SetUp() override { seedAccount(); }
};

TEST_F(CliGroupsMattersTest, GroupsRoundTripWithLiveContactCounts) {
    const Json::Value added = cliJson({"groups", "add", "O'Brien 100%"});
    ASSERT_EQ(added.size(), 1u);
    const std::string gid = std::to_string(added[0]["id"].asInt());
    ASSERT_EQ(cli({"contacts", "add", "--name", "a", "--group", gid}).exitCode, 0);
    ASSERT_EQ(cli({"contacts", "add", "--name", "b", "--group", gid}).exitCode, 0);
    ASSERT_EQ(cli({"contacts", "delete", "2"}).exitCode, 0);

    Json::Value groups = cliJson({"groups", "list"});
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0]["name"].asString(), "O'Brien 100%") << "quotes and % are stored as typed";
    EXPECT_EQ(groups[0]["count"].asInt(), 1) << "a deleted contact no longer counts";

    ASSERT_EQ(cli({"groups", "rename", gid, "VIP"}).exitCode, 0);
    EXPECT_EQ(cliJson({"groups", "list"})[0]["name"].asString(), "VIP");

    ASSERT_EQ(cli({"groups", "delete", gid}).exitCode, 0);
    EXPECT_EQ(cliJson({"groups", "list"}).size(), 0u);
    EXPECT_EQ(cli({"groups", "rename", gid, "again"}).exitCode, 2);
    EXPECT_EQ(cli({"contacts", "add", "--name", "c", "--group", gid}).exitCode, 2)
        << "no contact joins a deleted group";
    EXPECT_EQ(cliJson({"contacts", "list", "--group", gid}).size(), 1u) << "its contacts stay";
}

TEST_F(CliGroupsMattersTest, MattersAreListedAtTheMomentTheyRun) {
    const Json::Value first = cliJson({"matters", "add", "--description", "visit 'A' 50%", "--start",
                                       "2024-03-01 09:00", "--end", "2024-03-01 10:00"});
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0]["start"].asString(), "2024-03-01 09:00");
    EXPECT_EQ(first[0]["start_time"].asInt(), 1709254800) << "entered as Beijing time";
    ASSERT_EQ(
        cli({"matters", "add", "--description", "pinned", "--start", "2024-03-01", "--end", "2024-03-02", "--pin"})
            .exitCode,
        0);

    auto descriptions = [&](const std::string& at) {
        std::vector<std::string> out;
        for (const Json::Value& m : cliJson({"matters", "list", "--at", at}))
            out.push_back(m["description"].asString());
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(descriptions("2024-03-01 10:00"), (V{"pinned", "visit 'A' 50%"})) << "pinned first, end inclusive";
    EXPECT_EQ(descriptions("2024-03-01 10:01"), (V{"pinned"}));

    ASSERT_EQ(cli({"matters", "delete", std::to_string(first[0]["id"].asInt())}).exitCode, 0);
    EXPECT_EQ(descriptions("2024-03-01 09:30"), (V{"pinned"}));
    EXPECT_EQ(cli({"matters", "delete", std::to_string(first[0]["id"].asInt())}).exitCode, 2);
    EXPECT_EQ(cli({"matters", "delete", "99"}).exitCode, 2);
}

TEST_F(CliGroupsMattersTest, StatusCountsPendingEntries) {
    Json::Value status = cliJson({"status"});
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0]["account"].asString(), kAccount);
    EXPECT_EQ(status[0]["pending"].asInt(), 0);
    EXPECT_EQ(status[0]["sync_time"].asInt(), 0);
    EXPECT_EQ(status[0]["set_aside"].asInt(), 0);
    EXPECT_EQ(status[0]["refused"].asInt(), 0);

    ASSERT_EQ(cli({"contacts", "add", "--name", "a", "--bank", "B|||1|a"}).exitCode, 0);
    ASSERT_EQ(cli({"groups", "add", "g"}).exitCode, 0);
    ASSERT_EQ(cli({"contacts", "edit", "1", "--company", "c"}).exitCode, 0);  // rewrites its pending entry
    EXPECT_EQ(cliJson({"status"})[0]["pending"].asInt(), 3);

    const CliResult tabs = cli({"status", "--no-header"});
    EXPECT_EQ(tabs.out, "alice\tlocal\t3\t0\t\t0\t0\t0\n");
    // A received change kept aside after failing run after run is counted; one still
    // being retried is not.
    {
        SqliteDb db;
        ASSERT_EQ(db.open(userDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute("INSERT INTO tb_sync_set_aside(oper_code,oper_ways,s_server_id,s_values,failed_runs,"
                             "set_aside)VALUES(1,1,901,'x',3,1),(1,1,902,'y',1,0);"),
                  SQLITE_OK);
    }
    EXPECT_EQ(cliJson({"status"})[0]["set_aside"].asInt(), 1);
}

TEST_F(CliGroupsMattersTest, StatusShowsTheLastSyncInThisComputersZone) {
    {
        LocalStore store({dir_.path(), ""});
        ASSERT_EQ(store.EnsureUserDb(kAccount), 0);
        ASSERT_EQ(ChangeLog(store).StoreLastSyncFinish(1796907742), 0);  // 2026-12-10 13:02:22 UTC
    }
    runner_.setEnv("TZ", "CST-8");  // POSIX form: needs no zone files
    EXPECT_EQ(cliJson({"status"})[0]["last_sync"].asString(), "2026-12-10 21:02:22 +0800");
    runner_.setEnv("TZ", "UTC0");
    EXPECT_EQ(cliJson({"status"})[0]["last_sync"].asString(), "2026-12-10 13:02:22 +0000");
}

}  // namespace
}  // namespace kivtal::test
