// Contacts through the real program: what one command writes, the next one reads.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/CliFixture.h"
#include "model/SyncKinds.h"

namespace kivtal::test {
namespace {

class CliContactsTest : public CliFixture {
protected:
    void SetUp() override { seedAccount(); }

    int addContact(std::vector<std::string> options) {
        options.insert(options.begin(), {"contacts", "add"});
        const Json::Value added = cliJson(options);
        return added.size() == 1 ? added[0]["id"].asInt() : 0;
    }
};

TEST_F(CliContactsTest, AddShowEditDeleteRoundTrip) {
    const int id = addContact({"--name", "张三", "--company", "O'Neil & 100%", "--mobile", "13812345678", "--email",
                               "ab@cd.e", "--bank", "ICBC|Haidian|Zhongguancun|6222000011112222|张三", "--bank",
                               "BOC|||6013000000000001|张三"});
    ASSERT_GT(id, 0);
    const std::string sid = std::to_string(id);

    Json::Value shown = cliJson({"contacts", "show", sid});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]["name"].asString(), "张三");
    EXPECT_EQ(shown[0]["pinyin"].asString(), "ZHANGSAN");
    EXPECT_EQ(shown[0]["company"].asString(), "O'Neil & 100%");
    EXPECT_EQ(shown[0]["mobile"].asString(), "13812345678");
    ASSERT_EQ(shown[0]["banks"].size(), 2u);
    EXPECT_EQ(shown[0]["banks"][0]["branch"].asString(), "Haidian");
    EXPECT_EQ(shown[0]["banks"][1]["card"].asString(), "6013000000000001");
    // The contact and each account carry their own change-log entry.
    EXPECT_EQ(pendingEntries().size(), 3u);

    const std::string firstBank = std::to_string(shown[0]["banks"][0]["id"].asInt());
    const CliResult edited =
        cli({"contacts", "edit", sid, "--name", "李四", "--remove-bank", firstBank, "--bank", "CCB|a|b|6227|李四"});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
    shown = cliJson({"contacts", "show", sid});
    EXPECT_EQ(shown[0]["name"].asString(), "李四");
    EXPECT_EQ(shown[0]["pinyin"].asString(), "LISI");
    EXPECT_EQ(shown[0]["company"].asString(), "O'Neil & 100%") << "fields not given stay as they were";
    ASSERT_EQ(shown[0]["banks"].size(), 2u);
    EXPECT_EQ(shown[0]["banks"][0]["bank"].asString(), "BOC");
    EXPECT_EQ(shown[0]["banks"][1]["bank"].asString(), "CCB");

    ASSERT_EQ(cli({"contacts", "delete", sid}).exitCode, 0);
    EXPECT_EQ(cliJson({"contacts", "list"}).size(), 0u);
    const CliResult gone = cli({"contacts", "show", sid});
    EXPECT_EQ(gone.exitCode, 2);
    EXPECT_NE(gone.err.find("not found"), std::string::npos);
    EXPECT_EQ(cli({"contacts", "delete", sid}).exitCode, 2);
    EXPECT_EQ(cli({"contacts", "edit", sid, "--company", "x"}).exitCode, 2);
}

TEST_F(CliContactsTest, EditLeavesUnchangedAccountsOutOfTheChangeLog) {
    const int id = addContact({"--name", "wang", "--bank", "ICBC|||1|wang"});
    ASSERT_GT(id, 0);
    // Pretend the service acknowledged everything, as a sync run leaves it.
    std::vector<SyncRecord> results;
    for (const SyncRecord& e : pendingEntries())
        results.push_back({0, e.oper_code, 0, e.s_row_id, "", SYNC_DONE, 0, 0, 50});
    {
        LocalStore store({dir_.path(), ""});
        ASSERT_EQ(store.EnsureUserDb(kAccount), 0);
        ASSERT_EQ(ChangeLog(store).ApplyCommitResults(1700000000, results), 0);
    }
    ASSERT_EQ(cli({"contacts", "edit", std::to_string(id), "--company", "ACME"}).exitCode, 0);
    const std::vector<SyncRecord> pending = pendingEntries();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].oper_code, OPER_CONTACT);
}

TEST_F(CliContactsTest, ListOrdersAndFiltersAndSearchFindsLiveContactsOnly) {
    const Json::Value group = cliJson({"groups", "add", "客户"});
    const std::string gid = std::to_string(group[0]["id"].asInt());
    addContact({"--name", "zhang", "--mobile", "13500000001", "--group", gid});
    addContact({"--name", "li", "--company", "Li's Tea"});
    const int gone = addContact({"--name", "libai"});
    ASSERT_EQ(cli({"contacts", "delete", std::to_string(gone)}).exitCode, 0);

    auto names = [&](std::vector<std::string> args) {
        std::vector<std::string> out;
        for (const Json::Value& c : cliJson(std::move(args))) out.push_back(c["name"].asString());
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names({"contacts", "list"}), (V{"li", "zhang"}));
    EXPECT_EQ(names({"contacts", "list", "--desc"}), (V{"zhang", "li"}));
    EXPECT_EQ(names({"contacts", "list", "--by-age"}), (V{"zhang", "li"}));
    EXPECT_EQ(names({"contacts", "list", "--group", gid}), (V{"zhang"}));
    EXPECT_EQ(names({"contacts", "search", "li"}), (V{"li"})) << "a deleted contact is never found";
    EXPECT_EQ(names({"contacts", "search", "'s T"}), (V{"li"}));
    EXPECT_EQ(names({"contacts", "search", "135"}), (V{"zhang"}));
    EXPECT_EQ(names({"contacts", "search", "z%g"}), (V{"zhang"})) << "% is a wildcard of the search";
    EXPECT_EQ(names({"contacts", "search", "nobody"}), V{});
}

TEST_F(CliContactsTest, TabSeparatedOutputKeepsEachRecordOnOneLine) {
    const int id = addContact({"--name", "zhao", "--comment", "line1\nline2\tend\\", "--company", "tea\thouse\\"});
    const CliResult shown = cli({"contacts", "show", std::to_string(id)});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    const std::size_t headerEnd = shown.out.find('\n');
    ASSERT_NE(headerEnd, std::string::npos);
    EXPECT_EQ(shown.out.substr(0, 8), "id\tname\t");
    const std::string record = shown.out.substr(headerEnd + 1);
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 1);
    EXPECT_NE(record.find("line1\\nline2\\tend\\\\"), std::string::npos) << record;

    const CliResult bare = cli({"contacts", "list", "--no-header"});
    EXPECT_EQ(bare.out, std::to_string(id) + "\tzhao\tzhao\ttea\\thouse\\\\\t\t\t0\n");
}

TEST_F(CliContactsTest, JsonKeepsChineseTextUnescaped) {
    addContact({"--name", "王五"});
    const CliResult listed = cli({"contacts", "list", "--json"});
    EXPECT_NE(listed.out.find("\"王五\""), std::string::npos) << listed.out;
    EXPECT_EQ(listed.out.find("\\u"), std::string::npos);
}

}  // namespace
}  // namespace kivtal::test
