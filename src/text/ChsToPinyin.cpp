#include "text/ChsToPinyin.h"

#include <algorithm>
#include <iterator>

#include "text/PinyinTables.h"

namespace kivtal {

namespace {

constexpr std::string_view kFallbackSyllable = "?";

// The longest syllable ("CHUANG", "SHUANG", "ZHUANG") is six bytes.
constexpr std::size_t kLongestSyllable = 6;

constexpr bool IsGb2312Byte(unsigned char b) { return b >= 0xA1; }
constexpr bool IsGbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
constexpr bool IsGbkTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

constexpr unsigned ZonePositionCode(unsigned char lead, unsigned char trail) {
    return (lead - 160u) * 100u + (trail - 160u);
}

std::string_view Level1Syllable(unsigned code) {
    const auto& runs = pinyin::kLevel1Runs;
    const auto after = std::upper_bound(runs.begin(), runs.end(), code,
                                        [](unsigned c, const pinyin::SyllableRun& run) { return c < run.firstCode; });
    return std::prev(after)->syllable;
}

}  // namespace

ChsToPinyin::~ChsToPinyin() = default;

const ChsToPinyin& ChsToPinyin::Instance() {
    static const ChsToPinyin instance;
    return instance;
}

std::string_view ChsToPinyin::SyllableOf(unsigned code) const {
    // Positions 00 and 95-99 address no character, whichever zone they fall in.
    const unsigned position = code % 100;
    if (position < 1 || position > 94) return kFallbackSyllable;
    if (code >= pinyin::kLevel2FirstCode && code <= pinyin::kLevel2LastCode) {
        const std::string_view s = pinyin::kLevel2Syllables[code - pinyin::kLevel2FirstCode];
        return s.empty() ? kFallbackSyllable : s;
    }
    if (code >= pinyin::kLevel1FirstCode && code <= pinyin::kLevel1LastCode) {
        return Level1Syllable(code);
    }
    return kFallbackSyllable;
}

std::string ChsToPinyin::ToPinyin(std::string_view gbk) const {
    std::string out;
    out.reserve(gbk.size() / 2 * kLongestSyllable + gbk.size() % 2);
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const auto d = i + 1 < gbk.size() ? static_cast<unsigned char>(gbk[i + 1]) : 0;
        if (IsGb2312Byte(c) && IsGb2312Byte(d)) {
            out += SyllableOf(ZonePositionCode(c, d));
            i += 2;
        } else if (IsGbkLead(c) && IsGbkTrail(d)) {
            // A GBK character outside GB2312 is consumed whole: its trail byte may look
            // like ASCII (丄 is 81 41, "A") or like a lead byte, and scanning it alone
            // would file the name under a wrong letter or misread the next character.
            out += kFallbackSyllable;
            i += 2;
        } else {
            ++i;
        }
    }
    return out;
}

}  // namespace kivtal
