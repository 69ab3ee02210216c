// contacts import and export through the real program.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/CliFixture.h"
#include "support/FileBytes.h"

namespace kivtal::test {
namespace {

class CliTransferTest : public CliFixture {
protected:
    void SetUp() override { seedAccount(); }

    std::string write(const std::string& name, const std::string& text) {
        const std::string path = dir_.file(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

const char* kTwoCards =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:张三\r\nTEL;TYPE=CELL:13800138000\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nEMAIL:anna@x.org\r\nEND:VCARD\r\n";

TEST_F(CliTransferTest, ImportSeveralFilesReportsEachBadCardWithItsLine) {
    const std::string good = write("good.vcf", kTwoCards);
    const std::string bad =
        write("bad.vcf", "BEGIN:VCARD\nVERSION:2.1\nFN;ENCODING=QUOTED-PRINTABLE:=Z1\nEND:VCARD\nBEGIN:VCARD\nFN:C\n");
    const CliResult r = cli({"contacts", "import", good, bad});
    EXPECT_EQ(r.exitCode, 6) << "some cards could not be read";
    EXPECT_EQ(r.out, "added 2, merged 0, skipped 0, failed 2\n");
    EXPECT_NE(r.err.find(bad + ":3: invalid quoted-printable in FN"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(bad + ":5: no END:VCARD"), std::string::npos) << r.err;
    EXPECT_EQ(cliJson({"contacts", "list"}).size(), 2u);
    EXPECT_EQ(pendingEntries().size(), 2u);

    const CliResult again = cli({"contacts", "import", good});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "added 0, merged 2, skipped 0, failed 0\n");
}

TEST_F(CliTransferTest, DryRunStandardInputAndGroup) {
    runner_.setStdin(write("in.vcf", kTwoCards));
    const CliResult dry = cli({"contacts", "import", "-", "--dry-run"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(dry.out, "added 2, merged 0, skipped 0, failed 0\n");
    EXPECT_EQ(cliJson({"contacts", "list"}).size(), 0u);

    EXPECT_EQ(cli({"contacts", "import", "-", "--group", "9"}).exitCode, 2);
    const Json::Value group = cliJson({"groups", "add", "来自手机"});
    const std::string id = std::to_string(group[0]["id"].asInt());
    ASSERT_EQ(cli({"contacts", "import", "-", "--group", id}).exitCode, 0);
    EXPECT_EQ(cliJson({"contacts", "list", "--group", id}).size(), 2u);

    const CliResult missing = cli({"contacts", "import", dir_.file("nope.vcf")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
    EXPECT_EQ(cli({"contacts", "import"}).exitCode, 1) << "at least one file";
}

TEST_F(CliTransferTest, ExportFormats) {
    ASSERT_EQ(cli({"contacts", "import", write("in.vcf", kTwoCards)}).exitCode, 0);
    struct Case {
        std::vector<std::string> options;
        std::string mustStart;
        std::string mustHold;
    };
    const Case cases[] = {
        {{}, "BEGIN:VCARD\r\nVERSION:3.0\r\n", "FN:张三\r\n"},
        {{"--vcard", "4.0"}, "BEGIN:VCARD\r\nVERSION:4.0\r\n", "TEL;TYPE=cell:13800138000\r\n"},
        {{"--csv"}, "\xEF\xBB\xBFName,Company,", "\r\nAnna,,,,,,,anna@x.org,"},
    };
    for (const Case& c : cases) {
        const std::string path = dir_.file("out.txt");
        std::vector<std::string> args{"contacts", "export"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(path);
        const CliResult r = cli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "exported 2 contacts\n");
        const std::string text = FileBytes(path);
        EXPECT_TRUE(text.starts_with(c.mustStart)) << text;
        EXPECT_NE(text.find(c.mustHold), std::string::npos) << text;
    }
    const CliResult toStdout = cli({"contacts", "export", "-"});
    EXPECT_EQ(toStdout.exitCode, 0);
    EXPECT_TRUE(toStdout.out.starts_with("BEGIN:VCARD\r\nVERSION:3.0\r\n"));
    EXPECT_NE(toStdout.out.find("FN:Anna\r\n"), std::string::npos);

    EXPECT_EQ(cli({"contacts", "export", "--vcard", "2.1", "-"}).exitCode, 1);
    EXPECT_EQ(cli({"contacts", "export", "--vcard", "3.0", "--csv", "-"}).exitCode, 1);
    EXPECT_EQ(cli({"contacts", "export", "--group", "7", "-"}).exitCode, 2);
    const CliResult unwritable = cli({"contacts", "export", dir_.file("no/such/folder.vcf")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace kivtal::test
