#include "text/ChsToPinyin.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <set>
#include <string>

#include "text/PinyinTables.h"
#include "text/TextConv.h"

namespace kivtal {
namespace {

const ChsToPinyin& Converter() { return ChsToPinyin::Instance(); }

std::string PinyinOfUtf8(const std::string& utf8) { return Converter().ToPinyin(Utf8ToAnsi(utf8)); }

std::string Gb2312Bytes(unsigned code) {
    return {static_cast<char>(code / 100 + 160), static_cast<char>(code % 100 + 160)};
}

bool IsUpperAscii(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < 'A' || c > 'Z') return false;
    }
    return true;
}

const std::string kLUmlaut = "L\xA8\xB9";
const std::string kNUmlaut = "N\xA8\xB5";

// Row D7 (zone 55) ends at position 89; its last five cells hold no character.
bool IsGb2312Character(unsigned code) { return code < 5590 || code > 5594; }

TEST(ChsToPinyinTable, EveryGb2312CharacterConvertsToItsSyllable) {
    int characters = 0;
    std::set<std::string> syllables;
    std::string previousLevel1;
    for (unsigned zone = 16; zone <= 87; ++zone) {
        for (unsigned position = 1; position <= 94; ++position) {
            const unsigned code = zone * 100 + position;
            const std::string pinyin = Converter().ToPinyin(Gb2312Bytes(code));
            SCOPED_TRACE(code);
            ASSERT_EQ(pinyin, Converter().SyllableOf(code));
            if (!IsGb2312Character(code)) {
                EXPECT_EQ(pinyin, "?");
                continue;
            }
            ++characters;
            if (zone <= 55) {
                // Level 1 is ordered by reading, so its syllables never go backwards.
                ASSERT_TRUE(IsUpperAscii(pinyin));
                ASSERT_GE(pinyin, previousLevel1);
                previousLevel1 = pinyin;
            } else {
                const std::string_view entry = pinyin::kLevel2Syllables[code - pinyin::kLevel2FirstCode];
                ASSERT_EQ(pinyin, entry.empty() ? "?" : entry);
                ASSERT_TRUE(IsUpperAscii(pinyin) || pinyin == "?" || pinyin == kLUmlaut || pinyin == kNUmlaut);
            }
            if (pinyin != "?") syllables.insert(pinyin);
        }
    }
    EXPECT_EQ(characters, 6763);
    EXPECT_EQ(syllables.size(), 402u);
    for (const char* levelTwoOnly : {"CEN", "DIA", "M", "N", "NOU"}) {
        EXPECT_EQ(syllables.count(levelTwoOnly), 1u) << levelTwoOnly;
    }
    EXPECT_EQ(previousLevel1, "ZUO");
}

TEST(ChsToPinyinTable, Level2GapSlotsBetweenZonesAreEmpty) {
    for (unsigned code = pinyin::kLevel2FirstCode; code <= pinyin::kLevel2LastCode; ++code) {
        const unsigned position = code % 100;
        if (position >= 1 && position <= 94) continue;
        EXPECT_TRUE(pinyin::kLevel2Syllables[code - pinyin::kLevel2FirstCode].empty()) << code;
    }
}

struct Case {
    const char* input;
    std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.input << '"'; }

class KnownCharacters : public ::testing::TestWithParam<Case> {};

TEST_P(KnownCharacters, GiveTheirSyllable) {
    EXPECT_EQ(PinyinOfUtf8(GetParam().input), GetParam().expected) << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    CommonAndPolyphones, KnownCharacters,
    ::testing::Values(Case{"张", "ZHANG"}, Case{"王", "WANG"}, Case{"李", "LI"}, Case{"刘", "LIU"}, Case{"陈", "CHEN"},
                      // ü is U in level 1.
                      Case{"吕", "LU"}, Case{"女", "NU"}, Case{"略", "LUE"}, Case{"虐", "NUE"},
                      // A polyphone takes the reading it is filed under; surnames get no special reading.
                      Case{"单", "DAN"}, Case{"曾", "ZENG"}, Case{"解", "JIE"}, Case{"查", "CHA"}, Case{"仇", "CHOU"},
                      Case{"朴", "PU"}, Case{"区", "QU"}, Case{"乐", "LE"}, Case{"重", "ZHONG"}, Case{"长", "CHANG"},
                      Case{"沈", "SHEN"},
                      // Run boundaries: the first and last characters of level-1 runs.
                      Case{"啊", "A"}, Case{"阿", "A"}, Case{"埃", "AI"}, Case{"逼", "BI"}, Case{"凑", "COU"},
                      Case{"怠", "DAI"}, Case{"而", "ER"}, Case{"儿", "ER"}, Case{"二", "ER"}, Case{"噶", "GA"},
                      Case{"嘎", "GA"}, Case{"楔", "XIE"}, Case{"谬", "MIU"}, Case{"哦", "O"}, Case{"座", "ZUO"}));

