#pragma once
// The duplicate rules of an import: which live contact a card repeats, and what of the
// card goes into it.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/Records.h"

namespace kivtal::vcard {

// Live contacts by name, with their mobile and e-mail in comparable form.
class DuplicateIndex {
public:
    void Add(int bcId, const std::string& name, const std::string& mobile, const std::string& mail);
    // The bc_id of a contact with the card's name and its mobile or e-mail, or 0.
    int Find(const BusinessCard& card) const;

private:
    struct Entry {
        int bcId;
        std::string phone;
        std::string mail;
    };
    std::unordered_multimap<std::string, Entry> byName_;
};

// Digits only, without a leading 86 / 0086 before an 11-digit mobile number.
std::string PhoneKey(const std::string& phone);

// A value the contact has no field left for is kept in the comment as a line of its
// own, "<label>: <value>" ("Tel: 010-1234", "E-mail: a@b.cn").
inline constexpr std::string_view kPhoneLabel = "Tel";
inline constexpr std::string_view kMailLabel = "E-mail";
std::string ExtraLine(std::string_view label, std::string_view value);
// Appends the line to the comment, after a line break unless the comment is empty.
void AppendToComment(std::string& comment, std::string_view line);

// Fills the existing contact's empty fields from the card and leaves in its account
// list only the card's accounts whose number it does not hold yet (ready for
// UpdateContact). True when anything changed.
bool MergeInto(BusinessCard& existing, const BusinessCard& card);

}  // namespace kivtal::vcard
