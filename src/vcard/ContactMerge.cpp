#include "vcard/ContactMerge.h"

#include <algorithm>
#include <iterator>

#include "model/RecordFields.h"

namespace kivtal::vcard {
namespace {

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The texts an imported card fills in where the contact has none: every text the user
// edits, but the name (the duplicate key) and the birthday (it goes with its calendar).
bool MergesAsText(const RecordField<BusinessCard>& f) {
    return f.text != nullptr && f.travels() && f.role == FieldRole::kValue && f.text != &BusinessCard::bc_name &&
           f.text != &BusinessCard::birthday;
}

}  // namespace

std::string PhoneKey(const std::string& phone) {
    std::string digits;
    std::copy_if(phone.begin(), phone.end(), std::back_inserter(digits), [](char c) { return c >= '0' && c <= '9'; });
    for (const char* prefix : {"0086", "86"}) {
        const std::string p(prefix);
        if (digits.size() == p.size() + 11 && digits.starts_with(p)) return digits.substr(p.size());
    }
    return digits;
}

std::string ExtraLine(std::string_view label, std::string_view value) {
    return std::string(label) + ": " + std::string(value);
}

void AppendToComment(std::string& comment, std::string_view line) {
    if (!comment.empty()) comment += '\n';
    comment += line;
}

void DuplicateIndex::Add(int bcId, const std::string& name, const std::string& mobile, const std::string& mail) {
    byName_.emplace(name, Entry{bcId, PhoneKey(mobile), LowerAscii(mail)});
}

int DuplicateIndex::Find(const BusinessCard& card) const {
    const std::string phone = PhoneKey(card.cell_phone);
    const std::string mail = LowerAscii(card.mail);
    const auto [first, last] = byName_.equal_range(card.bc_name);
    for (auto it = first; it != last; ++it) {
        const Entry& e = it->second;
        if ((!phone.empty() && e.phone == phone) || (!mail.empty() && e.mail == mail)) return e.bcId;
    }
    return 0;
}

bool MergeInto(BusinessCard& existing, const BusinessCard& card) {
    bool changed = false;
    for (const RecordField<BusinessCard>& f : DescriptionOf<BusinessCard>().fields) {
        if (!MergesAsText(f) || !(existing.*f.text).empty() || (card.*f.text).empty()) continue;
        existing.*f.text = card.*f.text;
        changed = true;
    }
    if (existing.birthday.empty() && !card.birthday.empty()) {
        existing.birthday = card.birthday;
        existing.birthday_type = card.birthday_type;
        changed = true;
    }
    UserBankInfoList added;
    for (const UserBankInfo& a : card.bank_accounts) {
        const auto same = [&](const UserBankInfo& b) { return b.ubank_state == 0 && b.ubank_card == a.ubank_card; };
        if (std::none_of(existing.bank_accounts.begin(), existing.bank_accounts.end(), same) &&
            std::none_of(added.begin(), added.end(), same)) {
            UserBankInfo account = a;
            account.bc_id = existing.bc_id;
            account.bc_server_id = existing.bc_server_id;
            added.push_back(std::move(account));
        }
    }
    changed = changed || !added.empty();
    existing.bank_accounts = std::move(added);
    return changed;
}

}  // namespace kivtal::vcard
