// contacts import and export through the real program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
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
    EXPECT_EQ(r.out, "added 2, merged 0, skipped 0, failed 2 (1 property left out)\n");
    EXPECT_NE(r.err.find(bad + ":3: invalid quoted-printable in FN"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(bad + ":1: the card's name, company or e-mail could not be read"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(bad + ":5: no END:VCARD"), std::string::npos) << r.err;
    EXPECT_EQ(cliJson({"contacts", "list"}).size(), 2u);
    EXPECT_EQ(pendingEntries().size(), 2u);

    const CliResult again = cli({"contacts", "import", good});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "added 0, merged 2, skipped 0, failed 0\n");
}

TEST_F(CliTransferTest, AnUnreadablePropertyCostsOnlyItselfAndNotesStayBounded) {
    const std::string minor = write("minor.vcf",
                                    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Wang\r\nLABEL;CHARSET=X-NO-SUCH:x\r\n"
                                    "TEL;CELL:139\r\nEND:VCARD.\r\n");
    const CliResult r = cli({"contacts", "import", minor});
    EXPECT_EQ(r.exitCode, 6) << "a property was left out";
    EXPECT_EQ(r.out, "added 1, merged 0, skipped 0, failed 0 (1 property left out)\n");
    EXPECT_EQ(r.err, minor + ":4: unknown charset X-NO-SUCH in LABEL; left out\n");
    const Json::Value list = cliJson({"contacts", "list"});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["mobile"].asString(), "139");

    std::string bare;
    for (int i = 0; i < 250; ++i) bare += "BEGIN:VCARD\n";
    const CliResult many = cli({"contacts", "import", write("bare.vcf", bare)});
    EXPECT_EQ(many.exitCode, 6);
    EXPECT_EQ(many.out, "added 0, merged 0, skipped 0, failed 250\n");
    EXPECT_EQ(std::count(many.err.begin(), many.err.end(), '\n'), 101) << "a hundred notes and the count";
    EXPECT_TRUE(many.err.ends_with("... and 150 more like these\n")) << many.err;
}

TEST_F(CliTransferTest, ShowPrintsTheBirthday) {
    ASSERT_EQ(cli({"contacts", "import",
                   write("b.vcf",
                         "BEGIN:VCARD\nVERSION:3.0\nFN:A\nBDAY:1980-03-15\nEND:VCARD\n"
                         "BEGIN:VCARD\nVERSION:3.0\nFN:B\nBDAY:--0704\nEND:VCARD\n"
                         "BEGIN:VCARD\nVERSION:3.0\nFN:C\nX-KIVTAL-LUNAR-BIRTHDAY:1990-08-15\nEND:VCARD\n")})
                  .exitCode,
              0);
    const std::pair<const char*, std::array<const char*, 3>> cases[] = {
        {"A", {"1980-03-15", "solar", ""}},
        {"B", {"", "", "Birthday: 07-04"}},
        {"C", {"1990-08-15", "lunar", ""}},
    };
    for (const Json::Value& c : cliJson({"contacts", "list"})) {
        const Json::Value shown = cliJson({"contacts", "show", std::to_string(c["id"].asInt())})[0];
        for (const auto& [name, want] : cases) {
            if (shown["name"].asString() != name) continue;
            SCOPED_TRACE(name);
            EXPECT_EQ(shown["birthday"].asString(), want[0]);
            EXPECT_EQ(shown["birthday_calendar"].asString(), want[1]);
            EXPECT_EQ(shown["comment"].asString(), want[2]);
        }
    }
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
}

// What the export path names: only a regular file is ever replaced; a link is followed,
// a FIFO or a character device written through, anything else refused.
TEST_F(CliTransferTest, ExportNeverReplacesWhatIsNotARegularFile) {
    ASSERT_EQ(cli({"contacts", "import", write("in.vcf", kTwoCards)}).exitCode, 0);
    namespace fs = std::filesystem;
    const std::string target = write("target.vcf", "old");
    const std::string link = dir_.file("link.vcf");
    fs::create_symlink(target, link);
    const std::string dangling = dir_.file("dangling.vcf");
    fs::create_symlink(dir_.file("missing.vcf"), dangling);
    const std::string fifo = dir_.file("pipe.vcf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int fifoReader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);  // lets the export open it at once
    ASSERT_GE(fifoReader, 0);
    // A copy of /dev/full's node, so that a fault replaces nothing outside the scratch folder.
    const std::string full = dir_.file("full");
    const bool haveDevice = ::mknod(full.c_str(), S_IFCHR | 0600, makedev(1, 7)) == 0;
    struct Case {
        std::string path;
        int exitCode;
        const char* message;
        fs::file_type typeAfter;
    };
    std::vector<Case> cases = {
        {link, 0, "", fs::file_type::symlink},
        {fifo, 0, "", fs::file_type::fifo},
        {dangling, 3, "symbolic link to nothing", fs::file_type::symlink},
        {dir_.path(), 3, "directory", fs::file_type::directory},
        {dir_.file("no/such/folder.vcf"), 3, "No such file", fs::file_type::not_found},
    };
    if (haveDevice) cases.push_back({full, 3, "No space left", fs::file_type::character});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const CliResult r = cli({"contacts", "export", c.path});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(fs::symlink_status(c.path).type(), c.typeAfter);
    }
    EXPECT_TRUE(FileBytes(target).starts_with("BEGIN:VCARD\r\n")) << "written at the link's target";
    std::string piped(4096, '\0');
    const ssize_t got = ::read(fifoReader, piped.data(), piped.size());
    ::close(fifoReader);
    ASSERT_GT(got, 0);
    EXPECT_TRUE(piped.starts_with("BEGIN:VCARD\r\n"));
    EXPECT_FALSE(fs::exists(dir_.file("missing.vcf"))) << "a link to nothing stays one";
    for (const fs::directory_entry& e : fs::directory_iterator(dir_.path()))
        EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << "no scratch file left: " << e.path();
}

}  // namespace
}  // namespace kivtal::test
