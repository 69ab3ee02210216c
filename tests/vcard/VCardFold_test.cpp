// Folding of written lines: at most 75 octets, never inside a character, and reading
// the folds back gives the line again.
#include <gtest/gtest.h>

#include <string>

#include "vcard/ContactToVCard.h"
#include "vcard/VCardText.h"

namespace kivtal::test {
namespace {

std::string Repeat(const std::string& piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
}

TEST(VCardFold, LinesStayWithin75OctetsAndUnfoldToTheOriginal) {
    struct Case {
        const char* what;
        std::string line;
        bool utf8;
    };
    const Case cases[] = {
        {"short", "FN:Anna", true},
        {"exactly 75", "NOTE:" + std::string(70, 'a'), true},
        {"ASCII", "NOTE:" + std::string(300, 'a'), true},
        {"three-byte characters", "NOTE:" + Repeat("中", 120), true},
        {"four-byte characters after an odd prefix", "NOTE:ab" + Repeat("\xF0\x9F\x98\x80", 60), true},
        {"stray continuation bytes", "NOTE:" + std::string(200, '\x80'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out;
        vcard::AppendFolded(out, c.line);
        std::string unfolded;
        std::size_t start = 0;
        while (start < out.size()) {
            const std::size_t end = out.find("\r\n", start);
            ASSERT_NE(end, std::string::npos);
            const std::string physical = out.substr(start, end - start);
            EXPECT_LE(physical.size(), 75u);
            if (c.utf8) {
                EXPECT_TRUE(vcard::IsValidUtf8(physical)) << physical;
            }
            unfolded += start == 0 ? physical : physical.substr(1);
            start = end + 2;
        }
        EXPECT_EQ(unfolded, c.line);
    }
}

}  // namespace
}  // namespace kivtal::test
