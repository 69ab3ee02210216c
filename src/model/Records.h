#pragma once
// The in-memory records of everything the client keeps. They are plain value types:
// the store fills them from rows and writes them back, the windows edit them and the
// sync engine moves them to and from the service. Texts are UTF-8.
//
// Ids: a local id is the row id the store assigns (0 = not stored yet); a server id is
// the service's id (0, or -1 where the default says so, = not assigned yet).
// State fields: 0 live row, 1 deleted by the user (rows are never physically removed).
#include <string>
#include <vector>

namespace kivtal {

// A contact's bank account (row of tb_ubank_info).
struct UserBankInfo {
    int ubank_id = 0;
    std::string bank_name;
    std::string ubank_branch;
    std::string ubank_subbranch;
    std::string ubank_card;  // card number
    std::string ubank_user;  // account holder
    int ubank_state = 0;
    int bc_id = 0;  // local id of the contact
    int server_id = 0;
    int bc_server_id = 0;  // server id of the contact

    bool operator==(const UserBankInfo&) const = default;
};
using UserBankInfoList = std::vector<UserBankInfo>;

// A contact (row of tb_bc). It may be deleted through a pointer to it, hence the
// virtual destructor; the copy and move operations are spelled out because a
// user-declared destructor would otherwise drop the moves.
struct BusinessCard {
    BusinessCard() = default;
    BusinessCard(const BusinessCard&) = default;
    BusinessCard(BusinessCard&&) = default;
    BusinessCard& operator=(const BusinessCard&) = default;
    BusinessCard& operator=(BusinessCard&&) = default;
    virtual ~BusinessCard() = default;

    int bc_id = 0;
    std::string bc_name;
    std::string company_name;
    std::string cell_phone;
    std::string home_phone;
    std::string fix_phone;  // office telephone
    std::string position;   // job title
    int group_id = 0;       // local id of the contact group
    std::string fax;
    std::string addr_c_detail;  // company address
    std::string addr_f_detail;  // home address
    std::string web_site;
    int birthday_type = 1;  // 1 solar, 2 Chinese lunar
    std::string birthday;   // "%04d-%02d-%02d"; a lunar leap month is negative
    std::string mail;
    std::string qq;
    std::string ww;
    // List texts: form A is "item[pig]item[pig]", form B "name[gx]relation[pig]...".
    std::string relate_contacts;  // form B
    std::string main_business;    // form A
    std::string hobby;            // form A
    std::string belief;           // form A
    std::string habit;            // form A
    std::string how_to_konw;
    int title = 1;           // form of address: 1 male, 2 female
    std::string favor_food;  // form A
    int complete = 0;        // carried unchanged between editor, store and service
    std::string bc_name_pinyin;
    int bc_state = 0;
    int bc_server_id = 0;
    int main_tab = 0;  // carried unchanged; copied into the change-log entry
    std::string bc_comment;
    int job_category_id = 0;         // a PositionInfo id
    int business_id = 0;             // an IndustryInfo id
    UserBankInfoList bank_accounts;  // kept in their own table, with their own log entries
    int common_use = 0;              // 1 = in the user's common list
    int server_group_id = -1;        // server id of the contact group

    bool operator==(const BusinessCard&) const = default;
};
using BusinessCardList = std::vector<BusinessCard>;

// Contact groups (tb_bc_group) and matter groups (tb_event_group) share their fields
// but are distinct types, so that a group can never be logged as the wrong kind.
struct CardGroup {
    int group_id = 0;
    std::string group_name;
    int server_id = -1;
    int group_state = 0;
    int count = 0;  // not stored: the group list queries fill in the member count

    bool operator==(const CardGroup&) const = default;
};
using CardGroupList = std::vector<CardGroup>;

struct EventGroup {
    int group_id = 0;
    std::string group_name;
    int server_id = -1;
    int group_state = 0;
    int count = 0;  // not stored: the group list queries fill in the member count

    bool operator==(const EventGroup&) const = default;
};
using EventGroupList = std::vector<EventGroup>;

// A matter (row of tb_event). server_group_id is declared before create_time, the
// reverse of the table's column order and of the value string.
struct TalEvent {
    int event_id = 0;
    int start_time = 0;
    int end_time = 0;
    int group_id = 0;  // local id of the matter group
    std::string description;
    int place_top = 0;  // pinned; lists sort on it descending
    int server_id = 0;
    int event_state = 0;
    int server_group_id = -1;
    int create_time = 0;

    bool operator==(const TalEvent&) const = default;
};
using TalEventList = std::vector<TalEvent>;

// A remark on a matter (row of tb_event_comment).
struct EventComment {
    int comment_id = 0;
    std::string c_content;
    int event_id = 0;  // local id of the matter
    int server_id = 0;
    int comment_state = 0;
    int create_time = 0;
    int event_server_id = 0;

