#pragma once
// Value strings of the record kinds that travel through the change log: the fields
// of the kind's description (RecordFields.h) that travel, in their order; ints are
// written in decimal, texts verbatim.
//
// FormatValues throws std::invalid_argument when a text field holds the separator:
// unescaped, it would shift every later field on the service's side. Callers that
// log an edit must treat that as a failed write.
//
// ParseValues assigns the fields in order and ignores items beyond the kind's field
// count. A value string with too few items assigns the fields it has and then throws
// std::invalid_argument; the record is left partly assigned and must not be stored.
// Fields outside the value string (a contact's bc_name_pinyin and bank accounts, a
// group's count, a reminder's already_sent) are left untouched; a reminder's
// alarm_whos_id is cleared, as the service never sends it.
#include <string>
#include <string_view>
#include <vector>

#include "model/RecordFields.h"
#include "model/Records.h"

namespace kivtal {

struct FieldSpec {
    const char* name;  // as people and the command line call it
    FieldRole role;
    bool text;  // a text, else a decimal int
};

// The fields of a kind's value string in their wire order, by oper_code (SyncKinds.h);
// empty for a kind outside 1-9.
const std::vector<FieldSpec>& FieldsOfKind(int operCode);
// Field `field` of the kind, or nullptr when there is none.
const FieldSpec* FieldOfKind(int operCode, int field);
// The index of the field of that name, or -1.
int FieldIndexOfKind(int operCode, std::string_view name);

// The separator rule: whether a text the record's value string carries holds the
// separator (for a contact, in its bank accounts too). Such a record can never be
// logged; FormatValues would throw.
bool HoldsSeparator(const BusinessCard& record);
bool HoldsSeparator(const TalEvent& record);
bool HoldsSeparator(const CardGroup& record);
bool HoldsSeparator(const EventGroup& record);
bool HoldsSeparator(const EventComment& record);
bool HoldsSeparator(const EventAlarm& record);
bool HoldsSeparator(const UserBankInfo& record);
bool HoldsSeparator(const UserSettings& record);
bool HoldsSeparator(const UserInfo& record);

std::string FormatValues(const BusinessCard& record);
std::string FormatValues(const TalEvent& record);
std::string FormatValues(const CardGroup& record);
std::string FormatValues(const EventGroup& record);
std::string FormatValues(const EventComment& record);
std::string FormatValues(const EventAlarm& record);
std::string FormatValues(const UserBankInfo& record);
std::string FormatValues(const UserSettings& record);
std::string FormatValues(const UserInfo& record);

void ParseValues(std::string_view text, BusinessCard& record);
void ParseValues(std::string_view text, TalEvent& record);
void ParseValues(std::string_view text, CardGroup& record);
void ParseValues(std::string_view text, EventGroup& record);
void ParseValues(std::string_view text, EventComment& record);
void ParseValues(std::string_view text, EventAlarm& record);
void ParseValues(std::string_view text, UserBankInfo& record);
void ParseValues(std::string_view text, UserSettings& record);
void ParseValues(std::string_view text, UserInfo& record);

}  // namespace kivtal
