#pragma once
// Small building blocks shared by the account, content and reference stores: one
// statement in a session, list and single-row reads, and a logged update. Internal to
// the store.
#include <sqlite3.h>

#include <string_view>

#include "store/ChangeLogEntries.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"

namespace kivtal::storeops {

inline bool Ok(int rc) { return rc == SQLITE_OK; }

// Runs one statement in the session (taken by value, so the lock is held to the end):
// 0, or 1 when the database could not be opened or the statement failed.
inline int ExecuteIn(StoreSession session, std::string_view sql, const SqlArgs& args) {
    if (!session.ok()) return 1;
    return Ok(session.db().execute(sql, args)) ? 0 : 1;
}

// Appends one record per row; nothing is appended when the query fails. 0 or 1.
template <class List, class FromRow>
int AppendRows(SqliteDb& db, std::string_view sql, const SqlArgs& args, List& out, FromRow fromRow) {
    ResultTable t;
    if (!Ok(db.query(sql, args, t))) return 1;
    for (int r = 0; r < t.rows(); ++r) out.push_back(fromRow(t, r));
    return 0;
}

template <class List, class FromRow>
int AppendRowsIn(StoreSession session, std::string_view sql, const SqlArgs& args, List& out, FromRow fromRow) {
    if (!session.ok()) return 1;
    return AppendRows(session.db(), sql, args, out, fromRow);
}

// Fills `out` from the first row and leaves it untouched when there is none.
// 0 when the query ran (`found` tells whether a row came back), 1 when it failed.
template <class Record, class FromRow>
int ReadFirstRow(SqliteDb& db, std::string_view sql, const SqlArgs& args, Record& out, FromRow fromRow, bool& found) {
    ResultTable t;
    found = false;
    if (!Ok(db.query(sql, args, t))) return 1;
    if (t.empty()) return 0;
    out = fromRow(t, 0);
    found = true;
    return 0;
}

// A single integer, left untouched when there is no row. 0, or 1 on failure.
inline int ReadIntIn(StoreSession session, std::string_view sql, const SqlArgs& args, int& out) {
    if (!session.ok()) return 1;
    bool found = false;
    return ReadFirstRow(
        session.db(), sql, args, out, [](const ResultTable& t, int r) { return t.integer(r, 0); }, found);
}

// Updates a row and logs the change in one transaction on the user database, so the
// row and its change-log entry never disagree. A record the log cannot carry (a text
// holding the value-string separator) fails the log step and so the whole write.
// 0 committed; 1 rolled back or no database; -1 when the transaction cannot begin.
template <class Record>
int LoggedUpdate(LocalStore& store, std::string_view sql, const SqlArgs& args, const Record& record) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    SqliteTransaction tx(session.db());
    if (!tx.began()) return -1;
    if (!Ok(session.db().execute(sql, args)) || LogChange(session.db(), record) != 0) return 1;
    return Ok(tx.commit()) ? 0 : 1;
}

// Inserts every item in one transaction opened with `beginSql`; the first failing
// insert rolls them all back. 0 committed, 1 rolled back or no database, -1 when the
// transaction cannot begin.
template <class List, class ArgsOf>
int InsertAll(StoreSession session, std::string_view beginSql, std::string_view sql, const List& items, ArgsOf argsOf) {
    if (!session.ok()) return 1;
    SqliteTransaction tx(session.db(), beginSql);
    if (!tx.began()) return -1;
    for (const auto& item : items) {
        if (!Ok(session.db().execute(sql, argsOf(item)))) return 1;
    }
    return Ok(tx.commit()) ? 0 : 1;
}

}  // namespace kivtal::storeops
