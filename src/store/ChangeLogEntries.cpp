// Writing the change log inside a caller's transaction: the entry insert and update,
// and the rules that fold a new add or change into the row's existing entry.
#include "store/ChangeLogEntries.h"

#include <sqlite3.h>

#include <exception>
#include <string>

#include "model/Clock.h"
#include "model/Diagnostics.h"
#include "model/RecordValues.h"
#include "store/ChangeLogRows.h"

namespace kivtal {

namespace {

const std::string kInsertColumns = "(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab)";
const std::string kInsertEntry = "INSERT INTO tb_sync_record" + kInsertColumns + "VALUES(?,?,?,?,?,?,?,?);";
const std::string kInsertDeferred = "INSERT INTO tb_sync_record_tmp" + kInsertColumns + "VALUES(?,?,?,?,?,?,?,?);";
// s_server_id and main_tab keep what the entry was created with.
constexpr const char* kUpdateEntry =
    "UPDATE tb_sync_record set oper_code=?,oper_ways=?,s_row_id=?,s_values=?,sync_state=?,oper_time=? "
    "where sync_id=?;";
constexpr const char* kFindWays = "SELECT oper_ways FROM tb_sync_record where s_row_id=? and oper_code=?;";
const std::string kFindEntry =
    std::string("SELECT ") + changelog::kEntryColumns + " FROM tb_sync_record where s_row_id=? and oper_code=?;";

// What the log needs to know about a changed row, whatever its kind.
struct RowFacts {
    int kind = 0;
    int rowId = 0;
    int addServerId = 0;     // s_server_id of an add entry
    int changeServerId = 0;  // s_server_id of an entry first created by a change
    int changeMainTab = 1;   // main_tab of an entry first created by a change
    std::string values;
};

RowFacts Facts(const BusinessCard& r) { return {OPER_CONTACT, r.bc_id, 0, r.bc_server_id, r.main_tab, {}}; }
RowFacts Facts(const TalEvent& r) { return {OPER_MATTER, r.event_id, r.server_id, r.server_id, 1, {}}; }
RowFacts Facts(const UserInfo& r) { return {OPER_USER, r.user_id, r.user_server_id, r.user_server_id, 1, {}}; }
RowFacts Facts(const EventComment& r) { return {OPER_REMARK, r.comment_id, r.server_id, r.server_id, 1, {}}; }
RowFacts Facts(const EventAlarm& r) { return {OPER_REMINDER, r.alarm_id, r.server_id, r.server_id, 1, {}}; }
RowFacts Facts(const CardGroup& r) { return {OPER_CONTACT_GROUP, r.group_id, r.server_id, r.server_id, 1, {}}; }
RowFacts Facts(const EventGroup& r) { return {OPER_MATTER_GROUP, r.group_id, 0, r.server_id, 1, {}}; }
RowFacts Facts(const UserSettings& r) { return {OPER_SETTINGS, r.s_id, r.server_id, r.server_id, 1, {}}; }
RowFacts Facts(const UserBankInfo& r) { return {OPER_BANK_ACCOUNT, r.ubank_id, r.server_id, r.server_id, 1, {}}; }

// Reminders go to the service by their own requests, never through the sync run, so
// their entries are born acknowledged.
int InitialState(int kind) { return kind == OPER_REMINDER ? SYNC_DONE : SYNC_PENDING; }

SqlArgs InsertArgs(const SyncRecord& e) {
    return {Arg(e.oper_code),  Arg(e.oper_ways), Arg(e.s_row_id),    Arg(e.s_values),
            Arg(e.sync_state), Arg(e.oper_time), Arg(e.s_server_id), Arg(e.main_tab)};
}

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

// The statement as it would read with its values in place, for the diagnostic line.
std::string InsertText(const char* table, const SyncRecord& e) {
    std::string values;
    for (const SqlArg& a : InsertArgs(e)) {
        if (!values.empty()) values += ',';
        values += std::holds_alternative<std::string>(a) ? Quoted(std::get<std::string>(a))
                                                         : Quoted(std::to_string(std::get<std::int64_t>(a)));
    }
    return std::string("INSERT INTO ") + table + kInsertColumns + "VALUES(" + values + ");";
}

int InsertInto(SqliteDb& db, const std::string& sql, const char* table, const SyncRecord& e) {
    if (DiagnosticsEnabled()) DebugLine(InsertText(table, e));
    return db.execute(sql, InsertArgs(e)) == SQLITE_OK ? 0 : 1;
}

SyncRecord NewEntry(const RowFacts& f, int ways, int serverId, int mainTab) {
    SyncRecord e;
    e.oper_code = f.kind;
    e.oper_ways = ways;
    e.s_row_id = f.rowId;
    e.s_values = f.values;
    e.sync_state = InitialState(f.kind);
    e.oper_time = NowSeconds();
    e.s_server_id = serverId;
    e.main_tab = mainTab;
    return e;
}

// Folds a new change into the row's existing entry.
void MergeChange(SyncRecord& e, const RowFacts& f) {
    e.s_values = f.values;
    e.oper_time = NowSeconds();
    if (f.kind == OPER_REMINDER) {
        e.oper_ways = WAY_MODIFY;
        e.sync_state = SYNC_DONE;
        return;
    }
    switch (e.sync_state) {
        case SYNC_DONE:  // acknowledged: the row is pending again, as a modify
            e.oper_ways = WAY_MODIFY;
            e.sync_state = SYNC_PENDING;
            break;
        case SYNC_SENDING:  // on its way up: keep this change aside until the run ends
            e.oper_ways = WAY_MODIFY;
            e.sync_state = SYNC_DEFERRED;
            break;
        default:  // never uploaded: an add stays an add and carries the newest values
            e.sync_state = SYNC_PENDING;
            break;
    }
}

int AddEntry(SqliteDb& db, const RowFacts& f) {
    ResultTable t;
    if (db.query(kFindWays, {Arg(f.rowId), Arg(f.kind)}, t) != SQLITE_OK) return 1;
    if (!t.empty()) return 0;
    return InsertSyncEntry(db, NewEntry(f, WAY_ADD, f.addServerId, 1));
}

int ChangeEntry(SqliteDb& db, const RowFacts& f) {
    ResultTable t;
    if (db.query(kFindEntry, {Arg(f.rowId), Arg(f.kind)}, t) != SQLITE_OK) return 1;
    if (t.empty()) return InsertSyncEntry(db, NewEntry(f, WAY_MODIFY, f.changeServerId, f.changeMainTab));
    SyncRecord e = changelog::EntryFromRow(t, 0);
    MergeChange(e, f);
    return UpdateSyncEntry(db, e);
}

// A value string that cannot be formatted (a text holding the separator) fails the
// write; no exception may leave the store.
template <class R, class Step>
int Log(SqliteDb& db, const R& record, Step step) {
    try {
        RowFacts f = Facts(record);
        f.values = FormatValues(record);
        return step(db, f);
    } catch (const std::exception& ex) {
        DebugLine(std::string("change log: ") + ex.what());
        return 1;
    }
}

template <class R>
int LogAddOf(SqliteDb& db, const R& record) {
    return Log(db, record, AddEntry);
}
template <class R>
int LogChangeOf(SqliteDb& db, const R& record) {
    return Log(db, record, ChangeEntry);
}

}  // namespace

int InsertSyncEntry(SqliteDb& db, const SyncRecord& entry) {
    return InsertInto(db, kInsertEntry, "tb_sync_record", entry);
}

int UpdateSyncEntry(SqliteDb& db, const SyncRecord& entry) {
    if (entry.sync_state == SYNC_DEFERRED) return InsertInto(db, kInsertDeferred, "tb_sync_record_tmp", entry);
    const SqlArgs args = {Arg(entry.oper_code),  Arg(entry.oper_ways), Arg(entry.s_row_id), Arg(entry.s_values),
                          Arg(entry.sync_state), Arg(entry.oper_time), Arg(entry.sync_id)};
    return db.execute(kUpdateEntry, args) == SQLITE_OK ? 0 : 1;
}

int ReadDeferredEntries(SqliteDb& db, std::vector<SyncRecord>& out) {
    static const std::string sql =
        std::string("SELECT ") + changelog::kEntryColumns + " FROM tb_sync_record_tmp ORDER BY sync_id;";
    ResultTable t;
    if (db.query(sql, t) != SQLITE_OK) return 1;
    changelog::AppendEntries(t, out);
    return 0;
}

int ClearDeferredEntries(SqliteDb& db) { return db.execute("delete from tb_sync_record_tmp;") == SQLITE_OK ? 0 : 1; }

int LogAdd(SqliteDb& db, const BusinessCard& r) { return LogAddOf(db, r); }
int LogAdd(SqliteDb& db, const TalEvent& r) { return LogAddOf(db, r); }
int LogAdd(SqliteDb& db, const UserInfo& r) { return LogAddOf(db, r); }
int LogAdd(SqliteDb& db, const EventComment& r) { return LogAddOf(db, r); }
int LogAdd(SqliteDb& db, const EventAlarm& r) { return LogAddOf(db, r); }
int LogAdd(SqliteDb& db, const CardGroup& r) { return LogAddOf(db, r); }
int LogAdd(SqliteDb& db, const EventGroup& r) { return LogAddOf(db, r); }
int LogAdd(SqliteDb& db, const UserSettings& r) { return LogAddOf(db, r); }
int LogAdd(SqliteDb& db, const UserBankInfo& r) { return LogAddOf(db, r); }

int LogChange(SqliteDb& db, const BusinessCard& r) { return LogChangeOf(db, r); }
int LogChange(SqliteDb& db, const TalEvent& r) { return LogChangeOf(db, r); }
int LogChange(SqliteDb& db, const UserInfo& r) { return LogChangeOf(db, r); }
int LogChange(SqliteDb& db, const EventComment& r) { return LogChangeOf(db, r); }
int LogChange(SqliteDb& db, const EventAlarm& r) { return LogChangeOf(db, r); }
int LogChange(SqliteDb& db, const CardGroup& r) { return LogChangeOf(db, r); }
int LogChange(SqliteDb& db, const EventGroup& r) { return LogChangeOf(db, r); }
int LogChange(SqliteDb& db, const UserSettings& r) { return LogChangeOf(db, r); }
int LogChange(SqliteDb& db, const UserBankInfo& r) { return LogChangeOf(db, r); }

}  // namespace kivtal
