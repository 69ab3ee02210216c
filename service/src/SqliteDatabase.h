#pragma once
// The SQLite backend: one connection to a database file. A write transaction takes the
// file's write lock at once (BEGIN IMMEDIATE), so it never fails half way for another
// writer; in WAL mode a read one blocks no writer.
#include <sqlite3.h>

#include <functional>
#include <map>
#include <vector>

#include "Database.h"

namespace kivtal::service {

// Statements prepared once per connection and kept between uses: preparing one costs
// more than running most of the service's statements, and a batch runs the same few
// statements thousands of times. Each statement kept is reset and unbound, so it holds
// no read open. A connection serves one request at a time: no lock.
class StatementCache {
public:
    StatementCache() = default;
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // An idle statement of `sql`, or nullptr when every one is in use (or none was made).
    sqlite3_stmt* take(std::string_view sql);
    // Takes back a statement of `sql` that its user is done with.
    void keep(std::string_view sql, sqlite3_stmt* stmt);

private:
    std::map<std::string, std::vector<sqlite3_stmt*>, std::less<>> idle_;
};

class SqliteDatabase : public Database {
public:
    explicit SqliteDatabase(const std::string& path);
    Backend backend() const override { return Backend::kSqlite; }
    void exec(const char* sql) override;
    Statement prepare(std::string_view sql) override;
    void begin(Mode mode) override { exec(mode == Mode::kWrite ? "BEGIN IMMEDIATE;" : "BEGIN;"); }
    const char* lockRowsClause() const override { return ""; }

private:
    struct Closer {
        void operator()(sqlite3* db) const { sqlite3_close(db); }
    };
    std::unique_ptr<sqlite3, Closer> db_;
    // After the connection: its statements are finalised before it closes.
    StatementCache cache_;
};

}  // namespace kivtal::service
