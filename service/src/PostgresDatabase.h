#pragma once
// The PostgreSQL backend through libpq: one server connection. Statements are prepared
// on the server once per connection and run with bound values (text in binary form,
// so a NUL byte is refused by the server instead of cutting the value short).
//
// A write transaction runs at READ COMMITTED and, before it reads anything it will
// decide on, locks the account's row (`lockRowsClause`, SELECT ... FOR UPDATE). Every
// write of an account therefore waits for the one before it, in any process, and each
// statement after the lock sees everything that one committed; the account's sequence
// counter lives in that row, so changes are numbered strictly in commit order with no
// gap (a rolled back transaction takes its increments with it). Other accounts are not
// held up. A read transaction is REPEATABLE READ READ ONLY: one snapshot for a page.
#include <libpq-fe.h>

#include <map>
#include <vector>

#include "Database.h"

namespace kivtal::service {

class PostgresDatabase : public Database {
public:
    // `address` is any libpq connection string; throws DbError when it cannot connect.
    explicit PostgresDatabase(const std::string& address);
    Backend backend() const override { return Backend::kPostgres; }
    void exec(const char* sql) override;
    Statement prepare(std::string_view sql) override;
    void begin(Mode mode) override;
    const char* lockRowsClause() const override { return " FOR UPDATE"; }
    bool usable() const override { return PQstatus(conn_.get()) == CONNECTION_OK; }

    // The server-side name of `sql` (in $N form) prepared for these parameter types,
    // preparing it the first time.
    const std::string& prepared(const std::string& sql, const std::vector<Oid>& types);
    PGconn* conn() const { return conn_.get(); }

private:
    struct Closer {
        void operator()(PGconn* c) const { PQfinish(c); }
    };
    std::unique_ptr<PGconn, Closer> conn_;
    std::map<std::string, std::string> prepared_;
};

// `sql` with its ? and ?N placeholders written as PostgreSQL's $N, and the number of
// values it takes. Quoted text is left as it is.
std::pair<std::string, int> PostgresPlaceholders(std::string_view sql);

}  // namespace kivtal::service
