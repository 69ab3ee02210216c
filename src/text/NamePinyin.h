#pragma once
// The name pinyin every contact stores (the list's order, its letter bar) and the
// search of names by pinyin through it.
#include <string>
#include <string_view>
#include <vector>

namespace kivtal {

// The name pinyin of a UTF-8 name: its Chinese characters as capital syllables (see
// ChsToPinyin.h), Latin letters with accents as their base letters (Émile files under
// E), the rest as the converter leaves it. Empty when the name cannot be converted.
std::string NamePinyin(std::string_view name);

// The stored pinyin cut into one piece per Chinese character and one per run of
// ASCII letters and digits, as the name's characters cut it; spaces and marks fall
// out. A pinyin that does not line up with the name (stored by another version) is
// one piece.
std::vector<std::string> PinyinSyllables(std::string_view name, std::string_view storedPinyin);

// Whether term (ASCII letters, any case) spells consecutive syllables from any one on,
// each by a non-empty prefix of it: full pinyin ("chengcheng"), its prefixes
// ("cheng", "chengch"), initials ("cc") and their mixtures ("chengc") all match 程诚.
// A term with anything but letters matches nothing.
bool PinyinMatches(const std::vector<std::string>& syllables, std::string_view term);

}  // namespace kivtal
