#pragma once
// Character-level helpers of the field reader: the shape of a piece of card text.
#include <string>
#include <string_view>

namespace kivtal::cards {

bool IsCjk(char16_t c);
// Chinese characters in the UTF-8 text.
int CountCjk(std::string_view utf8);
// Characters (code points) in the UTF-8 text.
int CountChars(std::string_view utf8);
bool HasDigit(std::string_view text);
bool HasLatinLetter(std::string_view text);
std::string AsciiLower(std::string_view text);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool ContainsNoCase(std::string_view text, std::string_view part);
std::string Trim(std::string_view text);

// The digits of a number field read by the engine, with the letters it takes for
// digits (O o D Q → 0, l I | i ! → 1, Z z → 2, S s → 5, B → 8, G b → 6) turned back,
// when the text is mostly digits already; "+" kept at the front. Everything else
// (spaces, dashes, brackets, dots) is dropped.
std::string NumberDigits(std::string_view text);
// The longest run of digits, spaces, dashes and a leading "+" in the text.
std::string NumberRun(std::string_view text);

}  // namespace kivtal::cards
