#include "vcard/VCardToContact.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <string_view>

#include "text/TextConv.h"
#include "text/ZeroCharacters.h"
#include "vcard/ContactMerge.h"
#include "vcard/KivtalFields.h"
#include "vcard/PhonePlacement.h"

namespace kivtal::vcard {
namespace {

// Labels that web mail and phones put on every contact; they name no real group.
constexpr std::string_view kSystemCategories[] = {"myContacts", "starred", "Starred in Android"};

struct Decoder {
    CharsetConverter& conv;
    CardProblem problem;  // of the last Decode that failed

    // The value as UTF-8, still escaped. Text with no charset that is not UTF-8 is
    // read as GB18030, which the older Chinese phones write without saying so.
    bool Decode(const VCardProperty& p, std::string& out) {
        const std::string encoding = UpperAscii(p.param("ENCODING"));
        std::string bytes;
        if (encoding == "QUOTED-PRINTABLE") {
            if (!DecodeQuotedPrintable(p.value, bytes)) return Fail(p, "invalid quoted-printable in " + p.name);
        } else if (encoding == "B" || encoding == "BASE64") {
            if (!DecodeBase64(p.value, bytes)) return Fail(p, "invalid base64 in " + p.name);
        } else {
            bytes = p.value;
        }
        const std::string charset = p.param("CHARSET");
        if (!charset.empty() && !EqualsAscii(charset, "UTF-8")) {
            if (!conv.ToUtf8(charset, bytes, out)) return Fail(p, "unknown charset " + charset + " in " + p.name);
            return true;
        }
        if (IsValidUtf8(bytes)) {
            out = std::move(bytes);
            return true;
        }
        return conv.ToUtf8("GB18030", bytes, out);
    }

    bool Fail(const VCardProperty& p, std::string text) {
        problem = {p.line, std::move(text)};
        return false;
    }
};

bool Is21(const RawCard& raw) { return raw.version == "2.1"; }

// A text value: 2.1 escapes only ';', later versions escape '\', ',', ';' and newlines.
std::string TextOf(const RawCard& raw, std::string_view escaped) {
    if (!Is21(raw)) return Unescape(escaped);
    std::string out;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\\' && i + 1 < escaped.size() && escaped[i + 1] == ';') ++i;
        out += escaped[i];
    }
    return out;
}

std::vector<std::string> ComponentsOf(const RawCard& raw, std::string_view escaped, char sep) {
    std::vector<std::string> parts = SplitUnescaped(escaped, sep);
    for (std::string& part : parts) part = TextOf(raw, part);
    return parts;
}

// Chinese, Japanese and Korean names run family name first without a space; accented
// Latin names do not.
bool HasCjk(std::string_view s) {
    const std::u16string wide = Utf8ToWide(s);
    return std::any_of(wide.begin(), wide.end(), [](char16_t c) {
        return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
               (c >= 0xD840 && c <= 0xD87F);  // lead surrogates of the supplementary ideographs
    });
}

std::string JoinNonEmpty(const std::vector<std::string>& parts, std::string_view sep) {
    std::string out;
    for (const std::string& part : parts) {
        const std::string_view t = Trimmed(part);
        if (t.empty()) continue;
        if (!out.empty()) out += sep;
        out += t;
    }
    return out;
}

// N is family;given;additional;prefix;suffix.
std::string NameFromN(const std::vector<std::string>& n) {
    auto at = [&](std::size_t i) { return i < n.size() ? std::string(Trimmed(n[i])) : std::string(); };
    const std::string family = at(0), given = at(1), middle = at(2);
    if (HasCjk(family + given + middle)) return family + middle + given;
    return JoinNonEmpty({given, middle, family}, " ");
}

// Years that stand for "no year": 4.0 leaves the year out ("--0315"), other programs
// write one of these instead.
constexpr int kNoYears[] = {0, 1000, 1604};

struct Birthday {
    std::string date;      // "1980-03-15", or empty
    std::string monthDay;  // "03-15" of a date without a year, or empty
};

// "1980-03-15", "19800315", "1980-03-15T10:00:00Z" give the date; "--0315", "--03-15",
// "1604-03-15" and the other years of kNoYears give only the month and day; anything
// else gives neither.
Birthday BirthdayOf(std::string_view v) {
    v = Trimmed(v);
    const bool noYear = v.starts_with("--");
    std::string digits;
    for (char c : v) {
        if (c == 'T' || c == 't') break;
        if (c >= '0' && c <= '9') digits += c;
        else if (c != '-') return {};
    }
    if (noYear) digits.insert(0, "0000");
    if (digits.size() != 8) return {};
    const int year = std::stoi(digits.substr(0, 4)), month = std::stoi(digits.substr(4, 2)),
              day = std::stoi(digits.substr(6, 2));
    if (month < 1 || month > 12 || day < 1 || day > 31) return {};
    char out[16];
    if (std::find(std::begin(kNoYears), std::end(kNoYears), year) != std::end(kNoYears)) {
        std::snprintf(out, sizeof out, "%02d-%02d", month, day);
        return {{}, out};
    }
    std::snprintf(out, sizeof out, "%04d-%02d-%02d", year, month, day);
    return {out, {}};
}

bool ParseNumber(std::string_view text, int& out) {
    text = Trimmed(text);
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
}

std::string WithoutScheme(std::string_view v, std::string_view scheme) {
    v = Trimmed(v);
    if (v.size() >= scheme.size() && EqualsAscii(v.substr(0, scheme.size()), scheme)) v.remove_prefix(scheme.size());
    return std::string(Trimmed(v));
}

// The address alone of '"Omega" <omega@example.com>' or 'mailto:omega@example.com'.
std::string EmailAddress(std::string_view text) {
    const std::string bare = WithoutScheme(text, "mailto:");
    const std::size_t open = bare.rfind('<');
    const std::size_t close = bare.rfind('>');
    if (open == std::string::npos || close == std::string::npos || close < open) return bare;
    const std::string inside = WithoutScheme(std::string_view(bare).substr(open + 1, close - open - 1), "mailto:");
    return inside.find('@') != std::string::npos ? inside : bare;
}

// Fills the contact from the decoded properties; values the record has no room for
// (a second mobile, a third e-mail) are kept at the end of the comment.
class Mapper {
public:
    Mapper(const RawCard& raw, CardContent& out) : raw_(raw), card_(out.card), category_(out.category) {}

