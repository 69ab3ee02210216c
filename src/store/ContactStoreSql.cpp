#include "store/ContactStoreSql.h"

#include <sqlite3.h>

#include <iterator>

#include "store/ContactStoreBank.h"
#include "store/RecordSql.h"
#include "model/IntText.h"

namespace kivtal::contacts {

const std::string& SelectSql() { return recordsql::SelectSql<BusinessCard>(); }
const std::string& InsertSql() { return recordsql::InsertSql<BusinessCard>(); }
const std::string& UpdateSql() { return recordsql::UpdateSql<BusinessCard>(); }
SqlArgs RowArgs(const BusinessCard& card) { return recordsql::ColumnArgs(card, true); }

namespace {

// The first `count` rows of a SelectSql() result, each with its bank accounts.
int ContactsOfRows(SqliteDb& db, const ResultTable& rows, int count, BusinessCardList& out) {
    BusinessCardList read(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) recordsql::ReadRow(rows, r, read[static_cast<std::size_t>(r)]);
    if (AppendBankAccounts(db, read) != 0) return 1;
    out.insert(out.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    return 0;
}

}  // namespace

int ReadContacts(SqliteDb& db, std::string_view where, const SqlArgs& args, BusinessCardList& out) {
    ResultTable rows;
    if (db.query(SelectSql() + std::string(where), args, rows) != SQLITE_OK) return 1;
    return ContactsOfRows(db, rows, rows.rows(), out);
}

StoreStatus ReadOneContact(SqliteDb& db, std::string_view where, const SqlArgs& args, BusinessCard& out) {
    ResultTable rows;
    if (db.query(SelectSql() + std::string(where), args, rows) != SQLITE_OK) return StoreStatus::kFailed;
    if (rows.empty()) return StoreStatus::kNotFound;
    // Only the first row is used: the others would cost an account query each for nothing.
    BusinessCardList found;
    if (ContactsOfRows(db, rows, 1, found) != 0) return StoreStatus::kFailed;
    out = std::move(found.front());
    return StoreStatus::kOk;
}

std::string ColumnText(const SqliteStatement& stmt, int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt.raw(), col));
    if (p == nullptr) return {};
    return std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt.raw(), col)));
}

int ColumnInt(const SqliteStatement& stmt, int col) { return LeadingInt(ColumnText(stmt, col)); }

StoreStatus UpdateExistingRow(SqliteDb& db, std::string_view sql, const SqlArgs& args) {
    if (db.execute(sql, args) != SQLITE_OK) return StoreStatus::kFailed;
    return db.changes() > 0 ? StoreStatus::kOk : StoreStatus::kNotFound;
}

int QueryHasRow(SqliteStatement& stmt, const SqlArgs& args, bool& found) {
    if (!stmt.ok()) return 1;
    stmt.reset();
    if (stmt.bind(args) != SQLITE_OK) return 1;
    const int rc = stmt.step();
    stmt.reset();
    found = rc == SQLITE_ROW;
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? 0 : 1;
}

}  // namespace kivtal::contacts
