#pragma once
// A store with a fresh user database in a scratch folder, for tests of the store
// operations, with a side connection to look at the file and to break it on purpose.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "store/LocalStore.h"
#include "support/TempDir.h"

namespace kivtal::test {

class UserDbFixture : public ::testing::Test {
protected:
    UserDbFixture() : store(StorePaths{dir.path() + "user", RefDbForTests()}) {
        EXPECT_EQ(store.EnsureUserDb("tester"), 0);
    }

    // The built reference database when the build provides it, else a missing file.
    static std::string RefDbForTests() {
        const char* p = std::getenv("KIVTAL_REFDB");
        return p != nullptr ? p : "/nonexistent/doz2a_v3.db";
    }

    // Runs SQL on a connection of its own (outside the store lock).
    ResultTable Query(const std::string& sql) {
        SqliteDb db;
        EXPECT_EQ(db.open(store.userDbPath()), SQLITE_OK);
        ResultTable t;
        EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql << ": " << db.lastError();
        return t;
    }
    void Exec(const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(store.userDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute(sql), SQLITE_OK) << sql << ": " << db.lastError();
    }
    std::string Scalar(const std::string& sql) { return Query(sql).text(0, 0); }

    // Makes every write to the change log fail, to show that the row change it
    // belongs to is rolled back with it.
    void FailChangeLogWrites() {
        Exec("CREATE TRIGGER fail_log_insert BEFORE INSERT ON tb_sync_record BEGIN SELECT RAISE(ABORT,'log'); END;");
        Exec("CREATE TRIGGER fail_log_update BEFORE UPDATE ON tb_sync_record BEGIN SELECT RAISE(ABORT,'log'); END;");
        Exec("CREATE TRIGGER fail_tmp_insert BEFORE INSERT ON tb_sync_record_tmp BEGIN SELECT RAISE(ABORT,'log'); END;");
    }

    // Replaces the user database with bytes that are not a database.
    void CorruptUserDb() {
        FILE* f = std::fopen(store.userDbPath().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("not a database, but maybe somebody's unsent edits", f);
        std::fclose(f);
    }

    TempDir dir;
    LocalStore store;
};

}  // namespace kivtal::test