INSTANTIATE_TEST_SUITE_P(
    Level2, KnownCharacters,
    ::testing::Values(Case{"亍", "CHU"}, Case{"丌", "?"}, Case{"兀", "WU"}, Case{"丐", "GAI"}, Case{"廿", "NIAN"},
                      Case{"卅", "SA"}, Case{"丕", "PI"}, Case{"亘", "GEN"}, Case{"丞", "CHENG"}, Case{"鬲", "GE"},
                      Case{"阡", "QIAN"}, Case{"嗯", "N"}, Case{"褚", "CHU"}, Case{"鼾", "HAN"}, Case{"齄", "ZHA"},
                      Case{"茈呲祠鹚糍", "CICICICICI"}, Case{"尬尕尜旮钆", "GAGAGAGAGA"}, Case{"岑", "CEN"},
                      Case{"嗲", "DIA"}, Case{"呒", "M"}, Case{"耨", "NOU"}, Case{"捋", "LU"},
                      Case{"闾榈膂锊稆褛", kLUmlaut + kLUmlaut + kLUmlaut + kLUmlaut + kLUmlaut + kLUmlaut},
                      Case{"恧钕衄", kNUmlaut + kNUmlaut + kNUmlaut},
                      // Bare radicals are components, not names.
                      Case{"丨丿丶亻冫讠阝艹扌氵犭忄宀辶纟钅疒衤", std::string(18, '?')}));

INSTANTIATE_TEST_SUITE_P(Names, KnownCharacters,
                         ::testing::Values(Case{"", ""}, Case{"张三", "ZHANGSAN"}, Case{"李 A", "LI A"},
                                           Case{"Tom李", "TomLI"}, Case{"王1号-b", "WANG1HAO-b"},
                                           Case{"闾丘明", kLUmlaut + "QIUMING"},
                                           // The middle dot of foreign names and full-width letters are GB2312 symbols.
                                           Case{"约翰·史密斯", "YUEHAN?SHIMISI"}, Case{"Ａ", "?"},
                                           // Outside GBK: the conversion to GBK already made it "?".
                                           Case{"王😀", "WANG?"}, Case{"𠀀李", "?LI"}));

// Characters of GBK outside GB2312 (traditional forms among them) have no syllable. Scanning
// them byte by byte would let a trail byte pass as ASCII or as the lead of the next character.
INSTANTIATE_TEST_SUITE_P(GbkBeyondGb2312, KnownCharacters,
                         ::testing::Values(Case{"丂", "?"}, Case{"丄", "?"}, Case{"黃小明", "?XIAOMING"},
                                           Case{"劉德华", "?DEHUA"}, Case{"伆张", "?ZHANG"}, Case{"張三", "?SAN"},
                                           Case{"陳A", "?A"}));

class RawBytes : public ::testing::TestWithParam<Case> {};

TEST_P(RawBytes, ScanAsGbk) { EXPECT_EQ(Converter().ToPinyin(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Malformed, RawBytes,
                         ::testing::Values(Case{"\xD5\xC5\xC8", "ZHANG"},  // lone lead byte at the end is dropped
                                           Case{"\xD5", ""}, Case{"A\x80", "A"},  // 0x80 and 0xFF start no character
                                           Case{"\xFF"
                                                "B",
                                                "B"},
                                           Case{"\x81\x30"
                                                "C",
                                                "0C"},  // no GBK trail: the lead alone is dropped
                                           Case{"\x81\x7F"
                                                "D",
                                                "\x7F"
                                                "D"},
                                           Case{"\xB0\xFF", "?"},  // position 95 addresses no character
                                           Case{"\xA8\x40", "?"},
                                           Case{"\xFE\xFE", "?"}));  // GBK/5 and user-defined areas

struct CodeCase {
    unsigned code;
    const char* expected;
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.code; }

class Codes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(Codes, GiveSyllableOrFallback) {
    EXPECT_EQ(Converter().SyllableOf(GetParam().code), GetParam().expected) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Codes,
                         ::testing::Values(CodeCase{0, "?"}, CodeCase{101, "?"}, CodeCase{1594, "?"},
                                           CodeCase{1601, "A"}, CodeCase{1603, "AI"}, CodeCase{1700, "?"},
                                           CodeCase{1695, "?"}, CodeCase{5582, "ZUO"}, CodeCase{5589, "ZUO"},
                                           CodeCase{5590, "?"}, CodeCase{5600, "?"}, CodeCase{5601, "CHU"},
                                           CodeCase{5602, "?"}, CodeCase{5695, "?"}, CodeCase{8794, "ZHA"},
                                           CodeCase{8795, "?"}, CodeCase{9494, "?"}, CodeCase{UINT_MAX, "?"}));

}  // namespace
}  // namespace kivtal
