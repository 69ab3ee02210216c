// The change-log operations of the sync engine: each takes the store lock and opens
// the user database for itself.
#include <sqlite3.h>

#include <string>

#include "store/ChangeLog.h"
#include "store/ChangeLogEntries.h"
#include "store/ChangeLogRows.h"
#include "store/StoreStatus.h"
#include "store/SyncBases.h"

namespace kivtal {

namespace {

// Where the service's id of each kind of row is written back. Table and column names
// are fixed here, never taken from the reply.
const char* MapServerIdSql(int operCode) {
    switch (operCode) {
        case OPER_CONTACT: return "UPDATE tb_bc SET bc_server_id=? where bc_id=?;";
        case OPER_MATTER: return "UPDATE tb_event SET server_id=? where event_id=?;";
        case OPER_USER: return "UPDATE tb_user SET user_server_id=? where user_id=?;";
        case OPER_REMARK: return "UPDATE tb_event_comment SET server_id=? where comment_id=?;";
        case OPER_REMINDER: return "UPDATE tb_event_alarm SET server_id=? where alarm_id=?;";
        case OPER_CONTACT_GROUP: return "UPDATE tb_bc_group SET server_id=? where group_id=?;";
        case OPER_MATTER_GROUP: return "UPDATE tb_event_group SET server_id=? where group_id=?;";
        case OPER_SETTINGS: return "UPDATE tb_user_settings SET server_id=? where s_id=?;";
        case OPER_BANK_ACCOUNT: return "UPDATE tb_ubank_info SET server_id=? where ubank_id=?;";
        default: return nullptr;
    }
}

constexpr const char* kAcknowledge =
    "UPDATE tb_sync_record SET sync_state = ? , s_server_id=? where s_row_id=? and oper_code=? ;";

bool ApplyResult(SqliteDb& db, const SyncRecord& r) {
    if (const char* map = MapServerIdSql(r.oper_code)) {
        if (db.executeCached(map, {Arg(r.s_server_id), Arg(r.s_row_id)}) != SQLITE_OK) return false;
    }
    const SqlArgs ack = {Arg(r.sync_state), Arg(r.s_server_id), Arg(r.s_row_id), Arg(r.oper_code)};
    // What went up is what both sides now hold.
    return db.executeCached(kAcknowledge, ack) == SQLITE_OK &&
           syncbase::Write(db, r.oper_code, r.s_server_id, r.s_values);
}

StoreStatus ReadPending(SqliteDb& db, std::vector<SyncRecord>& out) {
    // In the order they were logged: a parent goes up before its children.
    static const std::string sql =
        std::string("SELECT ") + changelog::kEntryColumns + " FROM tb_sync_record where sync_state=? ORDER BY sync_id;";
    ResultTable t;
    if (db.query(sql, {Arg(SYNC_PENDING)}, t) != SQLITE_OK) return StoreStatus::kFailed;
    changelog::AppendEntries(t, out);
    return StoreStatus::kOk;
}

}  // namespace

int AcknowledgeOn(SqliteDb& db, const std::vector<SyncRecord>& results) {
    for (const SyncRecord& r : results)
        if (!ApplyResult(db, r)) return 1;
    return 0;
}

int ChangeLog::PendingEntries(std::vector<SyncRecord>& out) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    return ResultOf(ReadPending(s.db(), out));
}

int ChangeLog::TakePendingForSending(std::vector<SyncRecord>& out) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    SqliteTransaction tx(s.db());
    if (!tx.began()) return -1;
    std::vector<SyncRecord> taken;
    if (ReadPending(s.db(), taken) != StoreStatus::kOk) return 1;
    const SqlArgs args = {Arg(SYNC_SENDING), Arg(SYNC_PENDING)};
    if (s.db().execute("UPDATE tb_sync_record SET sync_state=? where sync_state=?;", args) != SQLITE_OK) return 1;
    if (tx.commit() != SQLITE_OK) return 1;
    for (SyncRecord& e : taken) out.push_back(std::move(e));
    return 0;
}

