#include "support/UserDbFixture.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace kivtal::test {

UserDbFixture::UserDbFixture() : store(StorePaths{dir.path() + "user", RefDbForTests()}) {
    EXPECT_EQ(store.EnsureUserDb("tester"), 0);
}

std::string RefDbForTests() {
    const char* p = std::getenv("KIVTAL_REFDB");
    return p != nullptr ? p : "/nonexistent/doz2a_v3.db";
}

ResultTable UserDbFixture::Query(const std::string& sql) {
    SqliteDb db;
    EXPECT_EQ(db.open(store.userDbPath()), SQLITE_OK);
    ResultTable t;
    EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql << ": " << db.lastError();
    return t;
}

void UserDbFixture::Exec(const std::string& sql) {
    SqliteDb db;
    ASSERT_EQ(db.open(store.userDbPath()), SQLITE_OK);
    ASSERT_EQ(db.execute(sql), SQLITE_OK) << sql << ": " << db.lastError();
}

std::string UserDbFixture::Scalar(const std::string& sql) { return Query(sql).text(0, 0); }

void UserDbFixture::FailChangeLogWrites() {
    Exec("CREATE TRIGGER fail_log_insert BEFORE INSERT ON tb_sync_record BEGIN SELECT RAISE(ABORT,'log'); END;");
    Exec("CREATE TRIGGER fail_log_update BEFORE UPDATE ON tb_sync_record BEGIN SELECT RAISE(ABORT,'log'); END;");
    Exec("CREATE TRIGGER fail_tmp_insert BEFORE INSERT ON tb_sync_record_tmp BEGIN SELECT RAISE(ABORT,'log'); END;");
}

void UserDbFixture::CorruptUserDb() {
    FILE* f = std::fopen(store.userDbPath().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a database, but maybe somebody's unsent edits", f);
    std::fclose(f);
}

}  // namespace kivtal::test
