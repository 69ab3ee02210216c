#include "SqliteDatabase.h"

namespace kivtal::service {

namespace {

[[noreturn]] void Fail(sqlite3* db, std::string_view what) {
    throw DbError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "no connection"));
}

// An empty view may carry no pointer, which SQLite would store as NULL, not as ''.
const char* TextData(std::string_view v) { return v.data() ? v.data() : ""; }

class SqliteStatement : public StatementImpl {
public:
    SqliteStatement(sqlite3* db, StatementCache& cache, std::string_view sql) : db_(db), cache_(cache), sql_(sql) {
        stmt_ = cache.take(sql);
        if (stmt_) return;
        if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt_);
            Fail(db, "prepare");
        }
    }
    ~SqliteStatement() override {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        cache_.keep(sql_, stmt_);
    }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(std::initializer_list<DbValue> values) override {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        int index = 1;
        for (const DbValue& v : values) {
            const int rc =
                std::holds_alternative<std::int64_t>(v)
                    ? sqlite3_bind_int64(stmt_, index, std::get<std::int64_t>(v))
                    : sqlite3_bind_text64(stmt_, index, TextData(std::get<std::string_view>(v)),
                                          std::get<std::string_view>(v).size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            if (rc != SQLITE_OK) Fail(db_, "bind");
            ++index;
        }
    }

    bool step() override {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        Fail(db_, "step");
    }

    std::int64_t integer(int column) const override { return sqlite3_column_int64(stmt_, column); }

    std::string text(int column) const override {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
    }

private:
    sqlite3* db_;
    StatementCache& cache_;
    std::string sql_;
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

StatementCache::~StatementCache() {
    for (auto& [sql, statements] : idle_) {
        for (sqlite3_stmt* s : statements) sqlite3_finalize(s);
    }
}

sqlite3_stmt* StatementCache::take(std::string_view sql) {
    const auto found = idle_.find(sql);
    if (found == idle_.end() || found->second.empty()) return nullptr;
    sqlite3_stmt* s = found->second.back();
    found->second.pop_back();
    return s;
}

void StatementCache::keep(std::string_view sql, sqlite3_stmt* stmt) {
    auto found = idle_.find(sql);
    if (found == idle_.end()) found = idle_.emplace(std::string(sql), std::vector<sqlite3_stmt*>{}).first;
    found->second.push_back(stmt);
}

SqliteDatabase::SqliteDatabase(const std::string& path) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK) Fail(raw, "open " + path);
    // Writers queue on the database's lock; a large batch of another account may hold
    // it for a while.
    sqlite3_busy_timeout(raw, 60000);
}

void SqliteDatabase::exec(const char* sql) {
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(db_.get(), sql);
}

Statement SqliteDatabase::prepare(std::string_view sql) {
    return Statement(std::make_unique<SqliteStatement>(db_.get(), cache_, sql));
}

}  // namespace kivtal::service
