#include "model/RecordValues.h"

#include <stdexcept>

#include "model/IntText.h"
#include "model/SyncKinds.h"
#include "model/ValueString.h"

namespace kivtal {
namespace {

template <class R>
std::string FormatFields(const R& record) {
    std::string out;
    int slot = 0;
    for (const RecordField<R>& f : DescriptionOf<R>().fields) {
        if (!f.travels()) continue;
        if (slot++ > 0) out += kValueSeparator;
        if (f.number) {
            out += std::to_string(record.*f.number);
            continue;
        }
        const std::string& text = record.*f.text;
        if (text.find(kValueSeparator) != std::string::npos)
            throw std::invalid_argument("value string text field " + std::to_string(slot) +
                                        " holds the field separator");
        out += text;
    }
    return out;
}

template <class R>
void ParseFields(std::string_view text, R& record) {
    const std::vector<std::string> items = SplitValues(text, kValueSeparator);
    std::size_t slot = 0;
    for (const RecordField<R>& f : DescriptionOf<R>().fields) {
        if (!f.travels()) continue;
        if (slot < items.size()) {
            if (f.number) record.*f.number = LeadingInt(items[slot]);
            else record.*f.text = items[slot];
        }
        ++slot;
    }
    if (items.size() < slot)
        throw std::invalid_argument("value string has " + std::to_string(items.size()) + " of " + std::to_string(slot) +
                                    " fields");
}

template <class R>
bool TextsHoldSeparator(const R& record) {
    for (const RecordField<R>& f : DescriptionOf<R>().fields)
        if (f.travels() && f.text && (record.*f.text).find(kValueSeparator) != std::string::npos) return true;
    return false;
}

template <class R>
std::vector<FieldSpec> SpecsOf() {
    std::vector<FieldSpec> out;
    for (const RecordField<R>& f : DescriptionOf<R>().fields)
        if (f.travels()) out.push_back({f.name, f.role, f.text != nullptr});
    return out;
}

}  // namespace

const std::vector<FieldSpec>& FieldsOfKind(int operCode) {
    static const std::vector<FieldSpec> none;
    static const std::vector<FieldSpec> kinds[] = {
        none,
        SpecsOf<BusinessCard>(),
        SpecsOf<TalEvent>(),
        SpecsOf<UserInfo>(),
        SpecsOf<EventComment>(),
        SpecsOf<EventAlarm>(),
        SpecsOf<CardGroup>(),
        SpecsOf<EventGroup>(),
        SpecsOf<UserSettings>(),
        SpecsOf<UserBankInfo>(),
    };
    return operCode >= OPER_CONTACT && operCode <= OPER_BANK_ACCOUNT ? kinds[operCode] : none;
}

const FieldSpec* FieldOfKind(int operCode, int field) {
    const std::vector<FieldSpec>& fields = FieldsOfKind(operCode);
    return field >= 0 && static_cast<std::size_t>(field) < fields.size() ? &fields[static_cast<std::size_t>(field)]
                                                                         : nullptr;
}

int FieldIndexOfKind(int operCode, std::string_view name) {
    const std::vector<FieldSpec>& fields = FieldsOfKind(operCode);
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (name == fields[i].name) return static_cast<int>(i);
    return -1;
}

bool HoldsSeparator(const BusinessCard& r) {
    if (TextsHoldSeparator(r)) return true;
    for (const UserBankInfo& a : r.bank_accounts)
        if (TextsHoldSeparator(a)) return true;
    return false;
}
bool HoldsSeparator(const TalEvent& r) { return TextsHoldSeparator(r); }
bool HoldsSeparator(const CardGroup& r) { return TextsHoldSeparator(r); }
bool HoldsSeparator(const EventGroup& r) { return TextsHoldSeparator(r); }
bool HoldsSeparator(const EventComment& r) { return TextsHoldSeparator(r); }
bool HoldsSeparator(const EventAlarm& r) { return TextsHoldSeparator(r); }
bool HoldsSeparator(const UserBankInfo& r) { return TextsHoldSeparator(r); }
bool HoldsSeparator(const UserSettings& r) { return TextsHoldSeparator(r); }
bool HoldsSeparator(const UserInfo& r) { return TextsHoldSeparator(r); }

std::string FormatValues(const BusinessCard& r) { return FormatFields(r); }
std::string FormatValues(const TalEvent& r) { return FormatFields(r); }
std::string FormatValues(const CardGroup& r) { return FormatFields(r); }
std::string FormatValues(const EventGroup& r) { return FormatFields(r); }
std::string FormatValues(const EventComment& r) { return FormatFields(r); }
std::string FormatValues(const EventAlarm& r) { return FormatFields(r); }
std::string FormatValues(const UserBankInfo& r) { return FormatFields(r); }
std::string FormatValues(const UserSettings& r) { return FormatFields(r); }
std::string FormatValues(const UserInfo& r) { return FormatFields(r); }

void ParseValues(std::string_view t, BusinessCard& r) { ParseFields(t, r); }
void ParseValues(std::string_view t, TalEvent& r) { ParseFields(t, r); }
void ParseValues(std::string_view t, CardGroup& r) { ParseFields(t, r); }
void ParseValues(std::string_view t, EventGroup& r) { ParseFields(t, r); }
void ParseValues(std::string_view t, EventComment& r) { ParseFields(t, r); }
void ParseValues(std::string_view t, UserBankInfo& r) { ParseFields(t, r); }
void ParseValues(std::string_view t, UserSettings& r) { ParseFields(t, r); }
void ParseValues(std::string_view t, UserInfo& r) { ParseFields(t, r); }

void ParseValues(std::string_view t, EventAlarm& r) {
    ParseFields(t, r);
    // The ids of the people to remind never travel in the value string.
    r.alarm_whos_id.clear();
}

}  // namespace kivtal
