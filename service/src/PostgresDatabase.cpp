#include "PostgresDatabase.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace kivtal::service {

namespace {

constexpr Oid kInt8 = 20;
constexpr Oid kText = 25;

struct ResultClear {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultClear>;

[[noreturn]] void Fail(PGconn* conn, std::string_view what) {
    throw DbError(std::string(what) + ": " + (conn ? PQerrorMessage(conn) : "no connection"));
}

Result Check(PGconn* conn, PGresult* raw, std::string_view what) {
    Result r(raw);
    const ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        Fail(conn, std::string(what) + (r ? std::string(" ") + PQresStatus(status) : std::string()));
    }
    return r;
}

// Whether PostgreSQL's UTF-8 text can hold these bytes: well-formed UTF-8 (no overlong
// form, surrogate or code point past U+10FFFF) without NUL.
bool Storable(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b == 0) return false;
        if (b < 0x80) {
            ++i;
            continue;
        }
        const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (length == 0 || b > 0xF4 || i + length > s.size()) return false;
        std::uint32_t cp = b & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool IsQuery(std::string_view sql) { return sql.rfind("SELECT", 0) == 0; }

class PostgresStatement : public StatementImpl {
public:
    PostgresStatement(PostgresDatabase& db, std::string_view sql) : db_(db) {
        std::tie(sql_, count_) = PostgresPlaceholders(sql);
    }

    void bind(std::initializer_list<DbValue> values) override {
        result_.reset();
        values_.clear();
        types_.clear();
        unstorable_ = false;
        for (const DbValue& v : values) {
            const bool number = std::holds_alternative<std::int64_t>(v);
            if (!number && !Storable(std::get<std::string_view>(v))) unstorable_ = true;
            types_.push_back(number ? kInt8 : kText);
            values_.push_back(number ? std::to_string(std::get<std::int64_t>(v))
                                     : std::string(std::get<std::string_view>(v)));
        }
    }

    bool step() override {
        if (!result_) run();
        return ++row_ < PQntuples(result_.get());
    }

    std::int64_t integer(int column) const override {
        return std::strtoll(PQgetvalue(result_.get(), row_, column), nullptr, 10);
    }

    std::string text(int column) const override {
        return std::string(PQgetvalue(result_.get(), row_, column),
                           static_cast<std::size_t>(PQgetlength(result_.get(), row_, column)));
    }

private:
    // SQLite keeps any bytes as text; PostgreSQL refuses a NUL byte or broken UTF-8. A
    // look-up by such a value (a login name, a device id) answers what it answers on
    // SQLite, no row, since no stored row can hold it; storing one fails, and the
    // caller's transaction with it.
    void run() {
        if (static_cast<int>(values_.size()) != count_) throw DbError("bind: wrong number of values for " + sql_);
        if (unstorable_) {
            if (!IsQuery(sql_)) throw DbError("a text value PostgreSQL cannot hold: NUL or not UTF-8");
            result_.reset(PQmakeEmptyPGresult(db_.conn(), PGRES_TUPLES_OK));
            row_ = -1;
            return;
        }
        std::vector<const char*> data;
        std::vector<int> lengths;
        std::vector<int> formats;
        for (std::size_t i = 0; i < values_.size(); ++i) {
            data.push_back(values_[i].data());
            lengths.push_back(static_cast<int>(values_[i].size()));
            formats.push_back(types_[i] == kText ? 1 : 0);
        }
        const std::string& name = db_.prepared(sql_, types_);
        result_ = Check(
            db_.conn(),
            PQexecPrepared(db_.conn(), name.c_str(), count_, data.data(), lengths.data(), formats.data(), 0), "step");
        row_ = -1;
    }

    PostgresDatabase& db_;
    std::string sql_;
    int count_ = 0;
    std::vector<std::string> values_;
    std::vector<Oid> types_;
    bool unstorable_ = false;
    Result result_;
    int row_ = -1;
};

}  // namespace

std::pair<std::string, int> PostgresPlaceholders(std::string_view sql) {
    std::string out;
    int next = 0;
    int count = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\'') quoted = !quoted;
        if (c != '?' || quoted) {
            out += c;
            continue;
        }
        int n = 0;
        while (i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1])))
            n = n * 10 + (sql[++i] - '0');
        if (n == 0) n = ++next;
        count = std::max(count, n);
        out += '$' + std::to_string(n);
    }
    return {out, count};
}

PostgresDatabase::PostgresDatabase(const std::string& address) : conn_(PQconnectdb(address.c_str())) {
    if (PQstatus(conn_.get()) != CONNECTION_OK) Fail(conn_.get(), "connect");
    // Values go over the wire as the service holds them: UTF-8 text.
    if (PQsetClientEncoding(conn_.get(), "UTF8") != 0) Fail(conn_.get(), "client encoding");
    // The server's notices ("relation ... already exists, skipping") are not the
    // operator's business; its warnings and errors still reach the caller.
    exec("SET client_min_messages TO warning;");
}

void PostgresDatabase::exec(const char* sql) { Check(conn_.get(), PQexec(conn_.get(), sql), sql); }

Statement PostgresDatabase::prepare(std::string_view sql) {
    return Statement(std::make_unique<PostgresStatement>(*this, sql));
}

void PostgresDatabase::begin(Mode mode) {
    exec(mode == Mode::kWrite ? "BEGIN ISOLATION LEVEL READ COMMITTED;"
                              : "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY;");
}

const std::string& PostgresDatabase::prepared(const std::string& sql, const std::vector<Oid>& types) {
    std::string key = sql + '\0';
    for (const Oid t : types) key += t == kInt8 ? 'i' : 't';
    if (const auto found = prepared_.find(key); found != prepared_.end()) return found->second;
    const std::string name = "s" + std::to_string(prepared_.size());
    Check(conn_.get(), PQprepare(conn_.get(), name.c_str(), sql.c_str(), static_cast<int>(types.size()), types.data()),
          "prepare " + sql);
    return prepared_.emplace(std::move(key), name).first->second;
}

}  // namespace kivtal::service
