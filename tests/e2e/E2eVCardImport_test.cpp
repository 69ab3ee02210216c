// An address book imported on one device reaches the other through the service, field
// for field.
#include <gtest/gtest.h>

#include <fstream>

#include "e2e/E2eFixture.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace kivtal::e2e {
namespace {

using VCardImport = TwoDeviceTest;

TEST_F(VCardImport, ImportOnOneDeviceArrivesOnTheOther) {
    kivtal::test::TempDir files;
    const std::string input = files.file("phone.vcf");
    std::ofstream(input, std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E5=BC=A0;=E4=B8=89;;;\r\n"
           "TEL;CELL:13800138000\r\nORG:甲公司\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:O'Neil Zoë\r\nEMAIL:zoe@example.ie\r\nCATEGORIES:客户\r\n"
           "X-KIVTAL-LUNAR-BIRTHDAY:1988--4-05\r\nX-KIVTAL-BANK:工商银行;北京;海淀;6222000011112222;Zoë\r\n"
           "NOTE:第一行\\n第二行\r\nEND:VCARD\r\n";
    const CliRun imported = A().run({"contacts", "import", input});
    ASSERT_EQ(imported.exitCode(), 0) << imported.err;
    EXPECT_EQ(imported.out, "added 2, merged 0, skipped 0, failed 0\n");
    A().sync();
    B().sync();

    EXPECT_EQ(B().json({"contacts", "list"}).size(), 2u);
    for (Device* d : {&A(), &B()})
        ASSERT_EQ(d->run({"contacts", "export", files.file(d->uniqueId() + ".vcf")}).exitCode(), 0);
    const std::string onA = kivtal::test::FileBytes(files.file(A().uniqueId() + ".vcf"));
    EXPECT_NE(onA.find("X-KIVTAL-BANK:工商银行;北京;海淀;6222000011112222;Zoë\r\n"), std::string::npos) << onA;
    EXPECT_NE(onA.find("CATEGORIES:客户\r\n"), std::string::npos) << onA;
    EXPECT_EQ(kivtal::test::FileBytes(files.file(B().uniqueId() + ".vcf")), onA);

    // The same file on B merges into what came from A.
    const CliRun again = B().run({"contacts", "import", input});
    EXPECT_EQ(again.out, "added 0, merged 2, skipped 0, failed 0\n");
    A().sync();
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

TEST_F(VCardImport, ZeroCharactersAreDroppedSoTheTextArrivesWhole) {
    kivtal::test::TempDir files;
    const std::string input = files.file("zeros.vcf");
    std::ofstream(input, std::ios::binary) << "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:王五\r\nORG:甲" << '\0' << "公司\r\n"
                                           << "NOTE;ENCODING=QUOTED-PRINTABLE:before=00after\r\nEND:VCARD\r\n";
    const CliRun imported = A().run({"contacts", "import", input});
    ASSERT_EQ(imported.exitCode(), 0) << imported.err;
    A().sync();
    B().sync();

    const Json::Value list = B().json({"contacts", "list"});
    ASSERT_EQ(list.size(), 1u);
    const Json::Value card = B().json({"contacts", "show", std::to_string(list[0]["id"].asInt())});
    ASSERT_EQ(card.size(), 1u);
    EXPECT_EQ(card[0]["company"].asString(), "甲公司");
    EXPECT_EQ(card[0]["comment"].asString(), "beforeafter");
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

}  // namespace
}  // namespace kivtal::e2e
