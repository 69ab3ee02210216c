#include "store/SqliteDb.h"

#include <sqlite3.h>

#include <atomic>

#include "model/IntText.h"

namespace kivtal {

namespace {
const std::string kEmpty;

std::atomic<long> gFailAt{0};
std::atomic<long> gCalls{0};
std::atomic<bool> gHit{false};

// One counted database call; true when it is the one the seam must fail.
bool InjectedFault() {
    if (gFailAt.load(std::memory_order_relaxed) == 0) return false;
    if (gCalls.fetch_add(1) + 1 != gFailAt.load()) return false;
    gHit = true;
    return true;
}
}  // namespace

void FailNthSqliteCall(long n) {
    gCalls = 0;
    gHit = false;
    gFailAt = n;
}

long SqliteCallsSinceArmed() { return gCalls.load(); }
bool SqliteFaultHit() { return gHit.load(); }

const std::string& ResultTable::text(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return kEmpty;
    return cells_[static_cast<std::size_t>(row) * cols_ + col];
}

int ResultTable::integer(int row, int col) const { return LeadingInt(text(row, col)); }

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

int SqliteStatement::bind(const SqlArgs& args) {
    int index = 1;
    for (const SqlArg& arg : args) {
        int rc;
        if (const auto* i = std::get_if<std::int64_t>(&arg)) {
            rc = sqlite3_bind_int64(stmt_, index, *i);
        } else {
            const std::string& s = std::get<std::string>(arg);
            rc = sqlite3_bind_text(stmt_, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) return rc;
        ++index;
    }
    return SQLITE_OK;
}

int SqliteStatement::step() { return sqlite3_step(stmt_); }

int SqliteStatement::reset() {
    sqlite3_clear_bindings(stmt_);
    return sqlite3_reset(stmt_);
}

SqliteDb::~SqliteDb() { close(); }

SqliteDb::SqliteDb(SqliteDb&& other) noexcept : db_(other.db_), cached_(std::move(other.cached_)) {
    other.db_ = nullptr;
}

SqliteDb& SqliteDb::operator=(SqliteDb&& other) noexcept {
    if (this != &other) {
        close();
        db_ = other.db_;
        cached_ = std::move(other.cached_);
        other.db_ = nullptr;
    }
    return *this;
}

int SqliteDb::open(const std::string& path, Mode mode) {
    close();
    if (InjectedFault()) return SQLITE_CANTOPEN;
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        close();
        return rc;
    }
    // Another thread of this process may hold the file for a moment (the store lock
    // serialises our own operations, but a reader such as a benchmark or the CLI may not).
    sqlite3_busy_timeout(db_, 5000);
    return SQLITE_OK;
}

void SqliteDb::close() {
    cached_.clear();  // finalised before the connection, which would linger for them
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

int SqliteDb::execute(std::string_view sql) {
    if (db_ == nullptr) return SQLITE_MISUSE;
    if (InjectedFault()) return SQLITE_IOERR;
    const std::string text(sql);
    return sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr);
}

SqliteStatement* SqliteDb::prepared(std::string_view sql) {
    auto it = cached_.find(sql);
    if (it == cached_.end()) {
        auto stmt = std::make_unique<SqliteStatement>(db_, sql);
        if (!stmt->ok()) return nullptr;
        it = cached_.emplace(std::string(sql), std::move(stmt)).first;
    }
    return it->second.get();
}

int SqliteDb::execute(std::string_view sql, const SqlArgs& args) {
    if (db_ == nullptr) return SQLITE_MISUSE;
    if (InjectedFault()) return SQLITE_IOERR;
    SqliteStatement* stmt = prepared(sql);
    if (stmt == nullptr) return sqlite3_errcode(db_);
    int rc = stmt->bind(args);
    if (rc == SQLITE_OK) {
        while ((rc = stmt->step()) == SQLITE_ROW) {
        }
    }
    stmt->reset();
    return rc == SQLITE_DONE || rc == SQLITE_OK ? SQLITE_OK : rc;
}

int SqliteDb::executeCached(std::string_view sql, const SqlArgs& args) { return execute(sql, args); }

int SqliteDb::query(std::string_view sql, const SqlArgs& args, ResultTable& out) {
    out = ResultTable{};
    if (db_ == nullptr) return SQLITE_MISUSE;
    if (InjectedFault()) return SQLITE_IOERR;
    SqliteStatement* stmt = prepared(sql);
    if (stmt == nullptr) return sqlite3_errcode(db_);
    int rc = stmt->bind(args);
    if (rc == SQLITE_OK) {
        out.cols_ = sqlite3_column_count(stmt->raw());
        while ((rc = stmt->step()) == SQLITE_ROW) {
            for (int c = 0; c < out.cols_; ++c) {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt->raw(), c));
                const int n = sqlite3_column_bytes(stmt->raw(), c);
                out.cells_.emplace_back(p != nullptr ? std::string(p, static_cast<std::size_t>(n)) : std::string());
            }
            ++out.rows_;
        }
    }
    stmt->reset();
    if (rc != SQLITE_DONE) {
        out = ResultTable{};
        return rc;
    }
    return SQLITE_OK;
}

std::int64_t SqliteDb::lastInsertId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

int SqliteDb::changes() const { return db_ ? sqlite3_changes(db_) : 0; }

std::string SqliteDb::lastError() const { return db_ ? sqlite3_errmsg(db_) : "database not open"; }

SqliteTransaction::SqliteTransaction(SqliteDb& db, std::string_view beginSql) : db_(db) {
    began_ = db_.execute(beginSql) == SQLITE_OK;
}

// A rollback is never failed by the fault seam: it is how every fault is survived.
static void Rollback(SqliteDb& db) {
    if (db.isOpen()) sqlite3_exec(db.raw(), "rollback;", nullptr, nullptr, nullptr);
}

SqliteTransaction::~SqliteTransaction() {
    if (began_ && !done_) Rollback(db_);
}

int SqliteTransaction::commit() {
    if (!began_ || done_) return SQLITE_MISUSE;
    done_ = true;
    const int rc = db_.execute("commit;");
    if (rc != SQLITE_OK) Rollback(db_);
    return rc;
}

}  // namespace kivtal
