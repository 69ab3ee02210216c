#pragma once
// Internal to the contact store: the contact column list, row <-> record mapping, the
// list read every contact query shares, and the frames of one locked operation.
#include <sqlite3.h>

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "model/RecordFields.h"
#include "model/RecordValues.h"
#include "model/Records.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"
#include "store/StoreStatus.h"

namespace kivtal::contacts {

// "SELECT bc_id,...,server_group_id FROM tb_bc " (the 35 columns in schema order); the
// caller appends its WHERE text.
const std::string& SelectSql();
// INSERT naming the 34 columns bc_name..server_group_id, one placeholder each.
const std::string& InsertSql();
// UPDATE setting the 34 columns, then "where bc_id=?".
const std::string& UpdateSql();
// The 34 values of the INSERT and UPDATE, in column order.
SqlArgs RowArgs(const BusinessCard& card);

// Appends one record per row of SelectSql() + where, each with its bank accounts.
// Nothing is appended when any query fails. 0 or 1.
int ReadContacts(SqliteDb& db, std::string_view where, const SqlArgs& args, BusinessCardList& out);
// The first row of the query into out (with its bank accounts); 1 and out untouched
// when there is no row or a query fails.
StoreStatus ReadOneContact(SqliteDb& db, std::string_view where, const SqlArgs& args, BusinessCard& out);

// A column of the current row of a stepped statement, with ResultTable's rules
// (NULL reads as "", integers by the leading-digits rule).
std::string ColumnText(const SqliteStatement& stmt, int col);
int ColumnInt(const SqliteStatement& stmt, int col);

// The current row of a stepped recordsql::SelectSql<R>() statement into record (fields
// outside the table, such as a contact's bank accounts, stay as they are).
template <class R>
void ReadRow(const SqliteStatement& stmt, R& record) {
    int col = 0;
    for (const RecordField<R>& f : DescriptionOf<R>().fields) {
        if (f.number) record.*f.number = ColumnInt(stmt, col);
        else if (f.text) record.*f.text = ColumnText(stmt, col);
        ++col;
    }
}

// Binds args and steps once: found tells whether the query returns a row. The
// statement is reset for the next use. 0 or 1.
int QueryHasRow(SqliteStatement& stmt, const SqlArgs& args, bool& found);

// Runs an UPDATE that must hit the record's row: an edit of a row that is not there
// would otherwise report success and log a change nobody can apply. kNotFound when no
// row matched.
StoreStatus UpdateExistingRow(SqliteDb& db, std::string_view sql, const SqlArgs& args);

// A read: lock and open the user database, run body(db) -> 0/1.
template <class Body>
int RunRead(LocalStore& store, Body&& body) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    return body(session.db()) == 0 ? 0 : 1;
}

// A write: lock, open, "begin;", run body(db) -> StoreStatus, commit or roll back. A
// step that throws fails the write like any other. On failure the caller's record is
// restored, so no id of a rolled-back row leaks out.
template <class Record, class Body>
StoreStatus RunWrite(LocalStore& store, Record& record, Body&& body) {
    const Record before = record;
    auto run = [&]() -> StoreStatus {
        StoreSession session = store.OpenUserDb();
        if (!session.ok()) return StoreStatus::kFailed;
        SqliteTransaction tx(session.db());
        if (!tx.began()) return StoreStatus::kBusy;
        try {
            if (const StoreStatus s = body(session.db()); s != StoreStatus::kOk) return s;
        } catch (const std::exception&) {
            return StoreStatus::kFailed;
        }
        return StatusOf(tx.commit() == SQLITE_OK);
    };
    const StoreStatus s = run();
    if (s != StoreStatus::kOk) record = before;
    return s;
}

// A write of a record the change log must carry: refused before anything is written
// when one of its texts holds the value-string separator.
template <class Record, class Body>
StoreStatus RunLoggedWrite(LocalStore& store, Record& record, Body&& body) {
    if (HoldsSeparator(record)) return StoreStatus::kRefused;
    return RunWrite(store, record, std::forward<Body>(body));
}

}  // namespace kivtal::contacts
