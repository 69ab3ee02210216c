#include "duplicates/DuplicateKeys.h"

#include <algorithm>
#include <vector>

#include "duplicates/MergeFields.h"
#include "vcard/ContactMerge.h"

namespace kivtal::duplicates {
namespace {

constexpr std::size_t kShortestNumber = 7;
constexpr char kFieldEnd = '\x1f';

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// ASCII capitals and the two-byte Latin-1 capitals (U+00C0..U+00DE but the
// multiplication sign) to their small letters; everything else as it is.
std::string FoldLetters(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char& c = reinterpret_cast<unsigned char&>(out[i]);
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        else if (c == 0xC3 && i + 1 < out.size()) {
            unsigned char& next = reinterpret_cast<unsigned char&>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) next = static_cast<unsigned char>(next + 0x20);
            ++i;
        }
    }
    return out;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (!IsSpace(c)) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

std::string Joined(const std::vector<std::string>& words, std::string_view between) {
    std::string out;
    for (const std::string& w : words) {
        if (!out.empty()) out += between;
        out += w;
    }
    return out;
}

}  // namespace

std::string PhoneKey(std::string_view phone) {
    std::string key = vcard::PhoneKey(std::string(phone));
    if (key.starts_with("0086") && key.size() >= 14) key = key.substr(2);
    // A fixed line after the country code: its area code (10 to 12 digits in all) is
    // dialled with a 0 at home. Mobile numbers lost their 86 above already.
    if (key.starts_with("86") && key.size() >= 12 && key.size() <= 13) key = "0" + key.substr(2);
    return key.size() < kShortestNumber ? std::string() : key;
}

std::string MailKey(std::string_view mail) {
    std::string key;
    for (char c : mail)
        if (!IsSpace(c)) key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return key.find('@') == std::string::npos ? std::string() : key;
}

std::string FoldedName(std::string_view name) { return Joined(Words(FoldLetters(name)), " "); }

std::string NameKey(std::string_view name) {
    std::vector<std::string> words = Words(FoldLetters(name));
    std::sort(words.begin(), words.end());
    return Joined(words, " ");
}

std::string PinyinKey(std::string_view pinyin) {
    std::string key;
    for (char c : pinyin) {
        if (c >= 'A' && c <= 'Z') key += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) key += c;
    }
    return key;
}

std::string CompanyKey(std::string_view company) {
    std::string key;
    for (char c : FoldLetters(company))
        if (!IsSpace(c)) key += c;
    return key;
}

std::string ExactKey(const BusinessCard& card) {
    std::string key;
    const std::span<const MergeField> fields = MergeFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i == GroupFieldIndex()) continue;
        key += fields[i].text(card);
        key += kFieldEnd;
    }
    key += std::to_string(card.birthday_type) + kFieldEnd;
    std::vector<std::string> accounts;
    for (const UserBankInfo& a : card.bank_accounts) {
        if (a.ubank_state != 0) continue;
        accounts.push_back(Joined({a.bank_name, a.ubank_branch, a.ubank_subbranch, a.ubank_card, a.ubank_user},
                                  std::string(1, kFieldEnd)));
    }
    std::sort(accounts.begin(), accounts.end());
    return key + Joined(accounts, "\x1e");
}

}  // namespace kivtal::duplicates
