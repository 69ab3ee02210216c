#pragma once
// What a value of each field looks like: number shapes, e-mail and web addresses,
// company suffixes, position words, address words and name shapes.
#include <optional>
#include <string>
#include <string_view>

namespace kivtal::cards {

// 11 digits starting 1[3-9], after dropping a +86 / 86 / 0086 prefix.
std::optional<std::string> MobileNumber(std::string_view text);
// An area code (0 and 2-3 digits) and a 7-8 digit number, with or without +86, as
// "area-number"; the area code is split off by the Chinese numbering plan (3 digits for
// 010 and 02x, 4 otherwise).
std::optional<std::string> Landline(std::string_view text);
// 5-11 digits, not starting 0.
std::optional<std::string> QqNumber(std::string_view text);
// The first address in the text, lower case, spaces dropped.
std::optional<std::string> EmailAddress(std::string_view text);
// A host name starting www. or http(s)://, or any dotted name when `labelled`.
std::optional<std::string> WebAddress(std::string_view text, bool labelled);

// A company name's ending (有限公司, 集团, Co., Ltd., Inc. ...): 0 none, else how sure.
int CompanyScore(std::string_view text);
// A job title's word (经理, 总监, 工程师, CEO, Manager ...): whether the text holds one.
bool HasPositionWord(std::string_view text);
// Where the first position word starts in the text (bytes), npos when none.
std::size_t PositionWordAt(std::string_view text);
// Street, district and building words: how much the text looks like an address, 0-100.
int AddressScore(std::string_view text);
// One of the most common Chinese surnames.
bool IsCommonSurname(char16_t c);
// A person's name: 2-4 Chinese characters, or two or three capitalised Latin words;
// 0 when not, higher for a common surname.
int NameShapeScore(std::string_view text);

}  // namespace kivtal::cards
