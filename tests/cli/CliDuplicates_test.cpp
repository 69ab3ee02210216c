// The duplicates and merge commands through the real program.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"

namespace kivtal::test {
namespace {

class CliDuplicatesTest : public CliFixture {
protected:
    void SetUp() override { seedAccount(); }
};

TEST_F(CliDuplicatesTest, GroupsAreListedWithReasonsAndMergedAllOrNothing) {
    const std::string a =
        addedId({"contacts", "add", "--name", "张伟", "--email", "Zhang@Lanhai.cn", "--bank", "B|||1|z"});
    const std::string b =
        addedId({"contacts", "add", "--name", "张 伟", "--email", "zhang@lanhai.cn", "--bank", "C|||2|z"});
    const std::string gone = addedId({"contacts", "add", "--name", "x"});
    ASSERT_EQ(cli({"contacts", "delete", gone}).exitCode, 0);

    const CliResult tabs = cli({"contacts", "duplicates"});
    ASSERT_EQ(tabs.exitCode, 0) << tabs.err;
    EXPECT_EQ(tabs.out, "contacts\treasons\n" + a + "|张伟;" + b + "|张 伟\tmail|zhang@lanhai.cn\n");

    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    for (const Case& k : {Case{{"contacts", "merge", a}, 1}, Case{{"contacts", "merge", a, "x"}, 1},
                          Case{{"contacts", "merge", a, gone}, 2}, Case{{"contacts", "merge", a, a}, 2},
                          Case{{"contacts", "duplicates", "--merge", "now"}, 1}}) {
        EXPECT_EQ(cli(k.args).exitCode, k.exitCode) << k.args.back();
        EXPECT_EQ(cliJson({"contacts", "duplicates"}).size(), 1u) << "nothing merged";
    }

    ASSERT_EQ(cli({"contacts", "merge", b, a}).exitCode, 0);
    EXPECT_EQ(cliJson({"contacts", "duplicates"}).size(), 0u);
    const Json::Value kept = cliJson({"contacts", "show", b});
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0]["banks"].size(), 2u);
    EXPECT_EQ(cliJson({"contacts", "trash"}).size(), 2u);
}

}  // namespace
}  // namespace kivtal::test
