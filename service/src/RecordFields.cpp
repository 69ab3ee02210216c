#include "RecordFields.h"

#include "ValueLayout.h"

namespace kivtal::service {

namespace {

// Left as laid out by hand, so each table reads as the value string it spells:
// clang-format off
constexpr FieldSpec kContactFields[] = {
    {"bc_id", "0"}, {"bc_name", ""}, {"company_name", ""}, {"cell_phone", ""}, {"home_phone", ""},
    {"fix_phone", ""}, {"position", ""}, {"group_id", "0"}, {"fax", ""}, {"addr_c_detail", ""},
    {"addr_f_detail", ""}, {"web_site", ""}, {"birthday_type", "1"}, {"birthday", ""}, {"mail", ""},
    {"qq", ""}, {"ww", ""}, {"relate_contacts", ""}, {"main_business", ""}, {"hobby", ""},
    {"belief", ""}, {"habit", ""}, {"how_to_konw", ""}, {"title", "1"}, {"favor_food", ""},
    {"complete", "0"}, {"bc_state", "0"}, {"bc_server_id", "0"}, {"main_tab", "0"}, {"bc_comment", ""},
    {"job_category_id", "0"}, {"business_id", "0"}, {"common_use", "0"}, {"server_group_id", "0"},
};
constexpr FieldSpec kMatterFields[] = {
    {"event_id", "0"}, {"start_time", "0"}, {"end_time", "0"}, {"group_id", "0"}, {"description", ""},
    {"place_top", "0"}, {"server_id", "0"}, {"event_state", "0"}, {"create_time", "0"}, {"server_group_id", "0"},
};
constexpr FieldSpec kRemarkFields[] = {
    {"comment_id", "0"}, {"c_content", ""}, {"event_id", "0"}, {"server_id", "0"},
    {"comment_state", "0"}, {"create_time", "0"}, {"event_server_id", "0"},
};
constexpr FieldSpec kReminderFields[] = {
    {"alarm_id", "0"}, {"a_content", ""}, {"event_id", "0"}, {"alarm_time", "0"}, {"alarm_whos", ""},
    {"server_id", "0"}, {"alarm_state", "0"}, {"event_description_alarm", "0"}, {"event_server_id", "0"},
    {"alarm_myself", "0"},
};
constexpr FieldSpec kGroupFields[] = {
    {"group_id", "0"}, {"group_name", ""}, {"server_id", "0"}, {"group_state", "0"},
};
constexpr FieldSpec kBankAccountFields[] = {
    {"ubank_id", "0"}, {"bank_name", ""}, {"ubank_branch", ""}, {"ubank_subbranch", ""}, {"ubank_card", ""},
    {"ubank_user", ""}, {"bc_id", "0"}, {"server_id", "0"}, {"ubank_state", "0"}, {"bc_server_id", "0"},
};
// clang-format on

}  // namespace

std::span<const FieldSpec> FieldsOf(int kind) {
    switch (kind) {
        case kContact: return kContactFields;
        case kMatter: return kMatterFields;
        case kRemark: return kRemarkFields;
        case kReminder: return kReminderFields;
        case kContactGroup:
        case kMatterGroup: return kGroupFields;
        case kBankAccount: return kBankAccountFields;
        default: return {};
    }
}

}  // namespace kivtal::service
