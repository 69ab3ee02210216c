#include "vcard/PhonePlacement.h"

#include <algorithm>
#include <charconv>

#include "vcard/ContactMerge.h"
#include "vcard/VCardText.h"

namespace kivtal::vcard {
namespace {

bool IsSchemeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
           c == '.';
}

// 3.0 marks the preferred number with TYPE=PREF, 4.0 ranks with PREF=1..100.
int PrefRank(const VCardProperty& p) {
    constexpr int kUnranked = 101;
    if (p.hasType("PREF")) return 1;
    const std::string pref = p.param("PREF");
    int rank = kUnranked;
    const auto [ptr, ec] = std::from_chars(pref.data(), pref.data() + pref.size(), rank);
    return ec == std::errc() && ptr == pref.data() + pref.size() ? rank : kUnranked;
}

}  // namespace

bool HasNonTelScheme(std::string_view text) {
    const std::size_t colon = text.find(':');
    // Two letters at least, so a drive-letter-like "C:" or a number never counts.
    if (colon == std::string_view::npos || colon < 2) return false;
    const std::string_view scheme = text.substr(0, colon);
    const bool letterFirst = (scheme[0] >= 'a' && scheme[0] <= 'z') || (scheme[0] >= 'A' && scheme[0] <= 'Z');
    return letterFirst && std::all_of(scheme.begin(), scheme.end(), IsSchemeChar) && !EqualsAscii(scheme, "tel");
}

bool PhonePlacement::Add(const VCardProperty& p, std::string number) {
    if (HasNonTelScheme(number)) return false;
    if (number.empty()) return true;
    Kind kind = Kind::Untyped;
    if (p.hasType("FAX")) kind = Kind::Fax;
    else if (p.hasType("CELL") || p.hasType("MOBILE") || p.hasType("IPHONE")) kind = Kind::Mobile;
    else if (p.hasType("WORK")) kind = Kind::Office;
    else if (p.hasType("HOME")) kind = Kind::Home;
    numbers_.push_back({std::move(number), kind, PrefRank(p)});
    return true;
}

std::string* PhonePlacement::FieldOf(BusinessCard& card, Kind kind) {
    switch (kind) {
        case Kind::Mobile: return &card.cell_phone;
        case Kind::Office: return &card.fix_phone;
        case Kind::Home: return &card.home_phone;
        case Kind::Fax: return &card.fax;
        case Kind::Untyped: break;
    }
    return nullptr;
}

void PhonePlacement::Place(BusinessCard& card, std::vector<std::string>& extras) {
    std::vector<const Number*> byRank;
    for (const Number& n : numbers_) byRank.push_back(&n);
    std::stable_sort(byRank.begin(), byRank.end(), [](const Number* a, const Number* b) { return a->rank < b->rank; });
    std::vector<const Number*> placed;
    for (const Number* n : byRank) {
        std::string* field = FieldOf(card, n->kind);
        if (field == nullptr || !field->empty()) continue;
        *field = n->text;
        placed.push_back(n);
    }
    for (const Number& n : numbers_) {  // the rest, in file order
        if (std::find(placed.begin(), placed.end(), &n) != placed.end()) continue;
        std::string* free = nullptr;
        if (n.kind != Kind::Fax)
            for (std::string* f : {&card.cell_phone, &card.fix_phone, &card.home_phone})
                if (free == nullptr && f->empty()) free = f;
        if (free != nullptr) *free = n.text;
        else extras.push_back(ExtraLine(kPhoneLabel, n.text));
    }
}

}  // namespace kivtal::vcard
