#pragma once
// Thin RAII layer over SQLite's C API. Values are always bound, never spliced into
// SQL text, so a name holding quotes or "%" is stored exactly as typed.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kivtal {

// One bound parameter: an integer or a text (UTF-8). Column affinity decides how
// SQLite stores it, so an int bound into a VARCHAR column is kept as decimal text.
using SqlArg = std::variant<std::int64_t, std::string>;
using SqlArgs = std::vector<SqlArg>;

inline SqlArg Arg(int v) { return std::int64_t{v}; }
inline SqlArg Arg(std::int64_t v) { return v; }
inline SqlArg Arg(std::string v) { return SqlArg(std::move(v)); }
inline SqlArg Arg(const char* v) { return SqlArg(std::string(v)); }

// The whole result of a query, read at once as UTF-8 texts (NULL reads as "").
class ResultTable {
public:
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    bool empty() const { return rows_ == 0; }
    const std::string& text(int row, int col) const;
    int integer(int row, int col) const;  // leading-digits rule; 0 when none

private:
    friend class SqliteDb;
    std::vector<std::string> cells_;
    int rows_ = 0;
    int cols_ = 0;
};

// A prepared statement, finalised on destruction.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    int bind(const SqlArgs& args);  // SQLITE_OK or the error code
    int step();                     // SQLITE_ROW, SQLITE_DONE or an error code
    int reset();
    sqlite3_stmt* raw() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// One open database file; closed on destruction.
class SqliteDb {
public:
    enum class Mode { ReadWriteCreate, ReadOnly };

    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;
    SqliteDb(SqliteDb&& other) noexcept;
    SqliteDb& operator=(SqliteDb&& other) noexcept;

    // Returns SQLITE_OK or the error code; a half-open handle is closed.
    int open(const std::string& path, Mode mode = Mode::ReadWriteCreate);
    bool isOpen() const { return db_ != nullptr; }
    void close();

    // Runs statements that return no rows: SQLITE_OK or the error code. With values,
    // one statement, prepared the first time this connection runs it and kept until
    // it closes (a sync runs the same few once per row).
    int execute(std::string_view sql);
    int execute(std::string_view sql, const SqlArgs& args);
    // The same as execute(sql, args), for callers that say so.
    int executeCached(std::string_view sql, const SqlArgs& args);
    // Runs one query and reads every row: SQLITE_OK or the error code. Kept prepared
    // as execute(sql, args) is.
    int query(std::string_view sql, const SqlArgs& args, ResultTable& out);
    int query(std::string_view sql, ResultTable& out) { return query(sql, {}, out); }

    std::int64_t lastInsertId() const;
    int changes() const;
    std::string lastError() const;
    sqlite3* raw() const { return db_; }

private:
    // The statement kept for `sql`, prepared now when new; nullptr when it cannot be.
    SqliteStatement* prepared(std::string_view sql);

    sqlite3* db_ = nullptr;
    std::map<std::string, std::unique_ptr<SqliteStatement>, std::less<>> cached_;
};

// Test seam: the n-th database call from now on (counting every open, begin, statement
// and commit from 1) fails as a failing disk would, so a test can walk a fault through
// every step of a scenario. 0 disarms it. Never armed outside tests.
void FailNthSqliteCall(long n);
// Calls counted since the seam was last armed, and whether the armed call was reached.
long SqliteCallsSinceArmed();
bool SqliteFaultHit();

// "begin;" on construction; rolls back on destruction unless commit() succeeded.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDb& db, std::string_view beginSql = "begin;");
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool began() const { return began_; }
    int commit();  // SQLITE_OK or the error code (the transaction is then rolled back)

private:
    SqliteDb& db_;
    bool began_ = false;
    bool done_ = false;
};

}  // namespace kivtal
