#include "text/NamePinyin.h"

#include <gtest/gtest.h>

namespace kivtal {
namespace {

TEST(NamePinyin, AccentedLatinLettersFileUnderTheirBaseLetters) {
    const struct {
        const char* name;
        const char* pinyin;
    } cases[] = {
        {"Émile Dubois", "Emile Dubois"},
        {"Anna Müller", "Anna Muller"},
        {"Łukasz Żak", "Lukasz Zak"},
        {"E\xCC\x81mile", "Emile"},  // a combining accent
        {"张三", "ZHANGSAN"},
        {"12580 客服", "12580 KEFU"},
    };
    for (const auto& c : cases) EXPECT_EQ(NamePinyin(c.name), c.pinyin) << c.name;
}

TEST(NamePinyin, SyllablesFollowTheNamesCharacters) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(PinyinSyllables("程诚", "CHENGCHENG"), (Pieces{"CHENG", "CHENG"}));
    EXPECT_EQ(PinyinSyllables("12580 客服", "12580 KEFU"), (Pieces{"12580", "KE", "FU"}));
    EXPECT_EQ(PinyinSyllables("Émile Dubois", "Emile Dubois"), (Pieces{"Emile", "Dubois"}));
    // Stored by something else: the whole pinyin is one piece.
    EXPECT_EQ(PinyinSyllables("程诚", "CHENG"), (Pieces{"CHENG"}));
}

TEST(NamePinyin, TermsSpellSyllablesByPrefixes) {
    const std::vector<std::string> name{"CHENG", "CHENG"};
    const struct {
        const char* term;
        bool match;
    } cases[] = {
        {"chengcheng", true}, {"cheng", true},        {"cc", true},   {"chengc", true}, {"cch", true}, {"c", true},
        {"g", false},         {"chengchengx", false}, {"ccc", false}, {"", false},      {"c%", false}, {"ch_", false},
    };
    for (const auto& c : cases) EXPECT_EQ(PinyinMatches(name, c.term), c.match) << c.term;
}

}  // namespace
}  // namespace kivtal
