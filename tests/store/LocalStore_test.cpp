#include "store/LocalStore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "store/ChangeLog.h"
#include "store/RefusedUploads.h"
#include "store/SyncBases.h"
#include "store/Schema.h"
#include "store/SqlFunctions.h"
#include "support/TempDir.h"

namespace kivtal {
namespace {

class LocalStoreTest : public ::testing::Test {
protected:
    test::TempDir dir;
    LocalStore store{StorePaths{dir.path() + "user", dir.file("missing_ref.db")}};

    ResultTable Query(const std::string& path, const std::string& sql) {
        SqliteDb db;
        EXPECT_EQ(db.open(path), SQLITE_OK);
        ResultTable t;
        EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql;
        return t;
    }
};

TEST_F(LocalStoreTest, LoginDatabaseIsCreatedOnceWithItsTable) {
    ASSERT_EQ(store.EnsureLoginDb(), 0);
    const std::string path = dir.path() + "user/login_record.db";
    ResultTable cols = Query(path, "PRAGMA table_info(tb_login_record)");
    ASSERT_EQ(cols.rows(), 10);
    EXPECT_EQ(cols.text(0, 1), "login_id");
    EXPECT_EQ(cols.text(2, 1), "login_pwd");
    EXPECT_EQ(cols.text(9, 2), "VARCHAR");
    {
        SqliteDb db;
        ASSERT_EQ(db.open(path), SQLITE_OK);
        ASSERT_EQ(db.execute("INSERT INTO tb_login_record(login_user) VALUES('a');"), SQLITE_OK);
    }
    EXPECT_EQ(store.EnsureLoginDb(), 0);
    EXPECT_EQ(Query(path, "SELECT count(*) FROM tb_login_record").text(0, 0), "1");
}

// Fails each database call of the creation in turn: every attempt leaves either no
// file (and says so) or a complete one, never a file without its tables.
TEST_F(LocalStoreTest, CreatingEitherDatabaseFailsWithoutLeavingAnEmptyFile) {
    struct Target {
        const char* name;
        std::function<int(LocalStore&)> create;
        const char* file;
        const char* table;
    };
    const Target targets[] = {
        {"login", [](LocalStore& s) { return s.EnsureLoginDb(); }, "login_record.db", "tb_login_record"},
        {"user", [](LocalStore& s) { return s.EnsureUserDb("alice"); }, "alice.db", "tb_sync_set_aside"},
    };
    for (const Target& t : targets) {
        for (long i = 1;; ++i) {
            SCOPED_TRACE(std::string(t.name) + " call " + std::to_string(i));
            test::TempDir scratch;
            LocalStore fresh(StorePaths{scratch.path() + "user", ""});
            FailNthSqliteCall(i);
            const int result = t.create(fresh);
            const bool hit = SqliteFaultHit();
            FailNthSqliteCall(0);
            const std::string path = scratch.path() + "user/" + t.file;
            if (!hit) {
                EXPECT_EQ(result, 0);
                break;
            }
            EXPECT_EQ(result, 1);
            EXPECT_FALSE(FileExists(path));
            EXPECT_FALSE(FileExists(path + ".creating"));
            ASSERT_EQ(t.create(fresh), 0) << "a later attempt creates it";
            EXPECT_EQ(Query(path, std::string("SELECT count(*) FROM ") + t.table).text(0, 0), "0");
        }
    }
}

TEST_F(LocalStoreTest, UserDatabaseHasTheSeventeenTablesInOrderWithSeeds) {
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    const std::string path = store.userDbPath();
    EXPECT_EQ(path, dir.path() + "user/alice.db");

    struct Expected {
        const char* table;
        int columns;
        int column;  // one telling column
        const char* name;
        const char* type;
        bool deletedAt = false;  // ends with the later deleted_at after filed_3
    };
    const Expected tables[] = {
        {"tb_user", 29, 25, "certification", "INTEGER"},
        {"tb_bc", 39, 27, "bc_state", "VARCHAR", true},
        {"tb_bc_group", 7, 3, "group_state", "INTEGER"},
        {"tb_ubank_info", 13, 9, "bc_server_id", "INTEGER"},
        {"tb_event", 14, 8, "create_time", "INTEGER", true},
        {"tb_event_group", 7, 1, "group_name", "VARCHAR"},
        {"tb_event_comment", 11, 6, "event_server_id", "INTEGER", true},
        {"tb_event_alarm", 15, 3, "alarm_time", "VARCHAR", true},
        {"tb_sync_record", 12, 7, "s_server_id", "INTEGER"},
        {"tb_user_settings", 9, 1, "coloumn_show", "INTEGER"},
        {"tb_app_info", 7, 1, "ver_name", "VARCHAR"},
        {"tb_sync_time", 2, 1, "tal_sync_time", "INTEGER"},
        {"tb_news", 11, 7, "extra_data_path", "VARCHAR"},
        {"tb_sync_record_tmp", 12, 8, "main_tab", "INTEGER"},
        {"tb_secretary_img", 6, 2, "img_state", "INTEGER"},
        {"tb_ad", 10, 6, "ad_state", "INTEGER"},
        {"tb_hardware_info", 9, 4, "hard_unique_id", "VARCHAR"},
    };
    ResultTable names =
        Query(path, "SELECT name FROM sqlite_master WHERE type='table' AND name LIKE 'tb_%' ORDER BY rowid");
    ASSERT_EQ(names.rows(), 21);
    EXPECT_EQ(names.text(17, 0), "tb_sync_set_aside");  // added later, IF NOT EXISTS
    EXPECT_EQ(names.text(18, 0), "tb_sync_refused");
    EXPECT_EQ(names.text(19, 0), "tb_sync_base");
    EXPECT_EQ(names.text(20, 0), "tb_sync_clash");
    for (int i = 0; i < 17; ++i) {
        const Expected& e = tables[i];
        SCOPED_TRACE(e.table);
        EXPECT_EQ(names.text(i, 0), e.table);
        ResultTable cols = Query(path, std::string("PRAGMA table_info(") + e.table + ")");
        ASSERT_EQ(cols.rows(), e.columns);
        EXPECT_EQ(cols.text(e.column, 1), e.name);
        EXPECT_EQ(cols.text(e.column, 2), e.type);
        EXPECT_EQ(cols.text(0, 2), "INTEGER");
        EXPECT_EQ(cols.text(0, 5), "1");  // the key
        const int last = e.columns - 1;
        if (e.deletedAt) {
            EXPECT_EQ(cols.text(last, 1), "deleted_at");
            EXPECT_EQ(cols.text(last - 1, 1), "filed_3");
        } else if (std::string(e.table) != "tb_sync_time") {
            EXPECT_EQ(cols.text(last, 1), "filed_3");
        }
    }
    EXPECT_EQ(Query(path, "SELECT tal_sync_time FROM tb_sync_time").text(0, 0), "0");
    ResultTable hw = Query(path, "SELECT upload_times,use_times,success_times FROM tb_hardware_info");
    ASSERT_EQ(hw.rows(), 1);
    EXPECT_EQ(hw.text(0, 0) + hw.text(0, 1) + hw.text(0, 2), "000");
    EXPECT_FALSE(FileExists(path + ".creating"));
}

TEST_F(LocalStoreTest, SameNameReusesTheFileAnotherNameGetsItsOwn) {
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    {
        StoreSession s = store.OpenUserDb();
        ASSERT_TRUE(s.ok());
        ASSERT_EQ(s.db().execute("UPDATE tb_sync_time SET tal_sync_time=?;", {Arg(42)}), SQLITE_OK);
    }
    ASSERT_EQ(store.EnsureUserDb("bob"), 0);
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    EXPECT_EQ(Query(store.userDbPath(), "SELECT tal_sync_time FROM tb_sync_time").text(0, 0), "42");
    EXPECT_TRUE(FileExists(dir.path() + "user/bob.db"));
}

TEST_F(LocalStoreTest, LookupIndexesAndLaterTablesAreMadeOnCreationAndAddedToOlderFiles) {
    const auto indexCount = [&](const std::string& path) {
        return Query(path, "SELECT count(*) FROM sqlite_master WHERE type='index' AND name LIKE 'ix_%'").text(0, 0);
    };
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    const std::string path = store.userDbPath();
    const std::string expected = std::to_string(UserDbIndexes().size());
    EXPECT_EQ(indexCount(path), expected);

    // A file from before the indexes: they are added at the next login, data intact.
    {
        SqliteDb db;
        ASSERT_EQ(db.open(path), SQLITE_OK);
        ASSERT_EQ(db.execute("INSERT INTO tb_bc(bc_name)VALUES('kept');"), SQLITE_OK);
        for (const std::string& sql : UserDbIndexes()) {
            const std::string name = sql.substr(sql.find("ix_"), sql.find(" ON ") - sql.find("ix_"));
            ASSERT_EQ(db.execute("DROP INDEX " + name + ";"), SQLITE_OK);
        }
        ASSERT_EQ(db.execute("DROP TABLE tb_sync_set_aside;"), SQLITE_OK);
    }
    EXPECT_EQ(indexCount(path), "0");
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    EXPECT_EQ(indexCount(path), expected);
    EXPECT_EQ(Query(path, "SELECT count(*) FROM tb_sync_set_aside").text(0, 0), "0");
    EXPECT_EQ(Query(path, "SELECT bc_name FROM tb_bc").text(0, 0), "kept");
}

TEST_F(LocalStoreTest, TheClientsOwnTablesAreMadeOnCreationAndAddedToOlderFiles) {
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    const std::string path = store.userDbPath();
    const auto tableCount = [&] {
        return Query(path,
                     "SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                     "name IN ('client_last_sync','tb_sync_refused','tb_sync_base','tb_sync_clash')")
            .text(0, 0);
    };
    EXPECT_EQ(tableCount(), "4");
    {
        SqliteDb db;
        ASSERT_EQ(db.open(path), SQLITE_OK);
        ASSERT_EQ(db.execute("DROP TABLE client_last_sync; DROP TABLE tb_sync_refused; DROP TABLE tb_sync_base; "
                             "DROP TABLE tb_sync_clash;"),
                  SQLITE_OK);
    }
    int finishedAt = -1;
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    EXPECT_EQ(tableCount(), "4");
    int clashes = -1;
    ASSERT_EQ(CountClashes(store, clashes), 0);
    EXPECT_EQ(clashes, 0);
    int refused = -1;
    ASSERT_EQ(RefusedUploadCount(store, refused), 0);
    EXPECT_EQ(refused, 0);
    ASSERT_EQ(ChangeLog(store).ReadLastSyncFinish(finishedAt), 0);
    EXPECT_EQ(finishedAt, 0) << "never synced";
    ASSERT_EQ(ChangeLog(store).StoreLastSyncFinish(1796905342), 0);
    ASSERT_EQ(ChangeLog(store).StoreLastSyncFinish(1796905400), 0);
    ASSERT_EQ(ChangeLog(store).ReadLastSyncFinish(finishedAt), 0);
    EXPECT_EQ(finishedAt, 1796905400);
    EXPECT_EQ(Query(path, "SELECT count(*) FROM client_last_sync").text(0, 0), "1");
}

TEST_F(LocalStoreTest, LoginNamesThatWouldLeaveTheDataFolderAreRefused) {
    for (const char* name : {"", ".", "..", "../evil", "a/b"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(store.EnsureUserDb(name), 1);
    }
    EXPECT_FALSE(FileExists(dir.path() + "evil.db"));
    EXPECT_EQ(store.EnsureUserDb("张三 O'Brien %_"), 0);
}

TEST_F(LocalStoreTest, AnUncreatableFolderFailsWithoutAFile) {
    std::ofstream(dir.file("plainfile")) << "x";
    LocalStore blocked(StorePaths{dir.file("plainfile") + "/user", ""});
    EXPECT_EQ(blocked.EnsureLoginDb(), 1);
    EXPECT_EQ(blocked.EnsureUserDb("alice"), 1);
    EXPECT_FALSE(blocked.OpenUserDb().ok());
}

TEST_F(LocalStoreTest, MissingOrCorruptFilesFailWithoutBeingReplaced) {
    EXPECT_FALSE(store.OpenUserDb().ok()) << "no login yet";
    EXPECT_FALSE(store.OpenRefDb().ok());
    EXPECT_FALSE(FileExists(dir.file("missing_ref.db")));

    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    std::remove(store.userDbPath().c_str());
    EXPECT_FALSE(store.OpenUserDb().ok());
    EXPECT_FALSE(FileExists(store.userDbPath())) << "a vanished database is not recreated empty";

    std::ofstream(store.userDbPath()) << "this is not a database, but it may hold someone's edits";
    {
        StoreSession s = store.OpenUserDb();
        ResultTable t;
        EXPECT_NE(s.ok() ? s.db().query("SELECT * FROM tb_bc", t) : SQLITE_ERROR, SQLITE_OK);
    }
    EXPECT_EQ(store.EnsureUserDb("alice"), 0);
    std::ifstream in(store.userDbPath());
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "this is not a database, but it may hold someone's edits");
}

TEST_F(LocalStoreTest, TheLockIsReleasedOnEveryPathAndSerialisesSessions) {
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    { StoreSession failing = store.OpenRefDb(); }
    {
        StoreSession s = store.OpenUserDb();
        ASSERT_TRUE(s.ok());
    }

    std::promise<void> holding;
    std::promise<void> release;
    std::thread holder([&] {
        StoreSession s = store.OpenUserDb();
        holding.set_value();
        release.get_future().wait();
    });
    holding.get_future().wait();
    auto second = std::async(std::launch::async, [&] { return store.OpenUserDb().ok(); });
    EXPECT_EQ(second.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    release.set_value();
    holder.join();
    EXPECT_TRUE(second.get());
}

TEST_F(LocalStoreTest, TransactionsRollBackUnlessCommittedAndValuesAreBound) {
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    const std::string tricky = "O'Brien %_ \"quoted\" ~\xE9\xBA\xA4^ 张三";
    {
        StoreSession s = store.OpenUserDb();
        SqliteTransaction tx(s.db());
        ASSERT_TRUE(tx.began());
        ASSERT_EQ(s.db().execute("INSERT INTO tb_bc_group(group_name)VALUES(?);", {Arg("lost")}), SQLITE_OK);
    }
    {
        StoreSession s = store.OpenUserDb();
        SqliteTransaction tx(s.db());
        ASSERT_EQ(s.db().execute("INSERT INTO tb_bc_group(group_name)VALUES(?);", {Arg(tricky)}), SQLITE_OK);
        ASSERT_EQ(tx.commit(), SQLITE_OK);
    }
    ResultTable t = Query(store.userDbPath(), "SELECT group_name FROM tb_bc_group");
    ASSERT_EQ(t.rows(), 1);
    EXPECT_EQ(t.text(0, 0), tricky);
}

TEST_F(LocalStoreTest, IntsBoundIntoVarcharColumnsAreKeptAsDecimalText) {
    ASSERT_EQ(store.EnsureUserDb("alice"), 0);
    StoreSession s = store.OpenUserDb();
    ASSERT_EQ(s.db().execute("INSERT INTO tb_bc(bc_state,title)VALUES(?,?);", {Arg(1), Arg(2)}), SQLITE_OK);
    ResultTable t;
    ASSERT_EQ(s.db().query("SELECT typeof(bc_state),typeof(title) FROM tb_bc WHERE bc_state=?", {Arg(1)}, t),
              SQLITE_OK);
    ASSERT_EQ(t.rows(), 1);
    EXPECT_EQ(t.text(0, 0), "text");
    EXPECT_EQ(t.text(0, 1), "integer");
}

TEST(FirstLetterNotAZ, TellsLettersFromEverythingElse) {
    SqliteDb db;
    ASSERT_EQ(db.open(":memory:"), SQLITE_OK);
    ASSERT_EQ(RegisterFirstLetterNotAZ(db), SQLITE_OK);
    ResultTable t;
    ASSERT_EQ(db.query("SELECT getFirstLetterNotAZ('zhang'),getFirstLetterNotAZ('Zhang'),getFirstLetterNotAZ('123'),"
                       "getFirstLetterNotAZ(''),getFirstLetterNotAZ('张'),getFirstLetterNotAZ('[x'),"
                       "getFirstLetterNotAZ(NULL) IS NULL",
                       t),
              SQLITE_OK);
    const char* expected[] = {"0", "0", "1", "1", "1", "1", "1"};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(t.text(0, c), expected[c]) << "column " << c;
}

}  // namespace
}  // namespace kivtal
