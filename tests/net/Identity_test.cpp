#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <regex>
#include <string>

#include "net/Identity.h"
#include "net/IdentityDisk.h"
#include "net/LoginUser.h"
#include "support/TempDir.h"

namespace kivtal {
namespace {

TEST(Md5Hex, DigestsGbkBytesAsLowerCaseHex) {
    struct Case {
        const char* text;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"jk8ssl", "0000000018e6137ac2caab16074784a6"},  // leading zero bytes keep their digits
        {"中文", "bcce109775e8e1972e9f5fcda3e12895"},    // the GBK bytes D6D0 CEC4, not UTF-8
    };
    for (const Case& c : cases) EXPECT_EQ(md5Hex(c.text), c.digest) << c.text;
}

TEST(Md5Hex, FileDigestCoversTheWholeFile) {
    test::TempDir dir;
    std::string big(200000, 'x');
    big[150000] = '\0';  // a zero byte must not end the digest
    std::ofstream(dir.file("f"), std::ios::binary).write(big.data(), static_cast<std::streamsize>(big.size()));
    EXPECT_EQ(FileMd5Hex(dir.file("f")), Md5HexOfBytes(big));
    EXPECT_EQ(FileMd5Hex(dir.file("missing")), "");
}

TEST(RequestKey, ChainsTheThreeDigestsInOrder) {
    EXPECT_EQ(ComputeKeyText("10086", "BFEBFBFF000906EAWD-ABC", "r4nd"), "879074e3b2191d655d659fef85ef6148");
    // All empty: the three digests are the same text written three times.
    EXPECT_EQ(ComputeKeyText("", "", ""), "ac9c542684f271e7215c00369bbb793e");
}

class LoginUserFixture : public ::testing::Test {
protected:
    void SetUp() override { user.reset(); }
    void TearDown() override { unsetenv("KIVTAL_UNIQUE_ID"); }
    LoginUser user;
};

TEST_F(LoginUserFixture, StartsWithTheDocumentedValues) {
    const LoginUserState s = user.snapshot();
    EXPECT_EQ(s.login_state, 2);
    EXPECT_EQ(s.visitor, 1);
    EXPECT_EQ(s.auto_login, 1);
    EXPECT_EQ(s.login_mode, 0);
    EXPECT_TRUE(s.key.empty() && s.unique_id.empty() && s.user_id.empty());
}

TEST_F(LoginUserFixture, KeyDerivesTheDeviceIdFirstWhenMissing) {
    setenv("KIVTAL_UNIQUE_ID", "BFEBFBFF000906EAWD-ABC", 1);
    user.update([](LoginUserState& s) {
        s.user_id = "10086";
        s.random_key = "r4nd";
    });
    computeKey(user);
    EXPECT_EQ(user.snapshot().unique_id, "BFEBFBFF000906EAWD-ABC");
    EXPECT_EQ(user.snapshot().key, "879074e3b2191d655d659fef85ef6148");
}

TEST_F(LoginUserFixture, DeviceIdWithoutOverrideIsTheMachines) {
    computeUniqueId(user);
    EXPECT_EQ(user.snapshot().unique_id, MachineUniqueId());
    const std::string cpu = ProcessorPart();
    EXPECT_TRUE(cpu.empty() || std::regex_match(cpu, std::regex("[0-9A-F]{16}"))) << cpu;
    EXPECT_EQ(user.snapshot().unique_id.rfind(cpu, 0), 0u);
}

// A field given in reading order, stored the way the drive sends it (words swapped).
std::string Cleaned(std::string readable) {
    std::string raw = readable;
    SwapWordBytes(reinterpret_cast<unsigned char*>(raw.data()), raw.size());
    CleanAtaField(reinterpret_cast<unsigned char*>(raw.data()), raw.size());
    return raw;
}

TEST(AtaFieldCleaning, FollowsTheIssuedIdRules) {
    struct Case {
        std::string readable;
        std::string cleaned;  // the whole field afterwards
    };
    using namespace std::string_literals;
    const Case cases[] = {
        // Four leading spaces keep only four characters after them.
        {"    ABCDEF12345678  ", "ABCD\0F12345678  78\0\0"s},
        {"ABCDEFGHIJ0123456789", "ABCDEFGHIJ0123456789"},
        {"WD-WX12AB34CD       ", "WD-WX12AB34CD"s + std::string(7, '\0')},
        {"          ", std::string(10, '\0')},  // nothing but spaces
        {"  AB", "AB\0B"s},                     // the moved tail keeps its old bytes
    };
    for (const Case& c : cases) EXPECT_EQ(Cleaned(c.readable), c.cleaned) << c.readable;
}

TEST(AtaFieldCleaning, DiskPartRunsToTheFirstZeroByte) {
    IdentifyBlock block{};
    auto put = [&](std::size_t offset, const std::string& readable) {
        std::memcpy(block.data() + offset, readable.data(), readable.size());
        SwapWordBytes(block.data() + offset, readable.size());
    };
    put(kAtaSerialOffset, "    ABCDEF12345678  ");
    put(kAtaModelOffset, ("  SOME MODEL NAME" + std::string(23, ' ')));
    EXPECT_EQ(DiskPartFromIdentify(block), "ABCD");

    // Twenty characters without spaces run on into the bytes that follow the serial.
    put(kAtaSerialOffset, "ABCDEFGHIJ0123456789");
    block[40] = 'x';
    block[41] = 'y';
    EXPECT_EQ(DiskPartFromIdentify(block), "ABCDEFGHIJ0123456789xy");
}

TEST(AtaFieldCleaning, SerialFromSysfsComesOutAsTheDriveWouldGiveIt) {
    EXPECT_EQ(DiskPartFromIdentify(IdentifyFromSerial("S3Z9NB0K123456")), "S3Z9NB0K123456");
    EXPECT_EQ(DiskPartFromIdentify(IdentifyFromSerial("ABCDEFGHIJ0123456789TOO-LONG")), "ABCDEFGHIJ0123456789");
}

}  // namespace
}  // namespace kivtal
