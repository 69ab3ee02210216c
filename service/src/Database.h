#pragma once
// A thin owner of one SQLite connection and its prepared statements. Every value is
// bound, never spliced into SQL text.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kivtal::service {

class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using DbValue = std::variant<std::int64_t, std::string_view>;

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    // Binds the values to ?1..?n, resetting any earlier run.
    Statement& bind(std::initializer_list<DbValue> values);
    // Advances to the next row; false when there is none.
    bool step();
    // Runs to completion.
    void run();
    std::int64_t integer(int column) const;
    std::string text(int column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
    };
    sqlite3* db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

class Database {
public:
    explicit Database(const std::string& path);
    void exec(const char* sql);
    Statement prepare(std::string_view sql) { return Statement(db_.get(), sql); }
    std::int64_t lastInsertId() const { return sqlite3_last_insert_rowid(db_.get()); }
    int changes() const { return sqlite3_changes(db_.get()); }

private:
    struct Closer {
        void operator()(sqlite3* db) const { sqlite3_close(db); }
    };
    std::unique_ptr<sqlite3, Closer> db_;
};

// Rolls back unless committed, so an error anywhere in a batch leaves nothing behind.
class Transaction {
public:
    // A write transaction takes the database's write lock at once, so it never fails
    // half way for another writer; a read one sees one snapshot and blocks no writer.
    enum class Mode { kWrite, kRead };
    explicit Transaction(Database& db, Mode mode = Mode::kWrite);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    bool done_ = false;
};

}  // namespace kivtal::service
