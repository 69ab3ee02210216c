#include "text/NameChars.h"

#include <cstdio>

#include "model/ValueString.h"
#include "text/TextConv.h"

namespace kivtal {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// clang-format off
// Kept as a table of blocks so a reader can check each against the code charts.
// Characters nothing shows: the message gives their code instead.
constexpr Range kInvisible[] = {
    {0x0000, 0x001F}, {0x007F, 0x009F},   // C0 and C1 controls, DEL
    {0x00AD, 0x00AD},                     // soft hyphen
    {0x200B, 0x200B}, {0x200E, 0x200F},   // zero-width space, direction marks
    {0x2028, 0x202E}, {0x2060, 0x206F},   // line/paragraph separators, embeddings, invisible operators
    {0xD800, 0xDFFF},                     // a surrogate without its partner
    {0xE000, 0xF8FF},                     // private use
    {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF},   // variation selectors (emoji presentation), byte-order mark
    {0xFFF0, 0xFFFF},                     // specials
    {0xE0000, 0xE0FFF},                   // tags, variation selectors supplement
    {0xF0000, 0x10FFFF},                  // supplementary private use
};
// Symbols, pictographs and emoji.
constexpr Range kSymbols[] = {
    {0x00A1, 0x00A9}, {0x00AB, 0x00B6}, {0x00B8, 0x00B9}, {0x00BB, 0x00BF},  // Latin-1 signs, not ª º ·
    {0x00D7, 0x00D7}, {0x00F7, 0x00F7},                                      // × ÷
    {0x2016, 0x2017}, {0x201A, 0x2026}, {0x2030, 0x205E},                    // general punctuation but ‐ ‑ ‒ – — ‘ ’ ‧
    {0x2070, 0x2BFF},   // super/subscripts, currency, letterlike, arrows, maths, shapes, dingbats, emoji
    {0x2E00, 0x2E7F},   // supplemental punctuation
    {0x3001, 0x3004}, {0x3008, 0x303F},  // CJK punctuation but 々 〆 〇
    {0x3200, 0x33FF},   // enclosed and squared CJK
    {0xFE10, 0xFE6F},   // vertical and small forms
    {0x1D000, 0x1D24F}, // musical symbols
    {0x1F000, 0x1FAFF}, // game pieces, enclosed supplements, pictographs, emoticons, transport, emoji
};
// clang-format on

bool In(char32_t c, const Range* begin, const Range* end) {
    for (const Range* r = begin; r != end; ++r)
        if (c >= r->first && c <= r->last) return true;
    return false;
}

template <std::size_t N>
bool In(char32_t c, const Range (&ranges)[N]) {
    return In(c, ranges, ranges + N);
}

// ASCII: letters, digits and the marks names are written with.
bool AsciiAllowed(char32_t c) {
    if ((c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z')) return true;
    return std::u32string_view(U" '-.,()").find(c) != std::u32string_view::npos;
}

// Full-width forms: letters, digits and the same marks; the other signs are refused.
bool FullWidthAllowed(char32_t c) {
    if (c >= 0xFF61) return c <= 0xFFDC && (c < 0xFF61 || c > 0xFF64);  // half-width kana and hangul
    const char32_t ascii = c - 0xFF00 + 0x20;
    return ascii != U' ' && AsciiAllowed(ascii);
}

bool Allowed(char32_t c) {
    if (c < 0x80) return AsciiAllowed(c);
    if (c >= 0xFF01 && c <= 0xFFEF) return FullWidthAllowed(c);
    return !In(c, kInvisible) && !In(c, kSymbols);
}

std::string Shown(char32_t c) {
    if (In(c, kInvisible)) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        return std::string("字符 ") + code;
    }
    std::u16string one;
    if (c > 0xFFFF) {
        one += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        one += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        one += static_cast<char16_t>(c);
    }
    return "“" + WideToUtf8(one) + "”";
}

// The code point at i and its length in UTF-16 units; a lone surrogate stands for itself.
char32_t CodePointAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    const char16_t high = text[i];
    units = 1;
    if (high >= 0xD800 && high <= 0xDBFF && i + 1 < text.size()) {
        const char16_t low = text[i + 1];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            units = 2;
            return 0x10000 + ((char32_t(high) - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return high;
}

}  // namespace

std::optional<RefusedNameChar> FirstRefusedNameChar(std::u16string_view text) {
    // The separator is named whole: its parts alone say nothing to the user.
    const std::u16string separator = Utf8ToWide(kValueSeparator);
    const std::size_t joined = text.find(separator);
    std::size_t units = 1;
    for (std::size_t i = 0; i < text.size(); i += units) {
        if (i == joined) return RefusedNameChar{i, "保留的分隔符“" + std::string(kValueSeparator) + "”"};
        const char32_t c = CodePointAt(text, i, units);
        if (!Allowed(c)) return RefusedNameChar{i, Shown(c)};
    }
    return std::nullopt;
}

}  // namespace kivtal
