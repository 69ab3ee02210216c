// Received changes and acknowledgements: the sync run's writes after a successful upload,
// in one transaction.
#include "store/ServerChanges.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "model/Clock.h"
#include "model/Diagnostics.h"
#include "model/RecordValues.h"
#include "store/ChangeLogEntries.h"
#include "store/ServerChangeRows.h"
#include "store/SetAsideChanges.h"
#include "store/StoreStatus.h"
#include "store/SyncBases.h"
#include "store/TrashRows.h"

namespace kivtal {

namespace {

using namespace serverrows;
using setaside::Failure;

// A sync that brought nothing keeps the time it had: rewriting it would cost the run a
// write to the disk for nothing.
constexpr const char* kStoreSyncTime = "UPDATE tb_sync_time SET tal_sync_time = ?1 WHERE tal_sync_time IS NOT ?1;";

// The database refuses the row, and will refuse it again; anything else (a busy,
// locked or full database, a failing disk) may heal by the next run.
bool Permanent(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_CONSTRAINT || primary == SQLITE_MISMATCH || primary == SQLITE_TOOBIG;
}

bool Fail(Failure& failure, bool permanent, std::string reason) {
    DebugLine("received change not stored: " + reason);
    failure = {permanent, std::move(reason)};
    return false;
}

// True when the statement went through.
bool Succeeded(SqliteDb& db, int rc, const std::string& what, Failure& failure) {
    return rc == SQLITE_OK || Fail(failure, Permanent(rc), what + ": " + db.lastError());
}

// Whether some local row holds the server id. False when the query fails.
bool FindServerRow(SqliteDb& db, const RowShape& shape, int serverId, bool& found, Failure& failure) {
    found = false;
    // Rows that were never uploaded share ids below 1; a modify naming one of those
    // would overwrite all of them.
    if (serverId < 1) return true;
    const std::string sql = std::string("SELECT ") + shape.localIdColumn + " FROM " + shape.table + " WHERE " +
                            shape.serverIdColumn + "=?;";
    ResultTable t;
    if (!Succeeded(db, db.query(sql, {Arg(serverId)}, t), "row lookup failed", failure)) return false;
    found = !t.empty();
    return true;
}

template <class R>
bool WriteReceived(SqliteDb& db, const SyncRecord& e, R& record, Failure& failure) {
    ParseValues(e.s_values, record);  // throws before anything is written
    ServerIdOf(record) = e.s_server_id;
    if (MapParent(db, ParentOf(record)) != 0) return Fail(failure, false, "parent lookup failed");
    FillDerived(record);
    const RowShape& shape = ShapeOf(record);
    bool exists = false;
    if (e.oper_ways == WAY_MODIFY && !FindServerRow(db, shape, e.s_server_id, exists, failure)) return false;
    SqlArgs args = ColumnValues(record);
    if (!exists) {
        if (!Succeeded(db, db.executeCached(InsertSql(shape), args), "the database refused the row", failure))
            return false;
    } else {
        args.push_back(Arg(e.s_server_id));
        if (!Succeeded(db, db.executeCached(UpdateSql(shape, shape.serverIdColumn), args),
                       "the database refused the change", failure))
            return false;
    }
    // A record that arrives already deleted was never live here: it is no deletion of
    // this device's, and a new device's first sync would fill its trash with old ones.
    if (exists && !trash::SettleReceived(db, record, e.s_server_id, NowSeconds()))
        return Fail(failure, false, "the deletion time could not be kept");
    // What came down is what both sides now hold.
    return Succeeded(db, syncbase::Write(db, e.oper_code, e.s_server_id, e.s_values) ? SQLITE_OK : SQLITE_ERROR,
                     "the base could not be kept", failure);
}

// True when written or skipped.
bool ApplyEntry(SqliteDb& db, const SyncRecord& e, Failure& failure) {
    if (e.oper_ways != WAY_ADD && e.oper_ways != WAY_MODIFY) return true;
    bool ok = true;
    try {
        if (!VisitKind(e.oper_code, [&](auto& record) { ok = WriteReceived(db, e, record, failure); }))
            return Fail(failure, true, "unknown kind " + std::to_string(e.oper_code));
    } catch (const std::exception& ex) {
        // Cut short or garbled on its way: it will read no better next time.
        return Fail(failure, true, std::string("its values cannot be read (") + ex.what() + ")");
    }
    return ok;
}

// One step inside the batch's transaction, undone alone when it fails.
class Savepoint {
public:
    explicit Savepoint(SqliteDb& db) : db_(db) { began_ = db_.execute("SAVEPOINT retry;") == SQLITE_OK; }
    ~Savepoint() {
        // Never failed by the fault seam, as a rollback: it is how a failure is survived.
        if (began_ && !released_)
            sqlite3_exec(db_.raw(), "ROLLBACK TO retry; RELEASE retry;", nullptr, nullptr, nullptr);
    }
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    bool began() const { return began_; }
    bool release() { return released_ = db_.execute("RELEASE retry;") == SQLITE_OK; }

private:
    SqliteDb& db_;
    bool began_ = false;
    bool released_ = false;
};

enum class Retry { kStored, kStillFails, kFailed };

// A set-aside change tried again: it leaves the list when it goes through; when it
// fails for good again it stays, with the new reason. kFailed when the database failed.
Retry TryAgain(SqliteDb& db, const SetAsideChange& a, Failure& failure) {
    {
        Savepoint step(db);
        if (!step.began()) return Retry::kFailed;
        if (ApplyEntry(db, a.change, failure))
            return setaside::Remove(db, a.id) && step.release() ? Retry::kStored : Retry::kFailed;
        if (!failure.permanent) return Retry::kFailed;
    }
    return setaside::NoteFailedAgain(db, a.id, failure.reason) ? Retry::kStillFails : Retry::kFailed;
}

// A newer change of the same record went through: the set-aside one would only bring
// back older values.
bool Supersedes(const SyncRecord& applied, const SetAsideChange& a) {
    return applied.s_server_id > 0 && a.change.oper_code == applied.oper_code &&
           a.change.s_server_id == applied.s_server_id;
}

bool DropSuperseded(SqliteDb& db, const std::vector<SetAsideChange>& aside, const SyncRecord& applied) {
    for (const SetAsideChange& a : aside)
        if (Supersedes(applied, a) && !setaside::Remove(db, a.id)) return false;
    return true;
}

// The received changes after the set-aside ones (those are older, and tried again
// unless `retryAside` is false), then the time.
StoreStatus ApplyReceived(SqliteDb& db, const SyncRecordList& changes, int syncTime, bool retryAside, Failure& failure,
                          std::optional<std::size_t>& failed) {
    std::vector<SetAsideChange> aside;
    if (!setaside::ReadSetAside(db, aside)) return StoreStatus::kFailed;
    for (const SetAsideChange& a : aside) {
        Failure again;
        if (retryAside && TryAgain(db, a, again) == Retry::kFailed) return StoreStatus::kFailed;
    }
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (setaside::Contains(aside, changes[i])) continue;
        if (!ApplyEntry(db, changes[i], failure)) {
            failed = i;
            return StoreStatus::kFailed;
        }
        if (!DropSuperseded(db, aside, changes[i])) return StoreStatus::kFailed;
    }
    if (db.execute(kStoreSyncTime, {Arg(syncTime)}) != SQLITE_OK) return StoreStatus::kFailed;
    return StatusOf(setaside::ForgetFailures(db));
}

// The whole answer in one transaction; the index of the received change that failed,
// when one did.
StoreStatus TrySettle(SqliteDb& db, const SyncRecordList& results, const SyncRecordList& changes, int syncTime,
                      const SyncClashList& clashes, bool retryAside, Failure& failure,
                      std::optional<std::size_t>& failed) {
    SqliteTransaction tx(db);
    if (!tx.began() || AcknowledgeOn(db, results) != 0) return StoreStatus::kFailed;
    if (ApplyReceived(db, changes, syncTime, retryAside, failure, failed) != StoreStatus::kOk ||
        !syncbase::WriteClashes(db, clashes))
        return StoreStatus::kFailed;
    return StatusOf(tx.commit() == SQLITE_OK);
}

int AcknowledgeAlone(SqliteDb& db, const SyncRecordList& results) {
    if (results.empty()) return 1;
    SqliteTransaction tx(db);
    return tx.began() && AcknowledgeOn(db, results) == 0 && tx.commit() == SQLITE_OK ? kOnlyAcknowledged : 1;
}

}  // namespace

