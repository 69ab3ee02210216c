#include "text/NamePinyin.h"

#include <cctype>
#include <exception>

#include "text/ChsToPinyin.h"
#include "text/TextConv.h"

namespace kivtal {
namespace {

// clang-format off
// U+00C0..U+017F by their base letters; '*' keeps the character (× and ÷).
constexpr std::string_view kLatinBase =
    "AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTsaaaaaaaceeeeiiiidnooooo*ouuuuyty"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
// clang-format on

constexpr char32_t kLatinFirst = 0xC0;

// Decodes the UTF-8 character at i (well-formed input, as the store holds), moving i.
char32_t NextChar(std::string_view text, std::size_t& i) {
    const unsigned char lead = static_cast<unsigned char>(text[i++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (; extra > 0 && i < text.size(); --extra) c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    return c;
}

bool IsCombiningMark(char32_t c) { return c >= 0x300 && c <= 0x36F; }

// Accented Latin letters as their base letters, combining accents dropped.
std::string FoldLatin(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t start = i;
        const char32_t c = NextChar(name, i);
        if (IsCombiningMark(c)) continue;
        if (c >= kLatinFirst && c < kLatinFirst + kLatinBase.size() && kLatinBase[c - kLatinFirst] != '*')
            out += kLatinBase[c - kLatinFirst];
        else out.append(name.substr(start, i - start));
    }
    return out;
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

bool MatchFrom(const std::vector<std::string>& syllables, std::size_t s, std::string_view term) {
    if (term.empty()) return true;
    if (s == syllables.size()) return false;
    const std::string& syllable = syllables[s];
    for (std::size_t n = std::min(term.size(), syllable.size()); n > 0; --n) {
        bool same = true;
        for (std::size_t k = 0; k < n && same; ++k)
            same = std::tolower(static_cast<unsigned char>(term[k])) ==
                   std::tolower(static_cast<unsigned char>(syllable[k]));
        if (same && MatchFrom(syllables, s + 1, term.substr(n))) return true;
    }
    return false;
}

}  // namespace

std::string NamePinyin(std::string_view name) {
    try {
        return AnsiToUtf8(ChsToPinyin::Instance().ToPinyin(Utf8ToAnsi(FoldLatin(name))));
    } catch (const std::exception&) {
        return {};
    }
}

std::vector<std::string> PinyinSyllables(std::string_view name, std::string_view storedPinyin) {
    const std::string folded = FoldLatin(name);
    std::vector<std::string> pieces;
    std::size_t at = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < folded.size();) {
        const std::size_t start = i;
        NextChar(folded, i);
        // Each character takes as much of the stored pinyin as it converts to alone.
        const std::size_t length = NamePinyin(folded.substr(start, i - start)).size();
        if (at + length > storedPinyin.size()) return {std::string(storedPinyin)};
        const std::string_view part = storedPinyin.substr(at, length);
        at += length;
        const bool word = part.size() == 1 && IsWordChar(part[0]) && i - start == 1;
        if (word && inWord) pieces.back() += part;
        else if (word || (!part.empty() && IsWordChar(part[0]))) pieces.emplace_back(part);
        inWord = word;
    }
    if (at != storedPinyin.size()) return {std::string(storedPinyin)};
    return pieces;
}

bool PinyinMatches(const std::vector<std::string>& syllables, std::string_view term) {
    if (term.empty()) return false;
    for (char c : term)
        if (!std::isalpha(static_cast<unsigned char>(c))) return false;
    for (std::size_t s = 0; s < syllables.size(); ++s)
        if (MatchFrom(syllables, s, term)) return true;
    return false;
}

}  // namespace kivtal
