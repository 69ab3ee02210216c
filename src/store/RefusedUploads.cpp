#include "store/RefusedUploads.h"

#include <sqlite3.h>

#include "model/Clock.h"
#include "model/SyncKinds.h"
#include "store/StoreStatus.h"

namespace kivtal {

namespace {

constexpr int kNoSuchEntry = 2;

// The names come from the rows themselves: cheap, and current.
constexpr const char* kListRefused =
    "SELECT r.sync_id,r.oper_code,r.s_row_id,r.s_server_id,f.reason,"
    "CASE r.oper_code WHEN ?1 THEN (SELECT bc_name FROM tb_bc WHERE bc_id=r.s_row_id) "
    "WHEN ?2 THEN (SELECT group_name FROM tb_bc_group WHERE group_id=r.s_row_id) "
    "WHEN ?3 THEN (SELECT group_name FROM tb_event_group WHERE group_id=r.s_row_id) END "
    "FROM tb_sync_record r LEFT JOIN tb_sync_refused f ON f.sync_id=r.sync_id "
    "WHERE r.sync_state=?4 ORDER BY r.sync_id;";

RefusedUpload RefusedFromRow(const ResultTable& t, int row) {
    RefusedUpload r;
    r.entryId = t.integer(row, 0);
    r.kind = t.integer(row, 1);
    r.rowId = t.integer(row, 2);
    r.serverId = t.integer(row, 3);
    r.reason = t.text(row, 4);
    r.name = t.text(row, 5);
    return r;
}

// Runs `statement` on one refused entry and drops its reason, in one transaction.
int ChangeRefused(LocalStore& store, int entryId, const char* statement, const SqlArgs& args) {
    StoreSession s = store.OpenUserDb();
    if (!s.ok()) return 1;
    SqliteTransaction tx(s.db());
    if (!tx.began()) return 1;
    ResultTable t;
    if (s.db().query("SELECT 1 FROM tb_sync_record WHERE sync_id=? AND sync_state=?;",
                     {Arg(entryId), Arg(SYNC_REFUSED)}, t) != SQLITE_OK)
        return 1;
    if (t.empty()) return kNoSuchEntry;
    if (s.db().execute(statement, args) != SQLITE_OK ||
        s.db().execute("DELETE FROM tb_sync_refused WHERE sync_id=?;", {Arg(entryId)}) != SQLITE_OK)
        return 1;
    return tx.commit() == SQLITE_OK ? 0 : 1;
}

}  // namespace

int MarkUploadsRefused(LocalStore& store, const std::vector<SyncRecord>& entries, const std::string& reason) {
    StoreSession s = store.OpenUserDb();
    if (!s.ok()) return 1;
    SqliteTransaction tx(s.db());
    if (!tx.began()) return 1;
    for (const SyncRecord& e : entries) {
        if (s.db().execute("UPDATE tb_sync_record SET sync_state=? WHERE sync_id=? AND sync_state=?;",
                           {Arg(SYNC_REFUSED), Arg(e.sync_id), Arg(SYNC_SENDING)}) != SQLITE_OK ||
            s.db().execute("INSERT OR REPLACE INTO tb_sync_refused(sync_id,reason,refused_at) VALUES(?,?,?);",
                           {Arg(e.sync_id), Arg(reason), Arg(NowSeconds())}) != SQLITE_OK)
            return 1;
    }
    return tx.commit() == SQLITE_OK ? 0 : 1;
}

int ListRefusedUploads(LocalStore& store, std::vector<RefusedUpload>& out) {
    StoreSession s = store.OpenUserDb();
    if (!s.ok()) return 1;
    ResultTable t;
    const SqlArgs args = {Arg(OPER_CONTACT), Arg(OPER_CONTACT_GROUP), Arg(OPER_MATTER_GROUP), Arg(SYNC_REFUSED)};
    if (s.db().query(kListRefused, args, t) != SQLITE_OK) return 1;
    for (int r = 0; r < t.rows(); ++r) out.push_back(RefusedFromRow(t, r));
    return 0;
}

int RefusedUploadCount(LocalStore& store, int& count) {
    StoreSession s = store.OpenUserDb();
    if (!s.ok()) return 1;
    ResultTable t;
    if (s.db().query("SELECT count(*) FROM tb_sync_record WHERE sync_state=?;", {Arg(SYNC_REFUSED)}, t) != SQLITE_OK)
        return 1;
    count = t.integer(0, 0);
    return 0;
}

int RetryRefusedUpload(LocalStore& store, int entryId) {
    return ChangeRefused(store, entryId, "UPDATE tb_sync_record SET sync_state=? WHERE sync_id=?;",
                         {Arg(SYNC_PENDING), Arg(entryId)});
}

int DiscardRefusedUpload(LocalStore& store, int entryId) {
    return ChangeRefused(store, entryId, "DELETE FROM tb_sync_record WHERE sync_id=?;", {Arg(entryId)});
}

}  // namespace kivtal
