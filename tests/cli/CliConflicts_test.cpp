// Conflicts a sync left open, listed, adopted and dismissed through the real program.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "cli/CliFixture.h"
#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/SqliteDb.h"

namespace kivtal::test {
namespace {

class CliConflictsTest : public CliFixture {
protected:
    void SetUp() override { seedAccount(); }

    // A clash as a sync run stores it.
    void Clash(int kind, int rowId, const std::string& field, const std::string& other) {
        SqliteDb db;
        ASSERT_EQ(db.open(userDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute("INSERT INTO tb_sync_clash(oper_code,s_row_id,s_server_id,field,other_value,clash_time)"
                             "VALUES(?,?,?,?,?,1796907742);",
                             {Arg(kind), Arg(rowId), Arg(500 + rowId), Arg(FieldIndexOfKind(kind, field)), Arg(other)}),
                  SQLITE_OK);
    }
};

TEST_F(CliConflictsTest, ListedCountedAdoptedAsAnEditAndDismissed) {
    ASSERT_EQ(cli({"contacts", "add", "--name", "周八", "--company", "新公司"}).exitCode, 0);
    ASSERT_EQ(cli({"contacts", "add", "--name", "王五"}).exitCode, 0);
    Clash(OPER_CONTACT, 1, "company", "别家");
    Clash(OPER_CONTACT, 2, "state", "1");
    Clash(OPER_REMINDER, 3, "message", "早到");

    const Json::Value listed = cliJson({"conflicts"});
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0]["field"].asString(), "company");
    EXPECT_EQ(listed[0]["other"].asString(), "别家");
    EXPECT_EQ(listed[0]["row_id"].asInt(), 1);
    EXPECT_EQ(listed[1]["field"].asString(), "deleted");
    EXPECT_EQ(listed[1]["other"].asString(), "deleted on another device");
    EXPECT_EQ(cliJson({"status"})[0]["conflicts"].asInt(), 3);
    const int pendingBefore = cliJson({"status"})[0]["pending"].asInt();

    // Adopting is an edit like any other: stored, logged for the next sync, closed.
    ASSERT_EQ(cli({"conflicts", "adopt", listed[0]["id"].asString()}).exitCode, 0);
    const Json::Value card = cliJson({"contacts", "show", "1"});
    EXPECT_EQ(card[0]["company"].asString(), "别家");
    EXPECT_EQ(card[0]["name"].asString(), "周八");
    // A delete against an edit, adopted, deletes the record.
    ASSERT_EQ(cli({"conflicts", "adopt", listed[1]["id"].asString()}).exitCode, 0);
    EXPECT_EQ(cli({"contacts", "show", "2"}).exitCode, 2);
    EXPECT_EQ(cliJson({"status"})[0]["pending"].asInt(), pendingBefore);  // the adds' entries carry the edits

    // No editor shows reminders: their conflicts are only dismissed.
    const std::string reminder = listed[2]["id"].asString();
    EXPECT_EQ(cli({"conflicts", "adopt", reminder}).exitCode, 1);
    ASSERT_EQ(cli({"conflicts", "dismiss", reminder}).exitCode, 0);
    EXPECT_EQ(cliJson({"conflicts"}).size(), 0u);
    EXPECT_EQ(cliJson({"status"})[0]["conflicts"].asInt(), 0);
    for (const std::string& verb : {"adopt", "dismiss"}) {
        EXPECT_EQ(cli({"conflicts", verb, reminder}).exitCode, 2) << verb;
        EXPECT_EQ(cli({"conflicts", verb, "x"}).exitCode, 1) << verb;
    }
}

}  // namespace
}  // namespace kivtal::test
