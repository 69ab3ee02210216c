#include "store/Schema.h"

namespace kivtal {

const char* const kLoginDbSchema =
    "CREATE TABLE tb_login_record(login_id INTEGER PRIMARY KEY,login_user VARCHAR,login_pwd VARCHAR,"
    "login_time INTEGER,login_ways INTEGER,auto_login INTEGER,last_login INTEGER,filed_1 VARCHAR,"
    "filed_2 VARCHAR,filed_3 VARCHAR);";

const char* const kSeedSyncTime = "INSERT INTO tb_sync_time (tal_sync_time)VALUES(0);";
const char* const kSeedHardwareInfo =
    "INSERT INTO tb_hardware_info(upload_times ,use_times,success_times)VALUES(0,0,0);";

namespace {

struct TableDef {
    const char* name;
    const char* key;
    const char* columns;  // "name TYPE" pairs after the key, comma-separated
    bool reserved;        // ends with filed_1..filed_3
};

// Column names and declared types are a stored-file format: other copies of the
// program open these files, so they stay exactly as they are, odd spellings included.
constexpr TableDef kTables[] = {
    {"tb_user", "user_id",
     "user_server_id INTEGER,login_name VARCHAR,pwd VARCHAR,perm_value INTEGER,username VARCHAR,"
     "cell_phone VARCHAR,company1 VARCHAR,job_category1_id INTEGER,job_position1 VARCHAR,"
     "business1_id INTEGER,job_category2_id INTEGER,job_position2 VARCHAR,business2_id INTEGER,"
     "job_category3_id INTEGER,job_position3 VARCHAR,business3_id INTEGER,area_id INTEGER,mail VARCHAR,"
     "fix_phone VARCHAR,fax VARCHAR,address VARCHAR,birthday_type INTEGER,birthday VARCHAR,title INTEGER,"
     "certification INTEGER",
     true},
    {"tb_bc", "bc_id",
     "bc_name VARCHAR,company_name VARCHAR,cell_phone VARCHAR,home_phone VARCHAR,fix_phone VARCHAR,"
     "position VARCHAR,group_id INTEGER,fax VARCHAR,addr_c_detail VARCHAR,addr_f_detail VARCHAR,"
     "web_site VARCHAR,birthday_type INTEGER,birthday VARCHAR,mail VARCHAR,qq VARCHAR,ww VARCHAR,"
     "relate_contacts VARCHAR,main_business VARCHAR,hobby VARCHAR,belief VARCHAR,habit VARCHAR,"
     "how_to_konw VARCHAR,title INTEGER,favor_food VARCHAR,complete INTEGER,bc_name_pinyin VARCHAR,"
     "bc_state VARCHAR,bc_server_id INTEGER,main_tab INTEGER,bc_comment VARCHAR,job_category_id INTEGER,"
     "business_id INTEGER,common_use INTEGER,server_group_id INTEGER",
     true},
    {"tb_bc_group", "group_id", "group_name VARCHAR,server_id INTEGER,group_state INTEGER", true},
    {"tb_ubank_info", "ubank_id",
     "bank_name VARCHAR,ubank_branch VARCHAR,ubank_subbranch VARCHAR,ubank_card VARCHAR,ubank_user VARCHAR,"
     "bc_id INTEGER,server_id INTEGER,ubank_state INTEGER,bc_server_id INTEGER",
     true},
    {"tb_event", "event_id",
     "start_time INTEGER,end_time INTEGER,group_id INTEGER,description VARCHAR,place_top INTEGER,"
     "server_id INTEGER,event_state INTEGER,create_time INTEGER,server_group_id INTEGER",
     true},
    {"tb_event_group", "group_id", "group_name VARCHAR,server_id INTEGER,group_state INTEGER", true},
    {"tb_event_comment", "comment_id",
     "c_content VARCHAR,event_id INTEGER,server_id INTEGER,comment_state INTEGER,create_time INTEGER,"
     "event_server_id INTEGER",
     true},
    {"tb_event_alarm", "alarm_id",
     "a_content VARCHAR,event_id VARCHAR,alarm_time VARCHAR,alarm_whos VARCHAR,server_id INTEGER,"
     "alarm_state INTEGER,alarm_whos_id VARCHAR,event_description_alarm INTEGER,event_server_id INTEGER,"
     "alarm_myself INTEGER",
     true},
    {"tb_sync_record", "sync_id",
     "oper_code INTEGER,oper_ways INTEGER,s_row_id INTEGER,s_values VARCHAR,sync_state INTEGER,"
     "oper_time INTEGER,s_server_id INTEGER,main_tab INTEGER",
     true},
    {"tb_user_settings", "s_id",
     "coloumn_show INTEGER,auto_update INTEGER,exit_ways INTEGER,auto_run INTEGER,server_id INTEGER", true},
    {"tb_app_info", "a_id", "ver_name VARCHAR,ver_code INTEGER,description VARCHAR", true},
    {"tb_sync_time", "tal_sync_time_id", "tal_sync_time INTEGER", false},
    {"tb_news", "news_id",
     "news_server_id INTEGER,news_title VARCHAR,news_content VARCHAR,create_time INTEGER,news_state INTEGER,"
     "news_type INTEGER,extra_data_path VARCHAR",
     true},
    {"tb_sync_record_tmp", "sync_id",
     "oper_code INTEGER,oper_ways INTEGER,s_row_id INTEGER,s_values VARCHAR,sync_state INTEGER,"
     "oper_time INTEGER,s_server_id INTEGER,main_tab INTEGER",
     true},
    {"tb_secretary_img", "img_id", "img_path VARCHAR,img_state INTEGER", true},
    {"tb_ad", "ad_id",
     "ad_path VARCHAR,jump_url VARCHAR,sort_id INTEGER,server_id INTEGER,ad_content VARCHAR,ad_state INTEGER", true},
    {"tb_hardware_info", "hard_id",
     "upload_times INTEGER,use_times INTEGER,success_times INTEGER,hard_unique_id VARCHAR,"
     "hard_description VARCHAR",
     true},
};

std::string CreateStatement(const TableDef& t) {
    std::string sql =
        std::string("CREATE TABLE ") + t.name + "(" + t.key + " INTEGER PRIMARY KEY AUTOINCREMENT," + t.columns;
    if (t.reserved) sql += ",filed_1 VARCHAR,filed_2 VARCHAR,filed_3 VARCHAR";
    return sql + ");";
}

}  // namespace

const std::vector<std::string>& UserDbIndexes() {
    static const std::vector<std::string> statements = {
        "CREATE INDEX IF NOT EXISTS ix_sync_record_row ON tb_sync_record(s_row_id,oper_code);",
        // The log keeps every answered entry: a sync, and the status line, look for the few
        // pending, sending or refused ones among them.
        "CREATE INDEX IF NOT EXISTS ix_sync_record_state ON tb_sync_record(sync_state);",
        "CREATE INDEX IF NOT EXISTS ix_ubank_bc ON tb_ubank_info(bc_id);",
        "CREATE INDEX IF NOT EXISTS ix_ubank_server ON tb_ubank_info(server_id);",
        "CREATE INDEX IF NOT EXISTS ix_bc_server ON tb_bc(bc_server_id);",
        "CREATE INDEX IF NOT EXISTS ix_bc_group_server ON tb_bc_group(server_id);",
        "CREATE INDEX IF NOT EXISTS ix_event_server ON tb_event(server_id);",
        "CREATE INDEX IF NOT EXISTS ix_event_group_server ON tb_event_group(server_id);",
        "CREATE INDEX IF NOT EXISTS ix_comment_event ON tb_event_comment(event_id);",
        "CREATE INDEX IF NOT EXISTS ix_comment_server ON tb_event_comment(server_id);",
        "CREATE INDEX IF NOT EXISTS ix_alarm_event ON tb_event_alarm(event_id);",
        "CREATE INDEX IF NOT EXISTS ix_alarm_server ON tb_event_alarm(server_id);",
    };
    return statements;
}

const std::vector<std::string>& UserDbAdditions() {
    static const std::vector<std::string> statements = {
        "CREATE TABLE IF NOT EXISTS tb_sync_set_aside(aside_id INTEGER PRIMARY KEY AUTOINCREMENT,"
        "oper_code INTEGER,oper_ways INTEGER,s_server_id INTEGER,s_values VARCHAR,main_tab INTEGER,"
        "oper_time INTEGER,failed_runs INTEGER,set_aside INTEGER,reason VARCHAR,set_aside_at INTEGER);",
        // The wall-clock time the last complete sync run finished, for people to read:
        // tb_sync_time holds the service's sequence, which is no time at all.
        "CREATE TABLE IF NOT EXISTS client_last_sync(id INTEGER PRIMARY KEY CHECK(id = 1),finished_at INTEGER);",
        // Why the service refused a change-log entry (state SYNC_REFUSED). A table of its
        // own rather than a new column of tb_sync_record, so that the upgrade stays
        // statements that may run at every login.
        "CREATE TABLE IF NOT EXISTS tb_sync_refused(sync_id INTEGER PRIMARY KEY,reason VARCHAR,refused_at INTEGER);",
        // The value string of each synced record as last agreed with the service, the
        // base of a field-by-field settlement; a record without one settles the old way.
        "CREATE TABLE IF NOT EXISTS tb_sync_base(oper_code INTEGER,s_server_id INTEGER,s_values VARCHAR,"
        "PRIMARY KEY(oper_code,s_server_id));",
        // Fields both sides changed to different values, open until the user adopts or
        // dismisses them.
        "CREATE TABLE IF NOT EXISTS tb_sync_clash(clash_id INTEGER PRIMARY KEY AUTOINCREMENT,oper_code INTEGER,"
        "s_row_id INTEGER,s_server_id INTEGER,field INTEGER,other_value VARCHAR,clash_time INTEGER);",
    };
    return statements;
}

const std::vector<AddedColumn>& UserDbAddedColumns() {
    static const std::vector<AddedColumn> columns = {
        {"tb_sync_set_aside", "reason", "VARCHAR"},
        {"tb_sync_set_aside", "set_aside_at", "INTEGER"},
        // When a deleted row was deleted, here or as its delete arrived from the service
        // (seconds since 1970; NULL while it is live, and for rows deleted before the
        // column existed). The trash lists by it, and a matter's remarks and reminders
        // carry their matter's stamp when they went with it, so a restore brings back
        // exactly those.
        {"tb_bc", "deleted_at", "INTEGER"},
        {"tb_event", "deleted_at", "INTEGER"},
        {"tb_event_comment", "deleted_at", "INTEGER"},
        {"tb_event_alarm", "deleted_at", "INTEGER"},
    };
    return columns;
}

const std::vector<std::string>& UserDbSchema() {
    static const std::vector<std::string> statements = [] {
        std::vector<std::string> out;
        for (const TableDef& t : kTables) out.push_back(CreateStatement(t));
        return out;
    }();
    return statements;
}

}  // namespace kivtal
