// Received changes and acknowledgements: the sync run's writes after a successful upload.
#include "store/ServerChanges.h"

#include <sqlite3.h>

#include <exception>
#include <optional>
#include <string>

#include "model/Diagnostics.h"
#include "model/RecordValues.h"
#include "store/ServerChangeRows.h"
#include "store/SetAsideChanges.h"
#include "store/StoreStatus.h"

namespace kivtal {

namespace {

using namespace serverrows;

constexpr const char* kStoreSyncTime = "UPDATE tb_sync_time SET tal_sync_time = ?;";

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

// Writes the batch and the time; the index of the entry that failed, when one did.
StoreStatus ApplyBatch(SqliteDb& db, const SyncRecordList& changes, int syncTime, std::optional<std::size_t>& failed) {
    std::vector<SyncRecord> asideList;
    if (!setaside::ReadSetAside(db, asideList)) return StoreStatus::kFailed;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (setaside::Contains(asideList, changes[i])) continue;
        if (ApplyEntry(db, changes[i]) != 0) {
            failed = i;
            return StoreStatus::kFailed;
        }
    }
    if (Failed(db, db.execute(kStoreSyncTime, {Arg(syncTime)}), "store sync time")) return StoreStatus::kFailed;
    return StatusOf(setaside::ForgetFailures(db));
}

}  // namespace

int applyServerChanges(LocalStore& store, const SyncRecordList& changes, int syncTime) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SqliteDb& db = session.db();
    std::optional<std::size_t> failed;
    {
        SqliteTransaction tx(db);
        if (!tx.began()) return 1;
        if (ApplyBatch(db, changes, syncTime, failed) == StoreStatus::kOk && tx.commit() == SQLITE_OK) return 0;
    }
    // Rolled back. The change that failed is counted outside the batch, so that one
    // that fails run after run is set aside instead of blocking every later change.
    if (failed) setaside::CountFailure(db, changes[*failed]);
    return 1;
}

}  // namespace kivtal
