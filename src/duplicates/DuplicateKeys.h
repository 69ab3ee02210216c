#pragma once
// The comparable forms of the fields by which two contacts are taken for one person.
// Each is empty when the field gives no usable key, and an empty key never matches.
#include <string>
#include <string_view>

#include "model/Records.h"

namespace kivtal::duplicates {

// The number as the import compares it (digits only, a country code 86 / 0086 before a
// mobile number dropped), with a country code before a fixed line written the way the
// line is dialled at home ("+86 10 6552 8888" as "01065528888"). Shorter than seven
// digits: empty, since extensions and service numbers are shared by many people.
std::string PhoneKey(std::string_view phone);

// The address with ASCII letters folded to lower case and the spaces around it gone.
std::string MailKey(std::string_view mail);

// Letters folded (ASCII and the accented Latin capitals), runs of spaces as one, the
// ends trimmed: "anna müller".
std::string FoldedName(std::string_view name);

// FoldedName with its words in sorted order, so a Latin name written family name first
// gives the same key as the given name first: "anna müller" for "Müller Anna".
std::string NameKey(std::string_view name);

// The stored name pinyin's letters in lower case and its digits, without spaces or marks.
std::string PinyinKey(std::string_view pinyin);

// The company folded, its spaces dropped.
std::string CompanyKey(std::string_view company);

// Every field a person writes (texts, numbers, birthday, live bank accounts), none of
// the store's own (ids, state, pinyin, group, the common flag): equal for two contacts
// that are the same card stored twice.
std::string ExactKey(const BusinessCard& card);

}  // namespace kivtal::duplicates