    bool operator==(const EventComment&) const = default;
};
using EventCommentList = std::vector<EventComment>;

// A reminder of a matter (row of tb_event_alarm).
struct EventAlarm {
    int alarm_id = 0;
    std::string a_content;   // the reminder message
    std::string alarm_whos;  // names of the people to remind
    int event_id = 0;
    int alarm_time = 0;
    int alarm_state = 0;
    int server_id = 0;
    std::string alarm_whos_id;  // ids of those people
    int event_description_alarm = 0;
    int event_server_id = 0;
    int alarm_myself = 0;  // 1 = the user reminds himself too
    // Not stored: 1 when the editor hands over a changed reminder whose time has
    // already passed on the service's clock and the user chose to send it again.
    int already_sent = 0;

    bool operator==(const EventAlarm&) const = default;
};
using EventAlarmList = std::vector<EventAlarm>;

// The signed-in user's profile (row of tb_user). Built like BusinessCard.
struct UserInfo {
    UserInfo() = default;
    UserInfo(const UserInfo&) = default;
    UserInfo(UserInfo&&) = default;
    UserInfo& operator=(const UserInfo&) = default;
    UserInfo& operator=(UserInfo&&) = default;
    virtual ~UserInfo() = default;

    int user_id = 0;
    int user_server_id = 0;
    std::string login_name;
    std::string pwd;
    int perm_value = 0;
    std::string username;  // the user's own full name
    std::string cell_phone;
    std::string company1;
    int job_category1_id = 0;
    std::string job_position1;
    int business1_id = 0;
    int area_id = 0;  // an AddressInfo id
    std::string mail;
    std::string fix_phone;
    std::string fax;
    std::string address;
    int birthday_type = 0;
    std::string birthday;
    int title = 1;
    int certification = 0;

    bool operator==(const UserInfo&) const = default;
};
using UserInfoList = std::vector<UserInfo>;

// The user's settings (row of tb_user_settings). The defaults are the values that
// hold when the user has no settings row yet.
struct UserSettings {
    // coloumn_show bits of the optional contact-list columns; the default 6 also
    // carries 2, which no setting controls.
    static constexpr int kShowCompany = 4;
    static constexpr int kShowEmail = 8;
    static constexpr int kShowObj = 16;
    static constexpr int kShowGroup = 32;

    int s_id = 0;
    int coloumn_show = 6;
    int auto_update = 0;
    int exit_ways = 0;  // 0 = closing minimises to the tray
    int auto_run = 1;   // 1 = start with the desktop session
    int server_id = 0;

    bool operator==(const UserSettings&) const = default;
};
using UserSettingsList = std::vector<UserSettings>;

// A change-log entry (row of tb_sync_record or tb_sync_record_tmp). In memory
// main_tab precedes s_server_id; the table lists s_server_id first.
struct SyncRecord {
    int sync_id = 0;
    int oper_code = 0;     // record kind, see SyncKinds.h
    int oper_ways = 0;     // add or modify
    int s_row_id = 0;      // local id of the changed row
    std::string s_values;  // the row's value string
    int sync_state = 0;
    int oper_time = 0;
    int main_tab = 0;
    int s_server_id = 0;  // server id of the changed row

    bool operator==(const SyncRecord&) const = default;
};
using SyncRecordList = std::vector<SyncRecord>;

// A remembered login (row of tb_login_record).
struct LoginRecord {
    std::string login_user;
    int login_time = 0;
    int login_ways = 0;
    int auto_login = 0;  // 1 = log in automatically
    std::string login_pwd;
    int last_login = 0;  // 1 on the most recent login only

    bool operator==(const LoginRecord&) const = default;
};
using LoginRecordList = std::vector<LoginRecord>;

// A message from the service (row of tb_news).
struct News {
    int news_id = 0;
    std::string news_title;
    std::string news_content;
    int create_time = 0;
    int news_state = 0;  // 0 unread, 1 read
    int news_server_id = 0;
    int news_type = 0;
    std::string extra_data_path;  // local path of an attached file

    bool operator==(const News&) const = default;
};
using NewsList = std::vector<News>;

// An advertisement (row of tb_ad).
struct TalAd {
    int ad_id = 0;
    int server_id = 0;
    std::string ad_path;  // local path of the picture
    int sort_id = 0;
    std::string jump_url;  // opened on click
    std::string ad_content;
    int ad_state = 0;  // 0 shown

    bool operator==(const TalAd&) const = default;
};
using TalAdList = std::vector<TalAd>;

// A captured card image queued for the transcription desk (row of tb_secretary_img).
struct SecretaryImg {
    int img_id = 0;
    std::string img_path;  // local file path
    int img_state = 0;     // values belong to card capture

    bool operator==(const SecretaryImg&) const = default;
};
using SecretaryImgList = std::vector<SecretaryImg>;

// Reference records (rows of the shipped reference tables).
struct AddressInfo {
    int id = 0;
    std::string title;
    int pid = 0;  // parent area id; 1 is the parent of the top level
    int sortid = 0;

    bool operator==(const AddressInfo&) const = default;
};
using AddressInfoList = std::vector<AddressInfo>;

struct IndustryInfo {
    int id = 0;
    std::string title;
    int sortid = 0;

    bool operator==(const IndustryInfo&) const = default;
};
using IndustryInfoList = std::vector<IndustryInfo>;

struct PositionInfo {
    int id = 0;
    std::string title;
    int sortid = 0;

    bool operator==(const PositionInfo&) const = default;
};
using PositionInfoList = std::vector<PositionInfo>;

}  // namespace kivtal
