#pragma once
// The database a test's service runs on. By default a SQLite file in the test's scratch
// folder. Registered to run on PostgreSQL (KIVTAL_TEST_BACKEND=postgres), each test gets
// a new database of its own on the server KIVTAL_TEST_POSTGRES names (an address
// without a database: postgresql://USER@HOST:PORT, a socket folder's path written with
// %2F), dropped again at the end. Without that server such a run fails: it never falls
// back to SQLite unseen.
#include <libpq-fe.h>

#include <atomic>
#include <cstdlib>
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

private:
    // The name is made here of letters, digits and '_', so it needs no quoting.
    void admin(const std::string& sql) const {
        struct Closer {
            void operator()(PGconn* c) const { PQfinish(c); }
        };
        struct Clear {
            void operator()(PGresult* r) const { PQclear(r); }
        };
        const std::unique_ptr<PGconn, Closer> conn(PQconnectdb((server_ + "/postgres").c_str()));
        if (PQstatus(conn.get()) != CONNECTION_OK) {
            throw std::runtime_error("cannot reach PostgreSQL at " + server_ + ": " + PQerrorMessage(conn.get()));
        }
        const std::unique_ptr<PGresult, Clear> r(PQexec(conn.get(), sql.c_str()));
        if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            throw std::runtime_error(sql + ": " + PQerrorMessage(conn.get()));
    }

    std::string server_;
    std::string name_;
    std::string address_;
};

}  // namespace kivtal::test
