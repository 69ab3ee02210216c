#include "ContactFields.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "ExitCodes.h"
#include "UserSession.h"
#include "model/RecordFields.h"
#include "model/ValueString.h"
#include "text/Birthdays.h"
#include "text/LunarCalendar.h"
#include "text/FieldRules.h"
#include "text/TextConv.h"

namespace kivtal::cli {

namespace {

// A text option of the contact commands; `field` is its name in the contact's
// description (model/RecordFields.h), which is also its key in the JSON output.
struct TextField {
    const char* option;
    const char* field;
    const char* ruleControl;  // the editor's control whose rule checks it, or null
};

constexpr TextField kTextFields[] = {
    {"name", "name", "base_name_edit"},
    {"company", "company", nullptr},
    {"mobile", "mobile", "base_phone_edit"},
    {"email", "email", "base_email_edit"},
    {"qq", "qq", "base_qq_edit"},
    {"position", "position", nullptr},
    {"office-phone", "office_phone", "business_fix_phone"},
    {"home-phone", "home_phone", "life_phone"},
    {"fax", "fax", "business_fax_edit"},
    {"web", "web_site", nullptr},
    {"company-address", "company_address", nullptr},
    {"home-address", "home_address", nullptr},
    {"comment", "comment", nullptr},
};

template <class R>
std::string R::*TextMember(std::string_view name) {
    for (const RecordField<R>& f : DescriptionOf<R>().fields)
        if (f.name != nullptr && name == f.name) return f.text;
    return nullptr;
}

std::string& TextOf(BusinessCard& card, const TextField& field) { return card.*TextMember<BusinessCard>(field.field); }

// The summary's columns, in their order: each a text or a number of the list read.
struct SummaryField {
    const char* key;
    std::string kivtal::ContactSummary::*text;
    int kivtal::ContactSummary::*number;
};

// clang-format off: one column a line reads as the table it is
constexpr SummaryField kSummaryFields[] = {
    {"id", nullptr, &kivtal::ContactSummary::bc_id},
    {"name", &kivtal::ContactSummary::bc_name, nullptr},
    {"pinyin", &kivtal::ContactSummary::bc_name_pinyin, nullptr},
    {"company", &kivtal::ContactSummary::company_name, nullptr},
    {"mobile", &kivtal::ContactSummary::cell_phone, nullptr},
    {"email", &kivtal::ContactSummary::mail, nullptr},
    {"group_id", nullptr, &kivtal::ContactSummary::group_id},
};
// clang-format on
constexpr const char* kBankKeys[] = {"bank", "branch", "subbranch", "card", "holder"};
constexpr std::size_t kBankParts = std::size(kBankKeys);

std::optional<std::string> RefusedByRule(const TextField& field, const std::string& value) {
    if (field.ruleControl == nullptr || value.empty()) return std::nullopt;
    const RuleResult rule = CheckField(Editor::Contact, field.ruleControl, Utf8ToWide(value));
    if (rule.passed) return std::nullopt;
    return rule.message ? rule.message->text : "not accepted";
}

int CheckTextField(const TextField& field, const std::string& value) {
    const std::optional<std::string> why = RefusedByRule(field, value);
    if (!why) return kExitOk;
    return Fail(kExitUsage, "invalid --" + std::string(field.option) + " '" + value + "': " + *why);
}

int ApplyTextFields(const Args& args, BusinessCard& card) {
    for (const TextField& field : kTextFields) {
        const std::optional<std::string> value = args.value(field.option);
        if (!value) continue;
        if (const int code = CheckTextField(field, *value); code != kExitOk) return code;
        TextOf(card, field) = *value;
    }
    if (card.bc_name.empty()) return Fail(kExitUsage, "a contact needs a name (--name)");
    return kExitOk;
}

// A live group, or 0 for none; the store fills the group's server id.
int ApplyGroup(const Args& args, ContactStore& contacts, LocalStore& store, BusinessCard& card) {
    const std::optional<std::string> text = args.value("group");
    if (!text) return kExitOk;
    const std::optional<int> id = ParseInt(*text);
    if (!id || *id < 0) return Fail(kExitUsage, "invalid --group '" + *text + "': a group id or 0 for none");
    if (*id == 0) {
        card.group_id = 0;
        return kExitOk;
    }
    CardGroup group;
    const StoreStatus status = contacts.FindGroup(*id, group);
    if (const int c = LiveOrFail(store, status, group.group_state, "group " + *text); c != kExitOk) return c;
    card.group_id = group.group_id;
    return kExitOk;
}

// The date a picker could have chosen: a solar date that exists, or a lunar one of the
// tables (a leap month only in its year, the day within the month's length).
bool ExistingDate(const Birthday& b) {
    if (b.type == kSolarBirthday) return b.year > 0 && b.day <= SolarMonthDays(b.year, b.month);
    return LunarToSolar(b.year, b.month, b.day).has_value();
}

// --birthday or --lunar-birthday YYYY-MM-DD (a lunar leap month negative, as stored);
// an empty value removes the birthday.
int ApplyBirthday(const Args& args, BusinessCard& card) {
    const std::optional<std::string> solar = args.value("birthday");
    const std::optional<std::string> lunar = args.value("lunar-birthday");
    if (solar && lunar) return Fail(kExitUsage, "give --birthday or --lunar-birthday, not both");
    if (!solar && !lunar) return kExitOk;
    const std::string& text = solar ? *solar : *lunar;
    const int type = solar ? kSolarBirthday : kLunarBirthday;
    if (text.empty()) {
        card.birthday.clear();
        card.birthday_type = kSolarBirthday;
        return kExitOk;
    }
    const std::optional<Birthday> b = ParseBirthday(type, text);
    if (!b || !ExistingDate(*b)) {
        const std::string option = solar ? "--birthday" : "--lunar-birthday";
        return Fail(kExitUsage, "invalid " + option + " '" + text + "': a date that exists, YYYY-MM-DD" +
                                    (solar ? "" : " (a leap month negative, years 1901 to 2100)"));
    }
    char stored[24];
    std::snprintf(stored, sizeof stored, "%04d-%02d-%02d", b->year, b->month, b->day);
    card.birthday = stored;
    card.birthday_type = type;
    return kExitOk;
}

int ApplyCommon(const Args& args, BusinessCard& card) {
    const std::optional<std::string> text = args.value("common");
    if (!text) return kExitOk;
    if (*text != "0" && *text != "1") return Fail(kExitUsage, "invalid --common '" + *text + "': 0 or 1");
    card.common_use = *text == "1" ? 1 : 0;
    return kExitOk;
}

int AddAccounts(const Args& args, BusinessCard& card) {
    for (const std::string& text : args.values("bank")) {
        const std::vector<std::string> parts = SplitValues(text, "|");
        if (parts.size() != kBankParts)
            return Fail(kExitUsage, "invalid --bank '" + text + "': expected bank|branch|subbranch|card|holder");
        UserBankInfo account;
        for (std::size_t i = 0; i < kBankParts; ++i) account.*TextMember<UserBankInfo>(kBankKeys[i]) = parts[i];
        account.bc_server_id = card.bc_server_id;
        card.bank_accounts.push_back(std::move(account));
    }
    return kExitOk;
}

int RemoveAccounts(const Args& args, BusinessCard& card) {
    for (const std::string& text : args.values("remove-bank")) {
        const std::optional<int> id = ParseId(text);
        auto it = std::find_if(card.bank_accounts.begin(), card.bank_accounts.end(),
                               [&](const UserBankInfo& a) { return id && a.ubank_id == *id && a.ubank_state == 0; });
        if (it == card.bank_accounts.end())
            return Fail(kExitNotFound,
                        "bank account " + text + " of contact " + std::to_string(card.bc_id) + " not found");
        it->ubank_state = 1;
    }
    return kExitOk;
}

Json::Value BankJson(const UserBankInfo& a) {
    Json::Value v(Json::objectValue);
    v["id"] = a.ubank_id;
    for (const char* key : kBankKeys) v[key] = a.*TextMember<UserBankInfo>(key);
    return v;
}

}  // namespace

std::optional<std::string> RefusedContactValue(std::string_view option, const std::string& value) {
    for (const TextField& field : kTextFields)
        if (field.option == option) return RefusedByRule(field, value);
    return std::nullopt;
}

int ApplyContactOptions(const Args& args, ContactStore& contacts, LocalStore& store, BusinessCard& card) {
    int code = ApplyTextFields(args, card);
    if (code == kExitOk) code = ApplyGroup(args, contacts, store, card);
    if (code == kExitOk) code = ApplyCommon(args, card);
    if (code == kExitOk) code = ApplyBirthday(args, card);
    if (code == kExitOk) code = RemoveAccounts(args, card);
    if (code == kExitOk) code = AddAccounts(args, card);
    return code;
}

std::vector<int> RemovedAccountIds(const Args& args) {
    std::vector<int> ids;
    for (const std::string& text : args.values("remove-bank"))
        if (const std::optional<int> id = ParseId(text)) ids.push_back(*id);
    return ids;
}

void KeepChangedAccounts(BusinessCard& card, const std::vector<int>& removedIds) {
    std::erase_if(card.bank_accounts, [&](const UserBankInfo& a) {
        return a.ubank_id != 0 && std::find(removedIds.begin(), removedIds.end(), a.ubank_id) == removedIds.end();
    });
}

std::vector<Column> ContactSummaryColumns() {
    std::vector<Column> columns;
    for (const SummaryField& field : kSummaryFields) columns.push_back({field.key});
    return columns;
}

std::vector<Column> ContactDetailColumns() {
    std::vector<Column> columns = ContactSummaryColumns();
    for (const TextField& field : kTextFields) {
        const bool inSummary =
            std::find_if(std::begin(kSummaryFields), std::end(kSummaryFields), [&](const SummaryField& s) {
                return std::string_view(s.key) == field.field;
            }) != std::end(kSummaryFields);
        if (!inSummary) columns.push_back({field.field});
    }
    columns.push_back({"birthday"});
    columns.push_back({"birthday_calendar"});
    columns.push_back({"common"});
    columns.push_back({"server_id"});
    columns.push_back({"banks", {"id", "bank", "branch", "subbranch", "card", "holder"}});
    return columns;
}

Json::Value SummaryJson(const kivtal::ContactSummary& summary) {
    Json::Value v(Json::objectValue);
    for (const SummaryField& field : kSummaryFields) {
        if (field.text) v[field.key] = summary.*field.text;
        else v[field.key] = summary.*field.number;
    }
    return v;
}

int PrintSummaries(const OutputOptions& options, ContactStore& contacts, const ContactListQuery& query) {
    if (options.json) {
        ContactSummaryList list;
        if (contacts.ContactSummaries(query, list) != 0) return 1;
        PrintRecords(options, ContactSummaryColumns(), list, SummaryJson);
        return 0;
    }
    // Line by line as the rows are read: the list is never held whole.
    PrintTabHeader(options, ContactSummaryColumns(), std::cout);
    TabLine line;
    return contacts.EachContactSummary(query, [&](const kivtal::ContactSummary& summary) {
        for (const SummaryField& field : kSummaryFields) {
            if (field.text) line.add(summary.*field.text);
            else line.add(summary.*field.number);
        }
        line.writeTo(std::cout);
    });
}

Json::Value ContactSummary(const BusinessCard& card) {
    kivtal::ContactSummary summary;
    summary.bc_id = card.bc_id;
    summary.bc_name = card.bc_name;
    summary.bc_name_pinyin = card.bc_name_pinyin;
    summary.company_name = card.company_name;
    summary.cell_phone = card.cell_phone;
    summary.mail = card.mail;
    summary.group_id = card.group_id;
    return SummaryJson(summary);
}

Json::Value ContactDetail(const BusinessCard& card) {
    Json::Value v = ContactSummary(card);
    for (const TextField& field : kTextFields) v[field.field] = card.*TextMember<BusinessCard>(field.field);
    v["birthday"] = card.birthday;
    v["birthday_calendar"] = card.birthday.empty() ? "" : card.birthday_type == 2 ? "lunar" : "solar";
    v["common"] = card.common_use;
    v["server_id"] = card.bc_server_id;
    Json::Value banks(Json::arrayValue);
    for (const UserBankInfo& a : card.bank_accounts)
        if (a.ubank_state == 0) banks.append(BankJson(a));
    v["banks"] = banks;
    return v;
}

}  // namespace kivtal::cli
