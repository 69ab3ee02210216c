#include "vcard/ContactToVCard.h"

#include <iterator>

#include "vcard/KivtalFields.h"

namespace kivtal::vcard {
namespace {

constexpr std::size_t kFoldOctets = 75;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Writes NAME[;params]:value when the value is not empty.
class CardWriter {
public:
    explicit CardWriter(std::string& out) : out_(out) {}

    void Raw(std::string_view nameAndParams, std::string_view escapedValue) {
        if (escapedValue.empty()) return;
        line_.assign(nameAndParams);
        line_ += ':';
        line_ += escapedValue;
        AppendFolded(out_, line_);
    }
    void Text(std::string_view nameAndParams, std::string_view text) { Raw(nameAndParams, EscapeText(text)); }

private:
    std::string& out_;
    std::string line_;
};

// "1980-03-15" in the form each version expects (4.0 takes the basic form).
std::string BirthdayValue(const std::string& birthday, VCardVersion version) {
    if (version == VCardVersion::V30 || birthday.size() != 10 || birthday[4] != '-' || birthday[7] != '-')
        return birthday;
    return birthday.substr(0, 4) + birthday.substr(5, 2) + birthday.substr(8, 2);
}

void AppendCsvCell(std::string& out, std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (!quote) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string EscapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ',' || c == ';') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\\n";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

void AppendFolded(std::string& out, std::string_view line) {
    std::size_t limit = kFoldOctets;
    while (line.size() > limit) {
        // Back to the start of the character; a run of stray continuation bytes (not
        // UTF-8 at all) is cut anywhere rather than looping on it.
        std::size_t cut = limit;
        while (cut > limit - 3 && IsContinuationByte(line[cut])) --cut;
        if (IsContinuationByte(line[cut])) cut = limit;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = kFoldOctets - 1;  // the leading space counts
    }
    out.append(line);
    out += "\r\n";
}

void AppendVCard(std::string& out, const BusinessCard& card, std::string_view groupName, VCardVersion version) {
    const bool v4 = version == VCardVersion::V40;
    CardWriter w(out);
    out += "BEGIN:VCARD\r\n";
    out += v4 ? "VERSION:4.0\r\n" : "VERSION:3.0\r\n";
    w.Text("FN", card.bc_name);
    w.Raw("N", EscapeText(card.bc_name) + ";;;;");
    w.Text("ORG", card.company_name);
    w.Text("TITLE", card.position);
    w.Text(v4 ? "TEL;TYPE=cell" : "TEL;TYPE=CELL", card.cell_phone);
    w.Text(v4 ? "TEL;TYPE=work,voice" : "TEL;TYPE=WORK,VOICE", card.fix_phone);
    w.Text(v4 ? "TEL;TYPE=home,voice" : "TEL;TYPE=HOME,VOICE", card.home_phone);
    w.Text(v4 ? "TEL;TYPE=work,fax" : "TEL;TYPE=WORK,FAX", card.fax);
    w.Text(v4 ? "EMAIL" : "EMAIL;TYPE=INTERNET", card.mail);
    w.Text("URL", card.web_site);
    // The whole address as the street, so that it reads back exactly as it was.
    if (!card.addr_c_detail.empty())
        w.Raw(v4 ? "ADR;TYPE=work" : "ADR;TYPE=WORK", ";;" + EscapeText(card.addr_c_detail) + ";;;;");
    if (!card.addr_f_detail.empty())
        w.Raw(v4 ? "ADR;TYPE=home" : "ADR;TYPE=HOME", ";;" + EscapeText(card.addr_f_detail) + ";;;;");
    if (card.birthday_type == 2) w.Text(kLunarBirthday, card.birthday);
    else w.Text("BDAY", BirthdayValue(card.birthday, version));
    w.Text("NOTE", card.bc_comment);
    w.Text("CATEGORIES", groupName);
    w.Text("X-QQ", card.qq);
    if (!card.qq.empty()) w.Raw("IMPP", "qq:" + EscapeText(card.qq));
    const BusinessCard fresh = NewImportedContact();
    for (const KivtalText& f : kKivtalTexts) w.Text(f.property, card.*f.member);
    for (const KivtalNumber& f : kKivtalNumbers)
        if (card.*f.member != fresh.*f.member) w.Raw(f.property, std::to_string(card.*f.member));
    for (const UserBankInfo& a : card.bank_accounts) {
        if (a.ubank_state != 0) continue;
        w.Raw(kBankAccount, EscapeText(a.bank_name) + ";" + EscapeText(a.ubank_branch) + ";" +
                                EscapeText(a.ubank_subbranch) + ";" + EscapeText(a.ubank_card) + ";" +
                                EscapeText(a.ubank_user));
    }
    out += "END:VCARD\r\n";
}

namespace {

struct CsvColumn {
    const char* header;
    std::string BusinessCard::*member;
};

constexpr CsvColumn kCsvColumns[] = {
    {"Name", &BusinessCard::bc_name},
    {"Company", &BusinessCard::company_name},
    {"Position", &BusinessCard::position},
    {"Mobile", &BusinessCard::cell_phone},
    {"Office phone", &BusinessCard::fix_phone},
    {"Home phone", &BusinessCard::home_phone},
    {"Fax", &BusinessCard::fax},
    {"E-mail", &BusinessCard::mail},
    {"QQ", &BusinessCard::qq},
    {"Web site", &BusinessCard::web_site},
    {"Company address", &BusinessCard::addr_c_detail},
    {"Home address", &BusinessCard::addr_f_detail},
    {"Birthday", &BusinessCard::birthday},
    {"Comment", &BusinessCard::bc_comment},
};

}  // namespace

void AppendCsvHeader(std::string& out) {
    out += "\xEF\xBB\xBF";
    for (const CsvColumn& c : kCsvColumns) {
        out += c.header;
        out += ',';
    }
    out += "Lunar birthday,Group\r\n";
}

void AppendCsvRow(std::string& out, const BusinessCard& card, std::string_view groupName) {
    for (const CsvColumn& c : kCsvColumns) {
        AppendCsvCell(out, card.*c.member);
        out += ',';
    }
    out += card.birthday_type == 2 ? "yes," : ",";
    AppendCsvCell(out, groupName);
    out += "\r\n";
}

}  // namespace kivtal::vcard
