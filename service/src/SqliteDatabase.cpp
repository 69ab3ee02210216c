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
    SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) {
            Fail(db, "prepare");
        }
        stmt_.reset(raw);
    }

    void bind(std::initializer_list<DbValue> values) override {
        sqlite3_reset(stmt_.get());
        sqlite3_clear_bindings(stmt_.get());
        int index = 1;
        for (const DbValue& v : values) {
            const int rc =
                std::holds_alternative<std::int64_t>(v)
                    ? sqlite3_bind_int64(stmt_.get(), index, std::get<std::int64_t>(v))
                    : sqlite3_bind_text64(stmt_.get(), index, TextData(std::get<std::string_view>(v)),
                                          std::get<std::string_view>(v).size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            if (rc != SQLITE_OK) Fail(db_, "bind");
            ++index;
        }
    }

    bool step() override {
        const int rc = sqlite3_step(stmt_.get());
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        Fail(db_, "step");
    }

    std::int64_t integer(int column) const override { return sqlite3_column_int64(stmt_.get(), column); }

    std::string text(int column) const override {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), column))) : std::string();
    }

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
    };
    sqlite3* db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

}  // namespace

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
    return Statement(std::make_unique<SqliteStatement>(db_.get(), sql));
}

}  // namespace kivtal::service
