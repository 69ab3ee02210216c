#include "PostgresDatabase.h"

#include <cctype>
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

class PostgresStatement : public StatementImpl {
public:
    PostgresStatement(PostgresDatabase& db, std::string_view sql) : db_(db) {
        std::tie(sql_, count_) = PostgresPlaceholders(sql);
    }

    void bind(std::initializer_list<DbValue> values) override {
        result_.reset();
        values_.clear();
        types_.clear();
        for (const DbValue& v : values) {
            const bool number = std::holds_alternative<std::int64_t>(v);
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
    void run() {
        if (static_cast<int>(values_.size()) != count_) throw DbError("bind: wrong number of values for " + sql_);
        std::vector<const char*> data;
        std::vector<int> lengths;
        std::vector<int> formats;
        for (std::size_t i = 0; i < values_.size(); ++i) {
            data.push_back(values_[i].data());
            lengths.push_back(static_cast<int>(values_[i].size()));
            formats.push_back(types_[i] == kText ? 1 : 0);
        }
        const std::string& name = db_.prepared(sql_, types_);
        result_ = Check(db_.conn(),
                        PQexecPrepared(db_.conn(), name.c_str(), count_, data.data(), lengths.data(), formats.data(), 0),
                        "step");
        row_ = -1;
    }

    PostgresDatabase& db_;
    std::string sql_;
    int count_ = 0;
    std::vector<std::string> values_;
    std::vector<Oid> types_;
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
        while (i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1]))) n = n * 10 + (sql[++i] - '0');
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