    void Take(const VCardProperty& p, const std::string& value) {
        const std::string text = TextOf(raw_, value);
        const std::string& n = p.name;
        if (n == "FN") Slot(fn_, "Name", std::string(Trimmed(text)));
        else if (n == "N" && nName_.empty()) nName_ = NameFromN(ComponentsOf(raw_, value, ';'));
        else if (n == "ORG") Slot(card_.company_name, "Company", JoinNonEmpty(ComponentsOf(raw_, value, ';'), " "));
        else if (n == "TITLE") Slot(card_.position, "Position", text);
        else if (n == "TEL") Phone(p, text);
        else if (n == "EMAIL") Slot(card_.mail, kMailLabel, EmailAddress(text));
        else if (n == "URL") Slot(card_.web_site, "Web", text);
        else if (n == "ADR") Address(p, JoinNonEmpty(ComponentsOf(raw_, value, ';'), ", "));
        else if (n == "NOTE") Note(text);
        else if (n == "BDAY") TakeBirthday(text);
        else if (n == "CATEGORIES") Categories(ComponentsOf(raw_, value, ','));
        else if (n == "X-QQ") Slot(card_.qq, "QQ", text);
        else if (n == "IMPP") Impp(p, text);
        else if (n == "GENDER") gender_ = text;
        else if (n == kLunarBirthday) lunar_ = std::string(Trimmed(text));
        else if (n == kBankAccount) Bank(ComponentsOf(raw_, value, ';'));
        else Kivtal(n, text);
    }

    void Finish() {
        card_.bc_name = !fn_.empty() ? fn_ : nName_;
        if (card_.bc_name.empty()) card_.bc_name = card_.company_name;
        if (card_.bc_name.empty()) card_.bc_name = card_.mail;
        if (!lunar_.empty()) {
            card_.birthday_type = 2;
            card_.birthday = lunar_;
        } else {
            card_.birthday = birthday_;
        }
        if (!titleSet_ && (EqualsAscii(gender_, "F") || gender_.starts_with("F;"))) card_.title = 2;
        std::vector<std::string> phoneExtras;
        phones_.Place(card_, phoneExtras);
        extras_.insert(extras_.begin(), phoneExtras.begin(), phoneExtras.end());
        card_.bc_comment = note_;
        for (const std::string& extra : extras_) AppendToComment(card_.bc_comment, extra);
    }

private:
    void Slot(std::string& field, std::string_view label, const std::string& value) {
        if (value.empty()) return;
        if (field.empty()) field = value;
        else if (field != value) extras_.push_back(ExtraLine(label, value));
    }