int settleSyncRun(LocalStore& store, const SyncRecordList& results, const SyncRecordList& changes, int syncTime,
                  const SyncClashList& clashes) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SqliteDb& db = session.db();
    bool setAsideHere = false;
    // Each try sets at most one change aside, which the next try skips; the changes set
    // aside earlier are tried again in the first.
    for (std::size_t tries = 0; tries <= changes.size(); ++tries) {
        Failure failure;
        std::optional<std::size_t> failed;
        if (TrySettle(db, results, changes, syncTime, clashes, tries == 0, failure, failed) == StoreStatus::kOk)
            return setAsideHere ? kStoredWithSetAside : 0;
        // Rolled back. A change that fails for good is counted outside the batch, so
        // that one failing run after run is set aside instead of blocking every later
        // change; a failure that may heal counts against nothing.
        bool nowAside = false;
        if (!failed || !failure.permanent || !setaside::CountFailure(db, changes[*failed], failure.reason, nowAside) ||
            !nowAside)
            break;
        setAsideHere = true;
    }
    // The service holds the uploaded entries whatever became of the changes: they must
    // never go up again.
    return AcknowledgeAlone(db, results);
}

int applyServerChanges(LocalStore& store, const SyncRecordList& changes, int syncTime) {
    return settleSyncRun(store, {}, changes, syncTime);
}

int RetrySetAsideChange(LocalStore& store, int id, std::string& reason) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SqliteDb& db = session.db();
    std::vector<SetAsideChange> aside;
    if (!setaside::ReadSetAside(db, aside)) return 1;
    const auto it = std::find_if(aside.begin(), aside.end(), [&](const SetAsideChange& a) { return a.id == id; });
    if (it == aside.end()) return kSetAsideNotFound;
    SqliteTransaction tx(db);
    if (!tx.began()) return 1;
    Failure failure;
    const Retry r = TryAgain(db, *it, failure);
    if (r == Retry::kFailed || tx.commit() != SQLITE_OK) return 1;
    if (r == Retry::kStored) return 0;
    reason = failure.reason;
    return kStillFails;
}

}  // namespace kivtal
