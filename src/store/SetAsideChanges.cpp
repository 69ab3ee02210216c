#include "store/SetAsideChanges.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>

#include "model/Clock.h"
#include "model/Diagnostics.h"
#include "model/RecordValues.h"
#include "store/ServerChangeRows.h"

namespace kivtal {

namespace setaside {

namespace {

constexpr const char* kMatch = "oper_code=? AND oper_ways=? AND s_server_id=? AND s_values=?";

SqlArgs Key(const SyncRecord& c) { return {Arg(c.oper_code), Arg(c.oper_ways), Arg(c.s_server_id), Arg(c.s_values)}; }

bool SameChange(const SyncRecord& a, const SyncRecord& b) {
    return a.oper_code == b.oper_code && a.oper_ways == b.oper_ways && a.s_server_id == b.s_server_id &&
           a.s_values == b.s_values;
}

SetAsideChange FromRow(const ResultTable& t, int r) {
    SetAsideChange a;
    a.id = t.integer(r, 0);
    a.change.oper_code = t.integer(r, 1);
    a.change.oper_ways = t.integer(r, 2);
    a.change.s_server_id = t.integer(r, 3);
    a.change.s_values = t.text(r, 4);
    a.change.main_tab = t.integer(r, 5);
    a.change.oper_time = t.integer(r, 6);
    a.failedRuns = t.integer(r, 7);
    a.reason = t.text(r, 8);
    a.setAsideAt = t.integer(r, 9);
    return a;
}

// What people know each kind of record by.
std::string NameOf(const BusinessCard& r) { return r.bc_name; }
std::string NameOf(const TalEvent& r) { return r.description; }
std::string NameOf(const CardGroup& r) { return r.group_name; }
std::string NameOf(const EventGroup& r) { return r.group_name; }
std::string NameOf(const EventComment& r) { return r.c_content; }
std::string NameOf(const UserBankInfo& r) { return r.bank_name; }
std::string NameOf(const UserInfo& r) { return r.login_name; }
std::string NameOf(const EventAlarm&) { return ""; }
std::string NameOf(const UserSettings&) { return ""; }

// The record's name, "" when its values cannot be read.
std::string NameOf(const SyncRecord& c) {
    std::string name;
    try {
        serverrows::VisitKind(c.oper_code, [&](auto& record) {
            ParseValues(c.s_values, record);
            name = NameOf(record);
        });
    } catch (const std::exception&) {
        name.clear();
    }
    return name;
}

}  // namespace

bool ReadSetAside(SqliteDb& db, std::vector<SetAsideChange>& out) {
    ResultTable t;
    if (db.query("SELECT aside_id,oper_code,oper_ways,s_server_id,s_values,main_tab,oper_time,failed_runs,reason,"
                 "set_aside_at FROM tb_sync_set_aside WHERE set_aside=1 ORDER BY aside_id;",
                 t) != SQLITE_OK)
        return false;
    for (int r = 0; r < t.rows(); ++r) out.push_back(FromRow(t, r));
    return true;
}

bool Contains(const std::vector<SetAsideChange>& setAside, const SyncRecord& change) {
    return std::any_of(setAside.begin(), setAside.end(),
                       [&](const SetAsideChange& a) { return SameChange(a.change, change); });
}

bool CountFailure(SqliteDb& db, const SyncRecord& change, const std::string& reason, bool& setAside) {
    SqliteTransaction tx(db);
    if (!tx.began()) return false;
    SqlArgs bump = {Arg(kSetAsideAfterRuns), Arg(reason), Arg(NowSeconds())};
    const SqlArgs key = Key(change);
    bump.insert(bump.end(), key.begin(), key.end());
    if (db.execute(std::string("UPDATE tb_sync_set_aside SET failed_runs=failed_runs+1,"
                               "set_aside=(failed_runs+1>=?),reason=?,set_aside_at=? WHERE ") +
                       kMatch + ";",
                   bump) != SQLITE_OK)
        return false;
    if (db.changes() == 0) {
        SqlArgs insert = key;
        for (const SqlArg& a : {Arg(change.main_tab), Arg(change.oper_time), Arg(kSetAsideAfterRuns <= 1 ? 1 : 0),
                                Arg(reason), Arg(NowSeconds())})
            insert.push_back(a);
        if (db.execute("INSERT INTO tb_sync_set_aside(oper_code,oper_ways,s_server_id,s_values,main_tab,oper_time,"
                       "failed_runs,set_aside,reason,set_aside_at)VALUES(?,?,?,?,?,?,1,?,?,?);",
                       insert) != SQLITE_OK)
            return false;
    }
    ResultTable t;
    if (db.query(std::string("SELECT max(set_aside) FROM tb_sync_set_aside WHERE ") + kMatch + ";", key, t) !=
        SQLITE_OK)
        return false;
    DebugLine("received change failed: " + std::to_string(change.oper_code) + "/" + std::to_string(change.s_server_id) +
              ": " + reason);
    if (tx.commit() != SQLITE_OK) return false;
    setAside = t.integer(0, 0) == 1;
    return true;
}

bool NoteFailedAgain(SqliteDb& db, int id, const std::string& reason) {
    return db.execute("UPDATE tb_sync_set_aside SET failed_runs=failed_runs+1,reason=? WHERE aside_id=?;",
                      {Arg(reason), Arg(id)}) == SQLITE_OK;
}

bool Remove(SqliteDb& db, int id) {
    return db.execute("DELETE FROM tb_sync_set_aside WHERE aside_id=?;", {Arg(id)}) == SQLITE_OK;
}

bool ForgetFailures(SqliteDb& db) {
    return db.execute("DELETE FROM tb_sync_set_aside WHERE set_aside=0;") == SQLITE_OK;
}

}  // namespace setaside

int ListSetAsideChanges(LocalStore& store, std::vector<SetAsideChange>& out) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    std::vector<SetAsideChange> read;
    if (!setaside::ReadSetAside(session.db(), read)) return 1;
    for (SetAsideChange& a : read) {
        a.name = setaside::NameOf(a.change);
        out.push_back(std::move(a));
    }
    return 0;
}

int SetAsideChangeCount(LocalStore& store, int& count) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    if (session.db().query("SELECT count(*) FROM tb_sync_set_aside WHERE set_aside=1;", t) != SQLITE_OK) return 1;
    count = t.integer(0, 0);
    return 0;
}

int DiscardSetAsideChange(LocalStore& store, int id) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    if (session.db().execute("DELETE FROM tb_sync_set_aside WHERE aside_id=? AND set_aside=1;", {Arg(id)}) != SQLITE_OK)
        return 1;
    return session.db().changes() == 0 ? kSetAsideNotFound : 0;
}

}  // namespace kivtal
