// Received changes and acknowledgements: the sync run's writes after a successful upload.
#include "store/ServerChanges.h"

#include <sqlite3.h>

#include <exception>
#include <string>

#include "model/RecordValues.h"
#include "store/ServerChangeRows.h"
#include "text/Diagnostics.h"

namespace kivtal {

namespace {

using namespace serverrows;

constexpr const char* kStoreSyncTime = "UPDATE tb_sync_time SET tal_sync_time = ?;";
constexpr const char* kAcknowledge =
    "UPDATE tb_sync_record SET sync_state = ? , s_server_id=? where s_row_id=? and oper_code=? ;";

bool Failed(SqliteDb& db, int rc, const std::string& what) {
    if (rc == SQLITE_OK) return false;
    DebugLine(what + ": " + db.lastError());
    return true;
}

// Whether some local row holds the server id. 0, or 1 when the query fails.
int FindServerRow(SqliteDb& db, const RowShape& shape, int serverId, bool& found) {
    found = false;
    // Rows that were never uploaded share ids below 1; a modify naming one of those
    // would overwrite all of them.
    if (serverId < 1) return 0;
    const std::string sql = std::string("SELECT ") + shape.localIdColumn + " FROM " + shape.table + " WHERE " +
                            shape.serverIdColumn + "=?;";
    ResultTable t;
    if (Failed(db, db.query(sql, {Arg(serverId)}, t), sql)) return 1;
    found = !t.empty();
    return 0;
}

template <class R>
int WriteReceived(SqliteDb& db, const SyncRecord& e, R& record) {
    ParseValues(e.s_values, record);  // throws before anything is written
    ServerIdOf(record) = e.s_server_id;
    if (MapParent(db, ParentOf(record)) != 0) return 1;
    FillDerived(record);
    const RowShape& shape = ShapeOf(record);
    bool exists = false;
    if (e.oper_ways == WAY_MODIFY && FindServerRow(db, shape, e.s_server_id, exists) != 0) return 1;
    SqlArgs args = ColumnValues(record);
    if (!exists) return Failed(db, db.execute(InsertSql(shape), args), "insert received change") ? 1 : 0;
    args.push_back(Arg(e.s_server_id));
    return Failed(db, db.execute(UpdateSql(shape, shape.serverIdColumn), args), "update received change") ? 1 : 0;
}

// 0 when written or skipped, 1 when the database failed.
int ApplyEntry(SqliteDb& db, const SyncRecord& e) {
    if (e.oper_ways != WAY_ADD && e.oper_ways != WAY_MODIFY) return 0;
    int rc = 0;
    try {
        VisitKind(e.oper_code, [&](auto& record) { rc = WriteReceived(db, e, record); });
    } catch (const std::exception& ex) {
        // One entry this client cannot read must not hold back every later run.
        DebugLine("skipped received change " + std::to_string(e.oper_code) + "/" + std::to_string(e.s_server_id) +
                  ": " + ex.what());
        return 0;
    }
    return rc;
}

}  // namespace

int applyServerChanges(LocalStore& store, const SyncRecordList& changes, int syncTime) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SqliteDb& db = session.db();
    SqliteTransaction tx(db);
    if (!tx.began()) return 1;
    for (const SyncRecord& e : changes) {
        if (ApplyEntry(db, e) != 0) return 1;  // tx rolls back
    }
    if (Failed(db, db.execute(kStoreSyncTime, {Arg(syncTime)}), "store sync time")) return 1;
    return tx.commit() == SQLITE_OK ? 0 : 1;
}


}  // namespace kivtal