int ChangeLog::ApplyCommitResults(int syncTime, const std::vector<SyncRecord>& results) {
    // The upload has already been accepted, so its server ids are written even when the
    // time could not be; the failure is still reported, so that the caller does not
    // take the run for complete.
    const int timeResult = StoreSyncTime(syncTime);
    const int ackResult = AcknowledgeResults(results);
    return ackResult != 0 ? ackResult : timeResult;
}

int ChangeLog::AcknowledgeResults(const std::vector<SyncRecord>& results) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    if (results.empty()) return 0;
    SqliteTransaction tx(s.db());
    if (!tx.began()) return 1;
    if (AcknowledgeOn(s.db(), results) != 0) return 1;  // tx rolls every mapping back
    return tx.commit() == SQLITE_OK ? 0 : 1;
}

int ChangeLog::ReopenEntries(const std::vector<SyncRecord>& rows, const SyncBases& basesBefore) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    SqliteTransaction tx(s.db());
    if (!tx.began()) return -1;
    for (const SyncRecord& r : rows) {
        const SqlArgs args = {Arg(SYNC_PENDING), Arg(WAY_MODIFY), Arg(r.s_row_id), Arg(r.oper_code), Arg(SYNC_DONE)};
        if (s.db().execute("UPDATE tb_sync_record SET sync_state=?,oper_ways=? where s_row_id=? and oper_code=? "
                           "and sync_state=?;",
                           args) != SQLITE_OK)
            return 1;
        if (!syncbase::Restore(s.db(), r.oper_code, r.s_server_id, basesBefore)) return 1;
    }
    return tx.commit() == SQLITE_OK ? 0 : 1;
}

int ChangeLog::StoreSyncTime(int syncTime) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    return s.db().execute("UPDATE tb_sync_time SET tal_sync_time = ?;", {Arg(syncTime)}) == SQLITE_OK ? 0 : 1;
}

int ChangeLog::ReadSyncTime(int& syncTime) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    ResultTable t;
    if (s.db().query("SELECT tal_sync_time FROM tb_sync_time;", t) != SQLITE_OK) return 1;
    if (!t.empty()) syncTime = t.integer(0, 0);
    return 0;
}

int ChangeLog::StoreLastSyncFinish(int finishedAt) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    return s.db().execute("INSERT OR REPLACE INTO client_last_sync(id,finished_at) VALUES(1,?);", {Arg(finishedAt)}) ==
                   SQLITE_OK
               ? 0
               : 1;
}

int ChangeLog::ReadLastSyncFinish(int& finishedAt) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    ResultTable t;
    if (s.db().query("SELECT finished_at FROM client_last_sync WHERE id = 1;", t) != SQLITE_OK) return 1;
    finishedAt = t.empty() ? 0 : t.integer(0, 0);
    return 0;
}

int ChangeLog::MarkSending(const std::vector<SyncRecord>& entries) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    SqliteTransaction tx(s.db());
    if (!tx.began()) return -1;
    for (const SyncRecord& e : entries) {
        const SqlArgs args = {Arg(SYNC_SENDING), Arg(e.sync_id), Arg(SYNC_PENDING)};
        if (s.db().execute("UPDATE tb_sync_record SET sync_state=? where sync_id=? and sync_state=?;", args) !=
            SQLITE_OK)
            return 1;
    }
    return tx.commit() == SQLITE_OK ? 0 : 1;
}

int ChangeLog::ResetSendingEntries() {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    const SqlArgs args = {Arg(SYNC_PENDING), Arg(SYNC_SENDING)};
    return s.db().execute("UPDATE tb_sync_record SET sync_state=? where sync_state=?;", args) == SQLITE_OK ? 0 : 1;
}

int ChangeLog::TakeDeferredEntries(std::vector<SyncRecord>& out) {
    auto s = store_.OpenUserDb();
    if (!s.ok()) return 1;
    SqliteTransaction tx(s.db());
    if (!tx.began()) return -1;
    std::vector<SyncRecord> taken;
    if (ReadDeferredEntries(s.db(), taken) != 0 || ClearDeferredEntries(s.db()) != 0) return 1;
    if (tx.commit() != SQLITE_OK) return 1;
    out.insert(out.end(), taken.begin(), taken.end());
    return 0;
}

}  // namespace kivtal
