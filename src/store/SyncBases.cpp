#include "store/SyncBases.h"

#include <sqlite3.h>

namespace kivtal {

namespace {

constexpr const char* kClashColumns = "clash_id,oper_code,s_row_id,s_server_id,field,other_value,clash_time";

void AppendClashes(const ResultTable& t, SyncClashList& out) {
    for (int r = 0; r < t.rows(); ++r)
        out.push_back({t.integer(r, 0), t.integer(r, 1), t.integer(r, 2), t.integer(r, 3), t.integer(r, 4),
                       t.text(r, 5), t.integer(r, 6)});
}

// The clashes the condition selects, oldest first.
int QueryClashes(LocalStore& store, const std::string& where, const SqlArgs& args, SyncClashList& out) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    const std::string sql =
        std::string("SELECT ") + kClashColumns + " FROM tb_sync_clash" + where + " ORDER BY clash_id;";
    if (session.db().query(sql, args, t) != SQLITE_OK) return 1;
    AppendClashes(t, out);
    return 0;
}

}  // namespace

int ReadSyncBases(LocalStore& store, const std::vector<SyncBaseKey>& keys, SyncBases& out) {
    if (keys.empty()) return 0;
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SyncBases read;
    for (const SyncBaseKey& key : keys) {
        ResultTable t;
        if (session.db().query("SELECT s_values FROM tb_sync_base WHERE oper_code=? AND s_server_id=?;",
                               {Arg(key.first), Arg(key.second)}, t) != SQLITE_OK)
            return 1;
        if (!t.empty()) read[key] = t.text(0, 0);
    }
    out.insert(read.begin(), read.end());
    return 0;
}

int ListClashes(LocalStore& store, SyncClashList& out) { return QueryClashes(store, "", {}, out); }

int ClashesOf(LocalStore& store, int operCode, int rowId, SyncClashList& out) {
    return QueryClashes(store, " WHERE oper_code=? AND s_row_id=?", {Arg(operCode), Arg(rowId)}, out);
}

int RowsWithClashes(LocalStore& store, int operCode, std::set<int>& out) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    if (session.db().query("SELECT DISTINCT s_row_id FROM tb_sync_clash WHERE oper_code=?;", {Arg(operCode)}, t) !=
        SQLITE_OK)
        return 1;
    for (int r = 0; r < t.rows(); ++r) out.insert(t.integer(r, 0));
    return 0;
}

int CountClashes(LocalStore& store, int& count) {
    SyncClashList all;
    if (ListClashes(store, all) != 0) return 1;
    count = static_cast<int>(all.size());
    return 0;
}

int FindClash(LocalStore& store, int clashId, SyncClash& out) {
    SyncClashList found;
    if (QueryClashes(store, " WHERE clash_id=?", {Arg(clashId)}, found) != 0) return 1;
    if (found.empty()) return kClashNotFound;
    out = found.front();
    return 0;
}

int CloseClash(LocalStore& store, int clashId) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    if (session.db().execute("DELETE FROM tb_sync_clash WHERE clash_id=?;", {Arg(clashId)}) != SQLITE_OK) return 1;
    return sqlite3_changes(session.db().raw()) > 0 ? 0 : kClashNotFound;
}

namespace syncbase {

bool Write(SqliteDb& db, int operCode, int serverId, const std::string& values) {
    if (serverId < 1 || values.empty()) return true;
    return db.executeCached("INSERT OR REPLACE INTO tb_sync_base(oper_code,s_server_id,s_values)VALUES(?,?,?);",
                            {Arg(operCode), Arg(serverId), Arg(values)}) == SQLITE_OK;
}

bool Restore(SqliteDb& db, int operCode, int serverId, const SyncBases& before) {
    if (const auto it = before.find({operCode, serverId}); it != before.end())
        return Write(db, operCode, serverId, it->second);
    return db.execute("DELETE FROM tb_sync_base WHERE oper_code=? AND s_server_id=?;",
                      {Arg(operCode), Arg(serverId)}) == SQLITE_OK;
}

bool WriteClashes(SqliteDb& db, const SyncClashList& clashes) {
    for (const SyncClash& c : clashes) {
        if (db.execute("DELETE FROM tb_sync_clash WHERE oper_code=? AND s_row_id=? AND field=?;",
                       {Arg(c.oper_code), Arg(c.s_row_id), Arg(c.field)}) != SQLITE_OK)
            return false;
        if (db.execute("INSERT INTO tb_sync_clash(oper_code,s_row_id,s_server_id,field,other_value,clash_time)"
                       "VALUES(?,?,?,?,?,?);",
                       {Arg(c.oper_code), Arg(c.s_row_id), Arg(c.s_server_id), Arg(c.field), Arg(c.other),
                        Arg(c.clash_time)}) != SQLITE_OK)
            return false;
    }
    return true;
}

}  // namespace syncbase

}  // namespace kivtal
