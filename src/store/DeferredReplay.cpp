// Edits made while their change-log entry was being uploaded were kept aside in
// tb_sync_record_tmp; once the run is over the entries it held are let go and those
// edits are logged again as ordinary ones, in one transaction, so that no save can land
// between the two and be overwritten by an older deferred value.
#include <sqlite3.h>

#include <exception>
#include <set>
#include <string>
#include <utility>

#include "model/Diagnostics.h"
#include "model/RecordValues.h"
#include "store/ChangeLogEntries.h"
#include "store/ServerChangeRows.h"
#include "store/ServerChanges.h"
#include "store/StoreStatus.h"

namespace kivtal {

namespace {

using namespace serverrows;

using RowKey = std::pair<int, int>;  // (oper_code, s_row_id)

// The row's server id as it is now; not found when the row is gone.
StoreStatus CurrentServerId(SqliteDb& db, const RowShape& shape, int localId, int& serverId) {
    const std::string sql = std::string("SELECT ") + shape.serverIdColumn + " FROM " + shape.table + " WHERE " +
                            shape.localIdColumn + "=?;";
    ResultTable t;
    if (db.query(sql, {Arg(localId)}, t) != SQLITE_OK) return StoreStatus::kFailed;
    if (t.empty()) return StoreStatus::kNotFound;
    serverId = t.integer(0, 0);
    return StoreStatus::kOk;
}

template <class R>
StoreStatus ReplayRow(SqliteDb& db, const SyncRecord& e, R& record) {
    ParseValues(e.s_values, record);
    LocalIdOf(record) = e.s_row_id;
    const RowShape& shape = ShapeOf(record);
    // The run that deferred this edit may since have given the row, or its parent, a
    // server id; the value string still holds the one from before and must not wipe it.
    if (const StoreStatus s = CurrentServerId(db, shape, e.s_row_id, ServerIdOf(record)); s != StoreStatus::kOk)
        return s;
    if (FillParentServerId(db, record) != 0) return StoreStatus::kFailed;
    FillDerived(record);
    SqlArgs args = ColumnValues(record);
    args.push_back(Arg(e.s_row_id));
    if (db.execute(UpdateSql(shape, shape.localIdColumn), args) != SQLITE_OK) return StoreStatus::kFailed;
    return StatusOf(LogChange(db, record) == 0);
}

// A savepoint keeps the row and its log entry together. A failing database fails the
// whole step (it is retried after the next run); an entry whose row is gone or whose
// values cannot be read is dropped.
StoreStatus ReplayEntry(SqliteDb& db, const SyncRecord& e) {
    if (e.oper_ways != WAY_MODIFY) return StoreStatus::kOk;
    if (db.execute("SAVEPOINT replay_entry;") != SQLITE_OK) return StoreStatus::kFailed;
    StoreStatus status = StoreStatus::kFailed;
    try {
        VisitKind(e.oper_code, [&](auto& record) { status = ReplayRow(db, e, record); });
    } catch (const std::exception&) {
        status = StoreStatus::kNotFound;
    }
    if (status != StoreStatus::kOk) {
        DebugLine("deferred change dropped: " + std::to_string(e.oper_code) + "/" + std::to_string(e.s_row_id));
        db.execute("ROLLBACK TO replay_entry;");
    }
    if (db.execute("RELEASE replay_entry;") != SQLITE_OK) return StoreStatus::kFailed;
    return status == StoreStatus::kFailed ? status : StoreStatus::kOk;
}

// Rows edited after this run's acknowledgement already hold a newer edit than anything
// deferred for them, and their entries are pending with it.
StoreStatus RowsEditedSinceAcknowledged(SqliteDb& db, std::set<RowKey>& out) {
    ResultTable t;
    if (db.query("SELECT oper_code,s_row_id FROM tb_sync_record WHERE sync_state=?;", {Arg(SYNC_PENDING)}, t) !=
        SQLITE_OK)
        return StoreStatus::kFailed;
    for (int r = 0; r < t.rows(); ++r) out.insert({t.integer(r, 0), t.integer(r, 1)});
    return StoreStatus::kOk;
}

StoreStatus ReleaseAndReplay(SqliteDb& db) {
    std::vector<SyncRecord> deferred;
    if (ReadDeferredEntries(db, deferred) != 0) return StoreStatus::kFailed;
    std::set<RowKey> newer;
    if (!deferred.empty() && RowsEditedSinceAcknowledged(db, newer) != StoreStatus::kOk) return StoreStatus::kFailed;
    const SqlArgs release = {Arg(SYNC_PENDING), Arg(SYNC_SENDING)};
    if (db.execute("UPDATE tb_sync_record SET sync_state=? where sync_state=?;", release) != SQLITE_OK)
        return StoreStatus::kFailed;
    for (const SyncRecord& e : deferred) {
        if (newer.count({e.oper_code, e.s_row_id}) != 0) continue;
        if (ReplayEntry(db, e) != StoreStatus::kOk) return StoreStatus::kFailed;
    }
    return deferred.empty() ? StoreStatus::kOk : StatusOf(ClearDeferredEntries(db) == 0);
}

}  // namespace

int replayDeferredChanges(LocalStore& store) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SqliteDb& db = session.db();
    SqliteTransaction tx(db);
    if (!tx.began()) return 255;
    if (ReleaseAndReplay(db) != StoreStatus::kOk) return 1;
    return tx.commit() == SQLITE_OK ? 0 : 255;
}

}  // namespace kivtal
