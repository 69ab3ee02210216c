#include "cards/CardText.h"

#include <algorithm>
#include <cctype>

#include "text/TextConv.h"

namespace kivtal::cards {
namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

char DigitFor(char c) {
    switch (c) {
        case 'O':
        case 'o':
        case 'D':
        case 'Q': return '0';
        case 'l':
        case 'I':
        case '|':
        case 'i':
        case '!': return '1';
        case 'Z':
        case 'z': return '2';
        case 'S':
        case 's': return '5';
        case 'B': return '8';
        case 'G':
        case 'b': return '6';
        default: return 0;
    }
}

}  // namespace

bool IsCjk(char16_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF); }

int CountCjk(std::string_view utf8) {
    int n = 0;
    for (char16_t c : Utf8ToWide(utf8)) n += IsCjk(c) ? 1 : 0;
    return n;
}

int CountChars(std::string_view utf8) {
    return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return !IsContinuation(c); }));
}

bool HasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool HasLatinLetter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80 && std::isalpha(c); });
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && AsciiLower(text.substr(0, prefix.size())) == AsciiLower(prefix);
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return AsciiLower(text).find(AsciiLower(part)) != std::string::npos;
}

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string NumberDigits(std::string_view text) {
    int digits = 0, slips = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') ++digits;
        else if (DigitFor(c)) ++slips;
    }
    const bool fixSlips = digits >= 4 && slips * 3 <= digits;
    std::string out;
    for (char c : text) {
        if (c == '+' && out.empty()) out += c;
        else if (c >= '0' && c <= '9') out += c;
        else if (fixSlips && DigitFor(c)) out += DigitFor(c);
    }
    return out;
}

std::string NumberRun(std::string_view text) {
    std::string best, run;
    for (char c : text) {
        const bool digit = c >= '0' && c <= '9';
        if (digit || ((c == ' ' || c == '-') && !run.empty()) || (c == '+' && run.empty())) {
            run += c;
        } else {
            run.clear();
        }
        if (run.size() > best.size()) best = run;
    }
    return best;
}

}  // namespace kivtal::cards
