#include "store/SetAsideChanges.h"

#include <sqlite3.h>

#include <algorithm>

#include "model/Diagnostics.h"
#include "store/ServerChanges.h"

namespace kivtal::setaside {

namespace {

constexpr const char* kMatch = "oper_code=? AND oper_ways=? AND s_server_id=? AND s_values=?";

SqlArgs Key(const SyncRecord& c) { return {Arg(c.oper_code), Arg(c.oper_ways), Arg(c.s_server_id), Arg(c.s_values)}; }

bool SameChange(const SyncRecord& a, const SyncRecord& b) {
    return a.oper_code == b.oper_code && a.oper_ways == b.oper_ways && a.s_server_id == b.s_server_id &&
           a.s_values == b.s_values;
}

}  // namespace

bool ReadSetAside(SqliteDb& db, std::vector<SyncRecord>& out) {
    ResultTable t;
    if (db.query("SELECT oper_code,oper_ways,s_server_id,s_values FROM tb_sync_set_aside WHERE set_aside=1;", t) !=
        SQLITE_OK)
        return false;
    for (int r = 0; r < t.rows(); ++r) {
        SyncRecord c;
        c.oper_code = t.integer(r, 0);
        c.oper_ways = t.integer(r, 1);
        c.s_server_id = t.integer(r, 2);
        c.s_values = t.text(r, 3);
        out.push_back(std::move(c));
    }
    return true;
}

bool Contains(const std::vector<SyncRecord>& setAside, const SyncRecord& change) {
    return std::any_of(setAside.begin(), setAside.end(), [&](const SyncRecord& c) { return SameChange(c, change); });
}

bool CountFailure(SqliteDb& db, const SyncRecord& change) {
    SqliteTransaction tx(db);
    if (!tx.began()) return false;
    SqlArgs bump = {Arg(kSetAsideAfterRuns)};
    const SqlArgs key = Key(change);
    bump.insert(bump.end(), key.begin(), key.end());
    if (db.execute(std::string("UPDATE tb_sync_set_aside SET failed_runs=failed_runs+1,"
                               "set_aside=(failed_runs+1>=?) WHERE ") +
                       kMatch + ";",
                   bump) != SQLITE_OK)
        return false;
    if (db.changes() == 0) {
        SqlArgs insert = key;
        insert.push_back(Arg(change.main_tab));
        insert.push_back(Arg(change.oper_time));
        insert.push_back(Arg(kSetAsideAfterRuns <= 1 ? 1 : 0));
        if (db.execute("INSERT INTO tb_sync_set_aside(oper_code,oper_ways,s_server_id,s_values,main_tab,oper_time,"
                       "failed_runs,set_aside)VALUES(?,?,?,?,?,?,1,?);",
                       insert) != SQLITE_OK)
            return false;
    }
    DebugLine("received change failed: " + std::to_string(change.oper_code) + "/" + std::to_string(change.s_server_id));
    return tx.commit() == SQLITE_OK;
}

bool ForgetFailures(SqliteDb& db) {
    return db.execute("DELETE FROM tb_sync_set_aside WHERE set_aside=0;") == SQLITE_OK;
}

}  // namespace kivtal::setaside

namespace kivtal {

int SetAsideChangeCount(LocalStore& store, int& count) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    if (session.db().query("SELECT count(*) FROM tb_sync_set_aside WHERE set_aside=1;", t) != SQLITE_OK) return 1;
    count = t.integer(0, 0);
    return 0;
}

}  // namespace kivtal
