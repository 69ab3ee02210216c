#include "model/ValueString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kivtal {
namespace {

const std::string kSep(kValueSeparator);

TEST(SplitValuesTest, CutsAtEverySeparator) {
    struct Case {
        std::string text;
        std::string sep;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"", kSep, {}},
        {"abc", "", {}},
        {"abc", kSep, {"abc"}},
        {"5" + kSep, kSep, {"5", ""}},
        {kSep, kSep, {"", ""}},
        {kSep + "a", kSep, {"", "a"}},
        {"a" + kSep + kSep + "b", kSep, {"a", "", "b"}},
        {"张三" + kSep + "[pig]" + kSep + "'", kSep, {"张三", "[pig]", "'"}},
        // Halves of the separator are ordinary text next to a whole one.
        {"~\xE9\xBA\xA4" + kSep + "^", kSep, {"~\xE9\xBA\xA4", "^"}},
        {"xabyab", "ab", {"x", "y", ""}},
        {"a,b", ",", {"a", "b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitValues(c.text, c.sep), c.items) << "text: " << c.text;
    }
}

TEST(SplitValuesTest, SeparatorIsTheThreeCharacterMarker) { EXPECT_EQ(kValueSeparator, "~\u9EA4^"); }

}  // namespace
}  // namespace kivtal
