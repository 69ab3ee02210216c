#pragma once
// The storage seam: one connection to the service's database, its statements and its
// transactions, over SQLite (a file path) or PostgreSQL (a postgresql:// address). The
// service's queries are written once, in the SQL both engines read; what differs (the
// schema, placeholders, how a write waits for other writers) stays inside each backend.
// Every value is bound, never spliced into SQL text.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace kivtal::service {

class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using DbValue = std::variant<std::int64_t, std::string_view>;

// One backend's prepared statement; `Statement` owns it.
class StatementImpl {
public:
    virtual ~StatementImpl() = default;
    virtual void bind(std::initializer_list<DbValue> values) = 0;
    virtual bool step() = 0;
    // A NULL column reads as 0 or as "".
    virtual std::int64_t integer(int column) const = 0;
    virtual std::string text(int column) const = 0;
};

// Placeholders are ? (numbered in order) or ?N. Every call throws DbError on failure.
class Statement {
public:
    explicit Statement(std::unique_ptr<StatementImpl> impl) : impl_(std::move(impl)) {}
    // Binds the values to ?1..?n, resetting any earlier run.
    Statement& bind(std::initializer_list<DbValue> values) {
        impl_->bind(values);
        return *this;
    }
    // Advances to the next row; false when there is none.
    bool step() { return impl_->step(); }
    // Runs to completion.
    void run() {
        while (step()) {
        }
    }
    std::int64_t integer(int column) const { return impl_->integer(column); }
    std::string text(int column) const { return impl_->text(column); }

private:
    std::unique_ptr<StatementImpl> impl_;
};

// The id an INSERT ... RETURNING statement bound and ready to run answers.
inline std::int64_t InsertedId(Statement& insert) {
    if (!insert.step()) throw DbError("an insert answered no id");
    return insert.integer(0);
}

enum class Backend { kSqlite, kPostgres };

class Database {
public:
    // A write waits for the other writers it could conflict with; a read sees one
    // snapshot and holds up no writer.
    enum class Mode { kWrite, kRead };

    virtual ~Database() = default;
    virtual Backend backend() const = 0;
    // Runs SQL text without values (several statements may follow one another).
    virtual void exec(const char* sql) = 0;
    virtual Statement prepare(std::string_view sql) = 0;
    virtual void begin(Mode mode) = 0;
    // What follows a SELECT of rows the transaction is about to change, so that other
    // writers of those rows wait for it: empty where a write transaction already holds
    // the whole database.
    virtual const char* lockRowsClause() const = 0;
    // False once the connection to the server is lost; the pool then drops it.
    virtual bool usable() const { return true; }
};

// A postgresql:// or postgres:// address names a PostgreSQL database; anything else
// is the path of a SQLite file.
bool IsPostgresAddress(std::string_view db);

// A connection to `db`; throws DbError when it cannot be opened.
std::unique_ptr<Database> OpenDatabase(const std::string& db);

// Rolls back unless committed, so an error anywhere in a batch leaves nothing behind.
class Transaction {
public:
    using Mode = Database::Mode;
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
