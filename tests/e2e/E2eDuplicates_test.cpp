// Duplicates found and merged on one device reach the other through the service: one
// contact per person on both, with every bank account.
#include <gtest/gtest.h>

#include <fstream>

#include "e2e/E2eFixture.h"
#include "support/TempDir.h"

namespace kivtal::e2e {
namespace {

using Duplicates = TwoDeviceTest;

constexpr const char* kFromPhone =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:张;伟;;;\r\nTEL;CELL:+86 138-0013-8000\r\nORG:蓝海科技\r\n"
    "X-KIVTAL-BANK:工商银行;北京;;6222000011112222;张伟\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Müller\r\nEMAIL:Anna@Example.com\r\nORG:Acme\r\nEND:VCARD\r\n";
constexpr const char* kFromMail =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:张伟\r\nTEL;TYPE=WORK:010-6552 8888\r\nTEL:138 0013 8000\r\n"
    "EMAIL:zw@lanhai.cn\r\nX-KIVTAL-BANK:建设银行;上海;;6217000033334444;张伟\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Müller Anna\r\nEMAIL:anna@example.com\r\nTEL;CELL:13900000000\r\n"
    "END:VCARD\r\n";

std::string Write(const kivtal::test::TempDir& dir, const char* name, const char* text) {
    const std::string path = dir.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST_F(Duplicates, PeopleImportedFromTwoFilesMergeIntoOneEachOnBothDevices) {
    kivtal::test::TempDir files;
    ASSERT_EQ(A().run({"contacts", "import", Write(files, "phone.vcf", kFromPhone)}).exitCode(), 0);
    A().sync();
    ASSERT_EQ(B().run({"contacts", "import", Write(files, "mail.vcf", kFromMail)}).exitCode(), 0);
    converge();
    ASSERT_EQ(A().json({"contacts", "list"}).size(), 4u);

    const Json::Value groups = A().json({"contacts", "duplicates"});
    ASSERT_EQ(groups.size(), 2u) << groups.toStyledString();
    for (const Json::Value& g : groups) {
        ASSERT_EQ(g["contacts"].size(), 2u);
        const CliRun merged = A().run({"contacts", "merge", std::to_string(g["contacts"][0]["id"].asInt()),
                                       std::to_string(g["contacts"][1]["id"].asInt())});
        ASSERT_EQ(merged.exitCode(), 0) << merged.err;
    }
    EXPECT_EQ(A().json({"contacts", "duplicates"}).size(), 0u);
    converge();

    const Json::Value onB = B().json({"contacts", "list"});
    ASSERT_EQ(onB.size(), 2u);
    for (const Json::Value& c : onB) {
        if (c["name"].asString().find("伟") == std::string::npos) continue;
        const Json::Value shown = B().json({"contacts", "show", std::to_string(c["id"].asInt())});
        EXPECT_EQ(shown[0]["banks"].size(), 2u) << shown.toStyledString();
    }
    EXPECT_EQ(snapshot(A()), snapshot(B()));
    EXPECT_EQ(B().json({"contacts", "trash"}).size(), 2u) << "restorable on the other device too";
}

// The same file imported on both devices before either synced: every person twice on
// both. Each device merges on its own before the next sync; both keep the same copy.
TEST_F(Duplicates, ExactTwinsMergedOnBothDevicesLeaveOneEach) {
    kivtal::test::TempDir files;
    const std::string file = Write(files, "book.vcf", kFromPhone);
    for (Device* d : {&A(), &B()}) ASSERT_EQ(d->run({"contacts", "import", file}).exitCode(), 0);
    converge();
    ASSERT_EQ(A().json({"contacts", "list"}).size(), 4u);
    ASSERT_EQ(B().json({"contacts", "duplicates", "--exact"}).size(), 2u);

    for (Device* d : {&A(), &B()}) {
        const CliRun merged = d->run({"contacts", "duplicates", "--exact", "--merge"});
        ASSERT_EQ(merged.exitCode(), 0) << merged.err;
        EXPECT_EQ(merged.out, "merged 2\n");
    }
    converge();
    EXPECT_EQ(A().json({"contacts", "list"}).size(), 2u);
    EXPECT_EQ(B().json({"contacts", "list"}).size(), 2u);
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

}  // namespace
}  // namespace kivtal::e2e
