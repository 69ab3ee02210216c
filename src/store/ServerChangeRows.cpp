#include "store/ServerChangeRows.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>

#include "store/RecordSql.h"
#include "text/NamePinyin.h"

namespace kivtal::serverrows {

namespace {

// A kind's row as its description lays it out: every column after the local key.
template <class R>
const RowShape& ShapeFromDescription() {
    const RecordDescription<R>& d = DescriptionOf<R>();
    static const RowShape shape{d.table, d.fields[0].column, recordsql::ColumnNamed<R>("server_id"),
                                recordsql::Columns<R>(true)};
    return shape;
}

}  // namespace

const RowShape& ShapeOf(const BusinessCard&) { return ShapeFromDescription<BusinessCard>(); }
const RowShape& ShapeOf(const TalEvent&) { return ShapeFromDescription<TalEvent>(); }
const RowShape& ShapeOf(const EventComment&) { return ShapeFromDescription<EventComment>(); }
const RowShape& ShapeOf(const EventAlarm&) { return ShapeFromDescription<EventAlarm>(); }
const RowShape& ShapeOf(const CardGroup&) { return ShapeFromDescription<CardGroup>(); }
const RowShape& ShapeOf(const EventGroup&) { return ShapeFromDescription<EventGroup>(); }
const RowShape& ShapeOf(const UserSettings&) { return ShapeFromDescription<UserSettings>(); }
const RowShape& ShapeOf(const UserBankInfo&) { return ShapeFromDescription<UserBankInfo>(); }
const RowShape& ShapeOf(const UserInfo&) {
    // The profile row keeps the service's account id as its own id: the login finds
    // the row by that id to store the login name and password digest in it.
    static const RowShape shape{"tb_user", "user_id", "user_server_id", recordsql::Columns<UserInfo>(false), "user_id"};
    return shape;
}

SqlArgs ColumnValues(const BusinessCard& r) { return recordsql::ColumnArgs(r, true); }
SqlArgs ColumnValues(const TalEvent& r) { return recordsql::ColumnArgs(r, true); }
SqlArgs ColumnValues(const UserInfo& r) { return recordsql::ColumnArgs(r, false); }
SqlArgs ColumnValues(const EventComment& r) { return recordsql::ColumnArgs(r, true); }
SqlArgs ColumnValues(const EventAlarm& r) { return recordsql::ColumnArgs(r, true); }
SqlArgs ColumnValues(const CardGroup& r) { return recordsql::ColumnArgs(r, true); }
SqlArgs ColumnValues(const EventGroup& r) { return recordsql::ColumnArgs(r, true); }
SqlArgs ColumnValues(const UserSettings& r) { return recordsql::ColumnArgs(r, true); }
SqlArgs ColumnValues(const UserBankInfo& r) { return recordsql::ColumnArgs(r, true); }

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
