#pragma once
// The database a test's service runs on. By default a SQLite file in the test's scratch
// folder. Registered to run on PostgreSQL (KIVTAL_TEST_BACKEND=postgres), each test gets
// a new database of its own on the server KIVTAL_TEST_POSTGRES names (an address
// without a database: postgresql://USER@HOST:PORT, a socket folder's path written with
// %2F), dropped again at the end, through psql. Without that server such a run fails:
// it never falls back to SQLite unseen.
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

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

    // Through psql rather than libpq, so that every test program that starts a service
    // can use this without linking a PostgreSQL library.
    static std::string PostgresQuery(const std::string& address, const std::string& sql) {
        std::vector<std::string> args = {"psql", "-X",    "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1",
                                         "-d",   address, "-c", sql};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        pid_t pid = 0;
        const int spawned = posix_spawnp(&pid, "psql", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string text;
        char buf[4096];
        for (ssize_t n; spawned == 0 && (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, n);
        close(out[0]);
        int status = 0;
        if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            throw std::runtime_error("psql failed on " + address + ": " + sql);
        }
        // The first column of the first row.
        const std::string row = text.substr(0, text.find('\n'));
        return row.substr(0, row.find('|'));
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
