// What a script sees when something is wrong: a clear message, a documented exit code,
// and nothing stored.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/CliFixture.h"

namespace kivtal::test {
namespace {

class CliErrorsTest : public CliFixture {};

struct BadInput {
    std::vector<std::string> args;
    int exitCode;
    std::string message;  // part of what standard error must say
};

TEST_F(CliErrorsTest, BadInputFailsClearlyAndStoresNothing) {
    seedAccount();
    ASSERT_EQ(cli({"groups", "add", "g"}).exitCode, 0);
    const std::size_t pendingBefore = pendingEntries().size();
    const std::string sep = "~\xE9\xBA\xA4^";
    const std::vector<BadInput> cases = {
        {{"frobnicate"}, 1, "unknown command 'frobnicate'"},
        {{"contacts", "purge"}, 1, "unknown contacts command 'purge'"},
        {{"contacts", "list", "--colour", "red"}, 1, "unknown option --colour"},
        {{"contacts", "show"}, 1, "usage: kivtal-cli contacts show ID"},
        {{"contacts", "show", "abc"}, 1, "invalid contact id 'abc'"},
        {{"contacts", "show", "99"}, 2, "contact 99 not found"},
        {{"contacts", "delete", "-3"}, 1, "invalid contact id"},
        {{"contacts", "add", "--company", "x"}, 1, "needs a name"},
        {{"contacts", "add", "--name"}, 1, "--name needs a value"},
        {{"contacts", "add", "--name",
          "O\xF0\x9F\x98\x80"
          "Brien"},
         1,
         "invalid --name"},
        {{"contacts", "add", "--name", "100%"}, 1, "invalid --name"},
        {{"contacts", "add", "--name", "a" + sep + "b"}, 1, "invalid --name"},
        {{"contacts", "add", "--name", "a", "--company", "x" + sep + "y"}, 1, "separator"},
        {{"contacts", "add", "--name", "a", "--bank", "B||" + sep + "|1|a"}, 1, "separator"},
        {{"contacts", "add", "--name", "a", "--bank", "only|three|parts"}, 1, "bank|branch|subbranch|card|holder"},
        {{"contacts", "add", "--name", "a", "--mobile", "12345"}, 1, "invalid --mobile"},
        {{"contacts", "add", "--name", "a", "--email", "A@b.c"}, 1, "invalid --email"},
        {{"contacts", "add", "--name", "a", "--group", "42"}, 2, "group 42 not found"},
        {{"contacts", "add", "--name", "a", "--common", "yes"}, 1, "invalid --common"},
        {{"groups", "add", "x" + sep}, 1, "separator"},
        {{"groups", "add", ""}, 1, "needs a name"},
        {{"groups", "rename", "1"}, 1, "usage: kivtal-cli groups rename ID NAME"},
        {{"matters", "add", "--start", "2024-01-01", "--end", "2024-01-02"}, 1, "needs a description"},
        {{"matters", "add", "--description", "d", "--start", "2024-02-30", "--end", "2024-03-01"},
         1,
         "invalid --start"},
        {{"matters", "add", "--description", "d", "--start", "2024-03-02", "--end", "2024-03-01"}, 1, "ends before"},
        {{"matters", "add", "--description", "d" + sep, "--start", "2024-03-01", "--end", "2024-03-01"},
         1,
         "separator"},
        {{"login", "alice"}, 1, "usage: kivtal-cli login NAME PASSWORD"},
        {{"login", "../x", "pw"}, 1, "login name"},
    };
    for (const BadInput& c : cases) {
        const CliResult r = cli(c.args);
        std::string shown;
        for (const std::string& a : c.args) shown += a + " ";
        EXPECT_EQ(r.exitCode, c.exitCode) << shown << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << shown << "\nstderr: " << r.err;
        EXPECT_EQ(r.out, "") << shown;
    }
    EXPECT_EQ(pendingEntries().size(), pendingBefore);
    EXPECT_EQ(cliJson({"contacts", "list"}).size(), 0u);
}

TEST_F(CliErrorsTest, HelpDocumentsTheExitCodes) {
    const CliResult help = cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit codes:"), std::string::npos);
    EXPECT_EQ(cli({}).exitCode, 1) << "no command is a usage error";
}

TEST_F(CliErrorsTest, MissingUserDatabaseIsAStoreFailureAndIsNotCreated) {
    seedAccount(1, /*withUserDb=*/false);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"contacts", "list"}, {"contacts", "add", "--name", "a"}, {"status"}}) {
        const CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 3) << args[0];
        EXPECT_NE(r.err.find("is missing"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(userDbPath()));
}

TEST_F(CliErrorsTest, CorruptUserDatabaseIsAStoreFailureAndStaysUntouched) {
    seedAccount(1, /*withUserDb=*/false);
    const std::string garbage(4096, '\x5a');
    std::ofstream(userDbPath(), std::ios::binary) << garbage;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"contacts", "list"},
                                                 {"contacts", "add", "--name", "a"},
                                                 {"contacts", "show", "1"},
                                                 {"groups", "add", "g"},
                                                 {"matters", "list"},
                                                 {"status"}}) {
        const CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 3) << args[0] << " " << args.back() << ": " << r.err;
    }
    std::ifstream in(userDbPath(), std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, garbage);
}

TEST_F(CliErrorsTest, CommandsWithoutARememberedLoginAskForOne) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"sync"}, {"contacts", "list"}}) {
        const CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 5);
        EXPECT_NE(r.err.find("no remembered login: run 'kivtal-cli login NAME PASSWORD' first"), std::string::npos)
            << r.err;
    }
}

TEST_F(CliErrorsTest, SyncNeedsALoginWithAutomaticLogin) {
    seedAccount(/*autoLogin=*/0);
    const CliResult r = cli({"sync"});
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_NE(r.err.find("does not log in automatically"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kivtal::test
