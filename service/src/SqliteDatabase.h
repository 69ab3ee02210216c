#pragma once
// The SQLite backend: one connection to a database file. A write transaction takes the
// file's write lock at once (BEGIN IMMEDIATE), so it never fails half way for another
// writer; in WAL mode a read one blocks no writer.
#include <sqlite3.h>

#include "Database.h"

namespace kivtal::service {

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
};

}  // namespace kivtal::service
