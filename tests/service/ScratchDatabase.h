#pragma once
// The database a test's service runs on. By default a SQLite file in the test's scratch
// folder. Registered to run on PostgreSQL (KIVTAL_TEST_BACKEND=postgres), each test gets
// a new database of its own on the server KIVTAL_TEST_POSTGRES names (an address
// without a database: postgresql://USER@HOST:PORT, a socket folder's path written with
// %2F), dropped again at the end. Without that server such a run fails: it never falls
// back to SQLite unseen.
#include <libpq-fe.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

namespace kivtal::test {

inline bool TestsRunOnPostgres() {
    const char* backend = std::getenv("KIVTAL_TEST_BACKEND");
    return backend && std::string(backend) == "postgres";
}

class ScratchDatabase {
public:
    // `sqliteFile`: the path used when the tests run on SQLite.
    explicit ScratchDatabase(const std::string& sqliteFile) {
        if (!TestsRunOnPostgres()) {
            address_ = sqliteFile;
            return;
        }
        const char* server = std::getenv("KIVTAL_TEST_POSTGRES");
        if (!server || !*server) throw std::runtime_error("KIVTAL_TEST_POSTGRES names no PostgreSQL server");
        server_ = server;
        static std::atomic<int> counter{0};
        name_ = "kivtal_test_" + std::to_string(std::random_device{}()) + "_" + std::to_string(++counter);
        admin("CREATE DATABASE " + name_ + " ENCODING 'UTF8' TEMPLATE template0;");
        address_ = server_ + "/" + name_;
    }
    ~ScratchDatabase() {
        if (name_.empty()) return;
        try {
            admin("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE);");
        } catch (const std::exception&) {
        }
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    // What the service's --db takes.
    const std::string& address() const { return address_; }

    // Runs SQL (without values) on the database behind the service's back, as a test
    // that reads or damages the service's rows does; the first column of the first
    // row, "" when there is none. Throws when the SQL fails.
    std::string query(const std::string& sql) const {
        return name_.empty() ? SqliteQuery(address_, sql) : PostgresQuery(address_, sql);
    }

private:
    // The name is made here of letters, digits and '_', so it needs no quoting.
    void admin(const std::string& sql) const { PostgresQuery(server_ + "/postgres", sql); }

    static std::string PostgresQuery(const std::string& address, const std::string& sql) {
        struct Closer {
            void operator()(PGconn* c) const { PQfinish(c); }
        };
        struct Clear {
            void operator()(PGresult* r) const { PQclear(r); }
        };
        const std::unique_ptr<PGconn, Closer> conn(PQconnectdb(address.c_str()));
        if (PQstatus(conn.get()) != CONNECTION_OK) {
            throw std::runtime_error("cannot reach PostgreSQL at " + address + ": " + PQerrorMessage(conn.get()));
        }
        const std::unique_ptr<PGresult, Clear> r(PQexec(conn.get(), sql.c_str()));
        const ExecStatusType status = PQresultStatus(r.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            throw std::runtime_error(sql + ": " + PQerrorMessage(conn.get()));
        }
        return PQntuples(r.get()) > 0 ? PQgetvalue(r.get(), 0, 0) : "";
    }

    static std::string SqliteQuery(const std::string& file, const std::string& sql) {
        struct Closer {
            void operator()(sqlite3* db) const { sqlite3_close(db); }
        };
        struct Finalizer {
            void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
        };
        sqlite3* raw = nullptr;
        sqlite3_open(file.c_str(), &raw);
        const std::unique_ptr<sqlite3, Closer> db(raw);
        sqlite3_busy_timeout(raw, 10000);
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(raw, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(raw));
        }
        const std::unique_ptr<sqlite3_stmt, Finalizer> s(stmt);
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) throw std::runtime_error(sql + ": " + sqlite3_errmsg(raw));
        const auto* text = rc == SQLITE_ROW ? sqlite3_column_text(stmt, 0) : nullptr;
        return text ? reinterpret_cast<const char*>(text) : "";
    }

    std::string server_;
    std::string name_;
    std::string address_;
};

}  // namespace kivtal::test
