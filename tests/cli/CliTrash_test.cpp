// The trash and restore commands through the real program.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"

namespace kivtal::test {
namespace {

class CliTrashTest : public CliFixture {
protected:
    void SetUp() override { seedAccount(); }
};

TEST_F(CliTrashTest, DeletedContactsAreListedAndRestoredWithTheirAccounts) {
    const std::string a = addedId({"contacts", "add", "--name", "a", "--company", "Acme", "--bank", "B|||1|a"});
    const std::string b = addedId({"contacts", "add", "--name", "b"});
    EXPECT_EQ(cliJson({"contacts", "trash"}).size(), 0u);
    ASSERT_EQ(cli({"contacts", "delete", a}).exitCode, 0);
    ASSERT_EQ(cli({"contacts", "delete", b}).exitCode, 0);

    const Json::Value trash = cliJson({"contacts", "trash"});
    ASSERT_EQ(trash.size(), 2u);
    EXPECT_EQ(trash[1]["name"].asString(), "a");
    EXPECT_EQ(trash[1]["company"].asString(), "Acme");
    EXPECT_GT(trash[1]["deleted_at"].asInt(), 0);
    EXPECT_FALSE(trash[1]["deleted"].asString().empty());
    const CliResult tabs = cli({"contacts", "trash"});
    EXPECT_EQ(tabs.out.substr(0, tabs.out.find('\n')), "id\tname\tcompany\tdeleted");

    // Usage and unknown ids fail and restore nothing.
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    for (const Case& k : {Case{{"contacts", "restore"}, 1}, Case{{"contacts", "restore", a, "x"}, 1},
                          Case{{"contacts", "restore", a, "99"}, 2}}) {
        EXPECT_EQ(cli(k.args).exitCode, k.exitCode) << k.args.size();
        EXPECT_EQ(cliJson({"contacts", "trash"}).size(), 2u);
    }

    ASSERT_EQ(cli({"contacts", "restore", a, b}).exitCode, 0);
    EXPECT_EQ(cliJson({"contacts", "trash"}).size(), 0u);
    const Json::Value shown = cliJson({"contacts", "show", a});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]["company"].asString(), "Acme");
    EXPECT_EQ(shown[0]["banks"].size(), 1u);
    EXPECT_EQ(cli({"contacts", "restore", a}).exitCode, 2) << "already live";
}

TEST_F(CliTrashTest, DeletedMattersAreListedAndRestored) {
    const std::string m =
        addedId({"matters", "add", "--description", "visit", "--start", "2024-03-01", "--end", "2024-03-02"});
    ASSERT_EQ(cli({"matters", "delete", m}).exitCode, 0);
    const Json::Value trash = cliJson({"matters", "trash"});
    ASSERT_EQ(trash.size(), 1u);
    EXPECT_EQ(trash[0]["description"].asString(), "visit");

    ASSERT_EQ(cli({"matters", "restore", m}).exitCode, 0);
    EXPECT_EQ(cliJson({"matters", "trash"}).size(), 0u);
    EXPECT_EQ(cliJson({"matters", "list", "--at", "2024-03-01 12:00"}).size(), 1u);
}

}  // namespace
}  // namespace kivtal::test
