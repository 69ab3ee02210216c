#include "store/ServerChangeRows.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>

#include "store/ContactStoreSql.h"
#include "text/NamePinyin.h"

namespace kivtal::serverrows {

namespace {

// The contact store owns tb_bc's column list; its INSERT names them in RowArgs order.
std::string ContactColumns() {
    const std::string& insert = contacts::InsertSql();
    const std::size_t open = insert.find('(') + 1;
    return insert.substr(open, insert.find(")VALUES") - open);
}

}  // namespace

const RowShape& ShapeOf(const BusinessCard&) {
    static const RowShape shape{"tb_bc", "bc_id", "bc_server_id", ContactColumns()};
    return shape;
}
const RowShape& ShapeOf(const TalEvent&) {
    static const RowShape shape{"tb_event", "event_id", "server_id",
                                "start_time,end_time,group_id,description,place_top,server_id,event_state,"
                                "create_time,server_group_id"};
    return shape;
}
const RowShape& ShapeOf(const UserInfo&) {
    // The profile row keeps the service's account id as its own id: the login finds
    // the row by that id to store the login name and password digest in it.
    static const RowShape shape{"tb_user", "user_id", "user_server_id",
                                "user_id,user_server_id,login_name,pwd,perm_value,username,cell_phone,company1,"
                                "job_category1_id,job_position1,business1_id,area_id,mail,fix_phone,fax,"
                                "address,birthday_type,birthday,title,certification",
                                "user_id"};
    return shape;
}
const RowShape& ShapeOf(const EventComment&) {
    static const RowShape shape{"tb_event_comment", "comment_id", "server_id",
                                "c_content,event_id,server_id,comment_state,create_time,event_server_id"};
    return shape;
}
const RowShape& ShapeOf(const EventAlarm&) {
    static const RowShape shape{"tb_event_alarm", "alarm_id", "server_id",
                                "a_content,event_id,alarm_time,alarm_whos,server_id,alarm_state,alarm_whos_id,"
                                "event_description_alarm,event_server_id,alarm_myself"};
    return shape;
}
const RowShape& ShapeOf(const CardGroup&) {
    static const RowShape shape{"tb_bc_group", "group_id", "server_id", "group_name,server_id,group_state"};
    return shape;
}
const RowShape& ShapeOf(const EventGroup&) {
    static const RowShape shape{"tb_event_group", "group_id", "server_id", "group_name,server_id,group_state"};
    return shape;
}
const RowShape& ShapeOf(const UserSettings&) {
    static const RowShape shape{"tb_user_settings", "s_id", "server_id",
                                "coloumn_show,auto_update,exit_ways,auto_run,server_id"};
    return shape;
}
const RowShape& ShapeOf(const UserBankInfo&) {
    static const RowShape shape{"tb_ubank_info", "ubank_id", "server_id",
                                "bank_name,ubank_branch,ubank_subbranch,ubank_card,ubank_user,bc_id,server_id,"
                                "ubank_state,bc_server_id"};
    return shape;
}

SqlArgs ColumnValues(const BusinessCard& r) { return contacts::RowArgs(r); }
SqlArgs ColumnValues(const TalEvent& r) {
    return {Arg(r.start_time), Arg(r.end_time),    Arg(r.group_id),    Arg(r.description),    Arg(r.place_top),
            Arg(r.server_id),  Arg(r.event_state), Arg(r.create_time), Arg(r.server_group_id)};
}
SqlArgs ColumnValues(const UserInfo& r) {
    return {Arg(r.user_id),       Arg(r.user_server_id), Arg(r.login_name),
            Arg(r.pwd),           Arg(r.perm_value),     Arg(r.username),
            Arg(r.cell_phone),    Arg(r.company1),       Arg(r.job_category1_id),
            Arg(r.job_position1), Arg(r.business1_id),   Arg(r.area_id),
            Arg(r.mail),          Arg(r.fix_phone),      Arg(r.fax),
            Arg(r.address),       Arg(r.birthday_type),  Arg(r.birthday),
            Arg(r.title),         Arg(r.certification)};
}
SqlArgs ColumnValues(const EventComment& r) {
    return {Arg(r.c_content),     Arg(r.event_id),    Arg(r.server_id),
            Arg(r.comment_state), Arg(r.create_time), Arg(r.event_server_id)};
}
SqlArgs ColumnValues(const EventAlarm& r) {
    return {Arg(r.a_content),       Arg(r.event_id),    Arg(r.alarm_time),    Arg(r.alarm_whos),
            Arg(r.server_id),       Arg(r.alarm_state), Arg(r.alarm_whos_id), Arg(r.event_description_alarm),
            Arg(r.event_server_id), Arg(r.alarm_myself)};
}
SqlArgs ColumnValues(const CardGroup& r) { return {Arg(r.group_name), Arg(r.server_id), Arg(r.group_state)}; }
SqlArgs ColumnValues(const EventGroup& r) { return {Arg(r.group_name), Arg(r.server_id), Arg(r.group_state)}; }
SqlArgs ColumnValues(const UserSettings& r) {
    return {Arg(r.coloumn_show), Arg(r.auto_update), Arg(r.exit_ways), Arg(r.auto_run), Arg(r.server_id)};
}
SqlArgs ColumnValues(const UserBankInfo& r) {
    return {Arg(r.bank_name), Arg(r.ubank_branch), Arg(r.ubank_subbranch), Arg(r.ubank_card),  Arg(r.ubank_user),
            Arg(r.bc_id),     Arg(r.server_id),    Arg(r.ubank_state),     Arg(r.bc_server_id)};
}

int& LocalIdOf(BusinessCard& r) { return r.bc_id; }
int& LocalIdOf(TalEvent& r) { return r.event_id; }
int& LocalIdOf(UserInfo& r) { return r.user_id; }
int& LocalIdOf(EventComment& r) { return r.comment_id; }
int& LocalIdOf(EventAlarm& r) { return r.alarm_id; }
int& LocalIdOf(CardGroup& r) { return r.group_id; }
int& LocalIdOf(EventGroup& r) { return r.group_id; }
int& LocalIdOf(UserSettings& r) { return r.s_id; }
int& LocalIdOf(UserBankInfo& r) { return r.ubank_id; }

int& ServerIdOf(BusinessCard& r) { return r.bc_server_id; }
int& ServerIdOf(TalEvent& r) { return r.server_id; }
int& ServerIdOf(UserInfo& r) { return r.user_server_id; }
int& ServerIdOf(EventComment& r) { return r.server_id; }
int& ServerIdOf(EventAlarm& r) { return r.server_id; }
int& ServerIdOf(CardGroup& r) { return r.server_id; }
int& ServerIdOf(EventGroup& r) { return r.server_id; }
int& ServerIdOf(UserSettings& r) { return r.server_id; }
int& ServerIdOf(UserBankInfo& r) { return r.server_id; }

namespace {
constexpr const char* kMatterByServerId = "SELECT event_id FROM tb_event WHERE server_id=?;";
}  // namespace

ParentRef ParentOf(BusinessCard& r) {
    return {"SELECT group_id FROM tb_bc_group WHERE server_id=?;", &r.group_id, r.server_group_id};
}
ParentRef ParentOf(TalEvent& r) {
    return {"SELECT group_id FROM tb_event_group WHERE server_id=?;", &r.group_id, r.server_group_id};
}
ParentRef ParentOf(EventComment& r) { return {kMatterByServerId, &r.event_id, r.event_server_id}; }
ParentRef ParentOf(EventAlarm& r) { return {kMatterByServerId, &r.event_id, r.event_server_id}; }
ParentRef ParentOf(UserBankInfo& r) {
    return {"SELECT bc_id FROM tb_bc WHERE bc_server_id=?;", &r.bc_id, r.bc_server_id};
}
ParentRef ParentOf(UserInfo&) { return {}; }
ParentRef ParentOf(CardGroup&) { return {}; }
ParentRef ParentOf(EventGroup&) { return {}; }
ParentRef ParentOf(UserSettings&) { return {}; }

namespace {

int FillParentServerIdFrom(SqliteDb& db, const char* sql, int localParent, int& parentServerId) {
    if (parentServerId != 0) return 0;
    ResultTable t;
    if (db.query(sql, {Arg(localParent)}, t) != SQLITE_OK) return 1;
    if (!t.empty()) parentServerId = t.integer(0, 0);
    return 0;
}

constexpr const char* kMatterServerIdByLocal = "SELECT server_id FROM tb_event WHERE event_id=?;";

}  // namespace

int FillParentServerId(SqliteDb& db, EventComment& r) {
    return FillParentServerIdFrom(db, kMatterServerIdByLocal, r.event_id, r.event_server_id);
}
int FillParentServerId(SqliteDb& db, EventAlarm& r) {
    return FillParentServerIdFrom(db, kMatterServerIdByLocal, r.event_id, r.event_server_id);
}
int FillParentServerId(SqliteDb& db, UserBankInfo& r) {
    return FillParentServerIdFrom(db, "SELECT bc_server_id FROM tb_bc WHERE bc_id=?;", r.bc_id, r.bc_server_id);
}

void FillDerived(BusinessCard& card) { card.bc_name_pinyin = NamePinyin(card.bc_name); }

std::string InsertSql(const RowShape& shape) {
    std::string marks = "?";
    for (char c : shape.columns)
        if (c == ',') marks += ",?";
    std::string sql = std::string("INSERT INTO ") + shape.table + "(" + shape.columns + ")VALUES(" + marks + ")";
    if (shape.upsertKey == nullptr) return sql + ";";
    std::string set;
    std::size_t from = 0;
    while (from <= shape.columns.size()) {
        const std::size_t comma = std::min(shape.columns.find(',', from), shape.columns.size());
        const std::string column = shape.columns.substr(from, comma - from);
        if (column != shape.upsertKey) set += (set.empty() ? "" : ",") + column + "=excluded." + column;
        from = comma + 1;
    }
    return sql + " ON CONFLICT(" + shape.upsertKey + ") DO UPDATE SET " + set + ";";
}

std::string UpdateSql(const RowShape& shape, const char* whereColumn) {
    std::string set;
    for (char c : shape.columns) set += c == ',' ? std::string("=?,") : std::string(1, c);
    return std::string("UPDATE ") + shape.table + " SET " + set + "=? where " + whereColumn + "=?;";
}

int MapParent(SqliteDb& db, const ParentRef& parent) {
    // Ids below 1 mean "none assigned yet"; locally created parents that were never
    // uploaded carry them too, so looking them up would attach the record to one of
    // those at random.
    if (parent.lookupSql == nullptr || parent.serverId < 1) return 0;
    ResultTable t;
    if (db.query(parent.lookupSql, {Arg(parent.serverId)}, t) != SQLITE_OK) return 1;
    if (!t.empty()) *parent.localId = t.integer(0, 0);
    return 0;
}

}  // namespace kivtal::serverrows
