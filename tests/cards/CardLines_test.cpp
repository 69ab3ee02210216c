#include "cards/CardLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kivtal::cards {
namespace {

bool operator==(const PixBox& a, const PixBox& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// A card's marks as boxes: small print 20 px tall, a name 60 px tall at y 100, whose
// surname has no tall stroke of its own (two short parts, one above the other), a
// title set small beside the name and a rule under it.
std::vector<PixBox> NameCard() {
    return {
        {100, 100, 55, 25},                      // the surname's top part
        {100, 136, 55, 24},                      // ... and its bottom part
        {162, 100, 55, 60},                      // the given name
        {224, 102, 50, 58}, {300, 138, 20, 20},  // the title, small, a gap after the name
        {324, 138, 20, 20}, {100, 170, 400, 4},  // a rule: wide and flat
        {100, 300, 18, 20},                      // small print below
        {120, 300, 18, 20}, {0, 0, 1000, 600},   // the card's edge, as tall as the picture
    };
}

TEST(CardLines, TypeRowsTakeInTheWholeNameAndNothingBeside) {
    const std::vector<PixBox> rows = TypeRows(NameCard(), {26, 200});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0] == (PixBox{100, 100, 174, 60}));
}

TEST(CardLines, TypeRowsKeepLinesAtDifferentHeightsApart) {
    std::vector<PixBox> marks = NameCard();
    marks.push_back({100, 200, 40, 40});  // a second large line below the name
    marks.push_back({146, 201, 40, 39});
    std::vector<PixBox> rows = TypeRows(marks, {26, 200});
    ASSERT_EQ(rows.size(), 2u);
    std::sort(rows.begin(), rows.end(), [](const PixBox& a, const PixBox& b) { return a.top < b.top; });
    EXPECT_TRUE(rows[0] == (PixBox{100, 100, 174, 60}));
    EXPECT_TRUE(rows[1] == (PixBox{100, 200, 86, 40}));
    EXPECT_TRUE(TypeRows({{100, 300, 18, 20}, {120, 300, 18, 20}}, {26, 200}).empty()) << "small print only";
}

// Characters whose tops are marks of their own (the grass over 范, the rain over 霞)
// belong to the row; the lines above and below, at a line's spacing, do not.
TEST(CardLines, TypeRowsTakeInTheTopsOfCharacters) {
    const std::vector<PixBox> marks = {
        {104, 40, 30, 30},  {140, 40, 30, 30},   // the company's line above
        {104, 100, 47, 14}, {100, 118, 55, 42},  // a character's top and the rest of it
        {164, 96, 50, 16},  {162, 120, 55, 40},  // another, its top a little higher
        {100, 175, 30, 25}, {134, 175, 30, 25},  // the title below
    };
    const std::vector<PixBox> rows = TypeRows(marks, {35, 200});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0] == (PixBox{100, 96, 117, 64}));
}

// Words side by side on one line at y 100, 30 px tall, 100 px apart.
std::vector<TextLine> Words(const std::vector<std::string>& texts, int top = 100) {
    std::vector<TextLine> words;
    for (std::size_t i = 0; i < texts.size(); ++i)
        words.push_back({texts[i], 40 + 100 * static_cast<int>(i), top, 90, 30});
    return words;
}

TEST(CardLines, AddressLabelFindsTheAddressByItsAtOrItsLabel) {
    struct Case {
        const char* what;
        std::string line;
        std::vector<std::string> words;
        std::optional<std::string> label;
    };
    const Case cases[] = {
        {"an @: the text before the address word", "E-mail: whbo@huaxin.com", {}, "E-mail: "},
        {"the @ read as a letter: found after the label",
         "邮箱 : nhddahuaxin.cn",
         {"邮箱", ":", "nhddahuaxin.cn"},
         "邮箱 : "},
        {"label and address read as one word", "Email:nhddahuaxin.cn", {"Email:nhddahuaxin.cn"}, ""},
        {"a phone number before the label is not the address",
         "Tel: 010-1234567 Email: nhddahuaxin.cn",
         {"Tel:", "010-1234567", "Email:", "nhddahuaxin.cn"},
         "Tel: 010-1234567 Email: "},
        {"no e-mail label and no @", "Web: www.huaxin.cn", {"Web:", "www.huaxin.cn"}, std::nullopt},
        {"a label with nothing after it", "邮箱 :", {"邮箱", ":"}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TextLine> words = Words(c.words);
        const std::vector<TextLine> elsewhere = Words({"nhdd@huaxin.cn"}, 300);  // another line's word
        words.insert(words.begin(), elsewhere.begin(), elsewhere.end());
        const TextLine line{c.line, 30, 95, 100 * static_cast<int>(c.words.size()) + 20, 40, 80};
        EXPECT_EQ(AddressLabel(line, words), c.label);
    }
}

}  // namespace
}  // namespace kivtal::cards
