// UTF-16 read as UTF-8, and what is broken in it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "vcard/Utf8Input.h"

namespace kivtal::test {
namespace {

std::string ReadAll(const std::string& bytes) {
    std::istringstream in(bytes);
    vcard::Utf8Input input(in);
    std::string out;
    char chunk[7];  // small, so a character is split between reads
    for (std::size_t n; (n = input.Read(chunk, sizeof chunk)) > 0;) out.append(chunk, n);
    return out;
}

TEST(Utf8Input, Utf16IsConvertedAndItsFaultsMarked) {
    const std::string kFffd = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        // bytes in, UTF-8 out
        {std::string("\xFF\xFE"
                     "A\0\x2D\x4E",
                     6),
         "A\xE4\xB8\xAD"},
        {std::string("\xFE\xFF\0A\xD8\x40\xDC\0", 8), "A\xF0\xA0\x80\x80"},
        {std::string("B\0E\0", 4), "BE"},
        {std::string("\0B\0E", 4), "BE"},
        {std::string("\xFF\xFE"
                     "A\0\0\xD8"
                     "B\0",
                     8),
         "A" + kFffd + "B"},
        {std::string("\xFF\xFE"
                     "A\0B",
                     5),
         "A" + kFffd},
        {"BEGIN:VCARD\r\n", "BEGIN:VCARD\r\n"},
        {"", ""},
    };
    for (const auto& [in, want] : cases) {
        SCOPED_TRACE(testing::PrintToString(in));
        EXPECT_EQ(ReadAll(in), want);
    }
}

}  // namespace
}  // namespace kivtal::test
