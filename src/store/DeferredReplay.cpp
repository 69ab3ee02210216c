// Edits made while their change-log entry was being uploaded were kept aside in
// tb_sync_record_tmp; once the run is over they are written again as ordinary edits.
#include <sqlite3.h>

#include <exception>
#include <string>

#include "model/RecordValues.h"
#include "store/ChangeLog.h"
#include "store/ServerChangeRows.h"
#include "store/ServerChanges.h"
#include "text/Diagnostics.h"

namespace kivtal {

namespace {

using namespace serverrows;

// The row's server id as it is now, or 1 when the row is gone or the query fails.
int CurrentServerId(SqliteDb& db, const RowShape& shape, int localId, int& serverId) {
    const std::string sql = std::string("SELECT ") + shape.serverIdColumn + " FROM " + shape.table + " WHERE " +
                            shape.localIdColumn + "=?;";
    ResultTable t;
    if (db.query(sql, {Arg(localId)}, t) != SQLITE_OK || t.empty()) return 1;
    serverId = t.integer(0, 0);
    return 0;
}

template <class R>
int ReplayRow(SqliteDb& db, const SyncRecord& e, R& record) {
    ParseValues(e.s_values, record);
    LocalIdOf(record) = e.s_row_id;
    const RowShape& shape = ShapeOf(record);
    // The run that deferred this edit may since have given the row its server id; the
    // value string still holds the one from before and must not wipe it.
    if (CurrentServerId(db, shape, e.s_row_id, ServerIdOf(record)) != 0) return 1;
    FillDerived(record);
    SqlArgs args = ColumnValues(record);
    args.push_back(Arg(e.s_row_id));
    if (db.execute(UpdateSql(shape, shape.localIdColumn), args) != SQLITE_OK) return 1;
    // Settings follow the profile to the service by other means; they are not logged.
    if (e.oper_code == OPER_SETTINGS) return 0;
    return LogChange(db, record);
}

// A savepoint keeps the row and its log entry together when one of them fails.
void ReplayEntry(SqliteDb& db, const SyncRecord& e) {
    if (e.oper_ways != WAY_MODIFY) return;
    if (db.execute("SAVEPOINT replay_entry;") != SQLITE_OK) return;
    int rc = 1;
    try {
        VisitKind(e.oper_code, [&](auto& record) { rc = ReplayRow(db, e, record); });
    } catch (const std::exception&) {
        rc = 1;
    }
    if (rc != 0) {
        DebugLine("deferred change dropped: " + std::to_string(e.oper_code) + "/" + std::to_string(e.s_row_id));
        db.execute("ROLLBACK TO replay_entry;");
    }
    db.execute("RELEASE replay_entry;");
}

}  // namespace

int replayDeferredChanges(LocalStore& store) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SqliteDb& db = session.db();
    SqliteTransaction tx(db);
    if (!tx.began()) return 255;
    std::vector<SyncRecord> deferred;
    if (ReadDeferredEntries(db, deferred) != 0) return 1;
    if (deferred.empty()) return 0;
    for (const SyncRecord& e : deferred) ReplayEntry(db, e);
    if (ClearDeferredEntries(db) != 0) return 1;
    return tx.commit() == SQLITE_OK ? 0 : 255;
}

}  // namespace kivtal