    // Numbers wait for the whole card; another kind of address goes to the comment.
    void Phone(const VCardProperty& p, const std::string& text) {
        const std::string number = WithoutScheme(text, "tel:");
        if (!phones_.Add(p, number)) extras_.push_back(ExtraLine(kPhoneLabel, number));
    }

    // The first note is the comment; later ones follow the first.
    void Note(const std::string& text) {
        if (!noteSet_) note_ = text;
        else if (!text.empty() && text != note_) extras_.push_back(text);
        noteSet_ = true;
    }

    void TakeBirthday(const std::string& text) {
        const Birthday b = BirthdayOf(text);
        if (!b.monthDay.empty()) extras_.push_back("Birthday: " + b.monthDay);
        else if (birthday_.empty()) birthday_ = b.date;
        else if (!b.date.empty() && b.date != birthday_) extras_.push_back("Birthday: " + b.date);
    }

    void Address(const VCardProperty& p, const std::string& text) {
        if (p.hasType("WORK")) Slot(card_.addr_c_detail, "Address", text);
        else if (p.hasType("HOME")) Slot(card_.addr_f_detail, "Address", text);
        else if (card_.addr_c_detail.empty()) card_.addr_c_detail = text;
        else Slot(card_.addr_f_detail, "Address", text);
    }

    void Categories(const std::vector<std::string>& names) {
        if (!category_.empty()) return;
        for (const std::string& name : names) {
            const std::string_view t = Trimmed(name);
            const bool system = std::any_of(std::begin(kSystemCategories), std::end(kSystemCategories),
                                            [&](std::string_view s) { return EqualsAscii(s, t); });
            if (!t.empty() && !system) {
                category_ = std::string(t);
                return;
            }
        }
    }

    void Impp(const VCardProperty& p, const std::string& text) {
        const bool qq = EqualsAscii(p.param("X-SERVICE-TYPE"), "QQ") ||
                        (text.size() > 3 && EqualsAscii(std::string_view(text).substr(0, 3), "qq:"));
        if (!qq) return;
        const std::size_t colon = text.rfind(':');
        Slot(card_.qq, "QQ", colon == std::string::npos ? text : text.substr(colon + 1));
    }

    void Bank(const std::vector<std::string>& parts) {
        UserBankInfo account;
        std::string* fields[] = {&account.bank_name, &account.ubank_branch, &account.ubank_subbranch,
                                 &account.ubank_card, &account.ubank_user};
        for (std::size_t i = 0; i < std::size(fields) && i < parts.size(); ++i) *fields[i] = parts[i];
        card_.bank_accounts.push_back(std::move(account));
    }

    void Kivtal(const std::string& name, const std::string& text) {
        for (const KivtalText& f : kKivtalTexts)
            if (name == f.property) card_.*f.member = text;
        for (const KivtalNumber& f : kKivtalNumbers) {
            int v = 0;
            if (name == f.property && ParseNumber(text, v)) {
                card_.*f.member = v;
                if (f.member == &BusinessCard::title) titleSet_ = true;
            }
        }
    }

    const RawCard& raw_;
    BusinessCard& card_;
    std::string& category_;
    std::string fn_, nName_, note_, birthday_, lunar_, gender_;
    std::vector<std::string> extras_;
    PhonePlacement phones_;
    bool noteSet_ = false;
    bool titleSet_ = false;
};

}  // namespace

bool ContactFromVCard(const RawCard& raw, CharsetConverter& conv, CardContent& out, CardProblem& problem,
                      std::vector<CardProblem>& leftOut) {
    if (!raw.error.empty()) {
        problem = {raw.errorLine, raw.error};
        return false;
    }
    out = CardContent{NewImportedContact(), {}};
    Decoder decoder{conv, {}};
    Mapper mapper(raw, out);
    std::string value;
    for (const VCardProperty& p : raw.properties) {
        if (p.name == "PHOTO" || p.name == "LOGO" || p.name == "SOUND" || p.name == "KEY") continue;
        if (!decoder.Decode(p, value)) {
            leftOut.push_back(decoder.problem);
            continue;
        }
        DropZeroCharacters(value);
        try {
            mapper.Take(p, value);
        } catch (const std::exception& e) {  // a text conversion that failed outright
            leftOut.push_back({p.line, p.name + ": " + e.what()});
        }
    }
    mapper.Finish();
    return true;
}

}  // namespace kivtal::vcard
