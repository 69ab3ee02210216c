#include "duplicates/MergeChoices.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <string>

#include "duplicates/DuplicateKeys.h"
#include "duplicates/MergeFields.h"
#include "vcard/ContactMerge.h"

namespace kivtal::duplicates {
namespace {

constexpr std::string BusinessCard::*kPhones[] = {&BusinessCard::cell_phone, &BusinessCard::fix_phone,
                                                  &BusinessCard::home_phone, &BusinessCard::fax};

// A number's key, or the number as written when it is too short for one.
std::string NumberKey(const std::string& number) {
    const std::string key = PhoneKey(number);
    return key.empty() ? number : key;
}

std::string MailKeyOrText(const std::string& mail) {
    const std::string key = MailKey(mail);
    return key.empty() ? mail : key;
}

bool HasLine(const std::string& text, const std::string& line) {
    std::size_t at = 0;
    for (std::size_t end; at <= text.size(); at = end + 1) {
        end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (text.compare(at, end - at, line) == 0) return true;
    }
    return false;
}

// Adds the line unless the comment holds it, and marks the key as kept.
void Keep(BusinessCard& merged, std::set<std::string>& kept, const std::string& key, const std::string& line) {
    if (!kept.insert(key).second) return;
    if (!HasLine(merged.bc_comment, line)) vcard::AppendToComment(merged.bc_comment, line);
}

}  // namespace

std::size_t DefaultKeeper(const BusinessCardList& cards) {
    const auto rank = [](const BusinessCard& c) {
        return std::pair(c.bc_server_id > 0 ? 0 : 1, c.bc_server_id > 0 ? c.bc_server_id : c.bc_id);
    };
    const auto best =
        std::min_element(cards.begin(), cards.end(), [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    return static_cast<std::size_t>(best - cards.begin());
}

std::vector<std::size_t> DefaultChoices(const BusinessCardList& cards, const std::vector<int>& editedAt,
                                        std::size_t keeper) {
    std::vector<std::size_t> newestFirst(cards.size());
    std::iota(newestFirst.begin(), newestFirst.end(), 0);
    std::sort(newestFirst.begin(), newestFirst.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(editedAt[a], cards[a].bc_id) > std::pair(editedAt[b], cards[b].bc_id);
    });
    const std::span<const MergeField> fields = MergeFields();
    std::vector<std::size_t> choices(fields.size(), keeper);
    for (std::size_t f = 0; f < fields.size(); ++f) {
        if (f == GroupFieldIndex()) continue;
        const auto filled = std::find_if(newestFirst.begin(), newestFirst.end(),
                                         [&](std::size_t i) { return !fields[f].text(cards[i]).empty(); });
        if (filled != newestFirst.end()) choices[f] = *filled;
    }
    return choices;
}

BusinessCard MergedContact(const BusinessCardList& cards, std::size_t keeper, const std::vector<std::size_t>& choices) {
    BusinessCard merged = cards[keeper];
    const std::span<const MergeField> fields = MergeFields();
    for (std::size_t f = 0; f < fields.size() && f < choices.size(); ++f) fields[f].copy(cards[choices[f]], merged);

    std::set<std::string> numbers, mails;
    for (auto field : kPhones)
        if (!(merged.*field).empty()) numbers.insert(NumberKey(merged.*field));
    if (!merged.mail.empty()) mails.insert(MailKeyOrText(merged.mail));
    for (const BusinessCard& c : cards)  // numbers first, as the import lists them
        for (auto field : kPhones)
            if (!(c.*field).empty())
                Keep(merged, numbers, NumberKey(c.*field), vcard::ExtraLine(vcard::kPhoneLabel, c.*field));
    for (const BusinessCard& c : cards)
        if (!c.mail.empty()) Keep(merged, mails, MailKeyOrText(c.mail), vcard::ExtraLine(vcard::kMailLabel, c.mail));
    return merged;
}

}  // namespace kivtal::duplicates
