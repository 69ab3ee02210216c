#include "store/AccountStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "model/ValueString.h"
#include "support/UserDbFixture.h"
#include "support/FileBytes.h"
#include "support/TestClock.h"

namespace kivtal {
namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

LoginRecord Login(const std::string& user, const std::string& pwd, int time, int autoLogin = 0) {
    LoginRecord r;
    r.login_user = user;
    r.login_pwd = pwd;
    r.login_time = time;
    r.login_ways = 2;
    r.auto_login = autoLogin;
    r.last_login = 1;
    return r;
}

UserInfo Profile() {
    UserInfo u;
    u.user_id = 1;
    u.user_server_id = 77;
    u.login_name = "o'brien%_";
    u.pwd = "digest'%";
    u.perm_value = 3;
    u.username = "张'三%";
    u.cell_phone = "13800138000";
    u.company1 = "Acme '100%' Ltd";
    u.job_category1_id = 12;
    u.job_position1 = "经理";
    u.business1_id = 105;
    u.area_id = 440106;
    u.mail = "a@b.cn";
    u.fix_phone = "020-1234";
    u.fax = "020-5678";
    u.address = "天河路 1 号";
    u.birthday_type = 2;
    u.birthday = "1980--04-05";
    u.title = 2;
    u.certification = 1;
    return u;
}

class AccountStoreTest : public test::UserDbFixture {
protected:
    AccountStoreTest() { EXPECT_EQ(store.EnsureLoginDb(), 0); }

    ResultTable LoginQuery(const std::string& sql) {
        SqliteDb db;
        EXPECT_EQ(db.open(store.loginDbPath()), SQLITE_OK);
        ResultTable t;
        EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql << ": " << db.lastError();
        return t;
    }
    void LoginExec(const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(store.loginDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute(sql), SQLITE_OK) << sql << ": " << db.lastError();
    }
    // The profile row the sync engine would have created from the service's data.
    void SeedProfileRow() { Exec("INSERT INTO tb_user(user_id,user_server_id,login_name) VALUES(1,77,'old');"); }
    std::string LogRows() {
        return Query(
                   "SELECT group_concat(sync_id||'|'||oper_code||'|'||s_row_id||'|'||s_values,';') "
                   "FROM tb_sync_record;")
            .text(0, 0);
    }

    test::TestClock clock{1700000000};
    test::ScopedClock useClock{clock};
    AccountStore accounts{store};
};

// --- Remembered logins ---

TEST_F(AccountStoreTest, SavingLoginsMovesTheLastLoginMarkAndUpdatesKnownNames) {
    ASSERT_EQ(accounts.SaveLogin(Login("a", "pa", 100)), 0);
    ASSERT_EQ(accounts.SaveLogin(Login("b", "pb", 200, 1)), 0);

    LoginRecordList all;
    ASSERT_EQ(accounts.RememberedLogins(all), 0);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].last_login, 0);
    EXPECT_EQ(all[1], Login("b", "pb", 200, 1));

    ASSERT_EQ(accounts.SaveLogin(Login("a", "pa2", 300)), 0);
    LoginRecord last;
    ASSERT_EQ(accounts.LastLogin(last), 0);
    EXPECT_EQ(last, Login("a", "pa2", 300));
    EXPECT_EQ(LoginQuery("SELECT count(*)||'|'||sum(last_login) FROM tb_login_record;").text(0, 0), "2|1");
    // The columns are INTEGER: the saved numbers are numbers, not texts.
    EXPECT_EQ(LoginQuery("SELECT typeof(login_time)||typeof(last_login) FROM tb_login_record WHERE login_user='a';")
                  .text(0, 0),
              "integerinteger");
}

TEST_F(AccountStoreTest, LoginNamesAndPasswordsWithQuotesAndWildcardsAreKeptExactly) {
    const std::string names[] = {"o'neil", "100%", "a_c", "x'; DROP TABLE tb_login_record; --"};
    for (const std::string& name : names) ASSERT_EQ(accounts.SaveLogin(Login(name, name + "'pw%", 1)), 0) << name;

    LoginRecordList all;
    ASSERT_EQ(accounts.RememberedLogins(all), 0);
    ASSERT_EQ(all.size(), 4u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].login_user, names[i]);
        EXPECT_EQ(all[i].login_pwd, names[i] + "'pw%");
        EXPECT_EQ(accounts.CheckOfflineLogin(names[i], names[i] + "'pw%"), 0) << names[i];
    }
    // "%" and "_" are no wildcards in the offline check.
    EXPECT_EQ(accounts.CheckOfflineLogin("1%", "100%'pw%"), 2);
    EXPECT_EQ(accounts.CheckOfflineLogin("abc", "a_c'pw%"), 2);
}

TEST_F(AccountStoreTest, OfflineCheckAndFirstLoginQuestion) {
    EXPECT_EQ(accounts.NoRememberedLogin(), 1);
    LoginRecord untouched = Login("keep", "me", 5);
    EXPECT_EQ(accounts.LastLogin(untouched), 1);
    EXPECT_EQ(untouched, Login("keep", "me", 5));

    ASSERT_EQ(accounts.SaveLogin(Login("a", "digest", 100)), 0);
    EXPECT_EQ(accounts.NoRememberedLogin(), 0);
    EXPECT_EQ(accounts.CheckOfflineLogin("a", "digest"), 0);
    EXPECT_EQ(accounts.CheckOfflineLogin("a", "wrong"), 2);
    EXPECT_EQ(accounts.CheckOfflineLogin("A", "digest"), 2);
    EXPECT_EQ(accounts.CheckOfflineLogin("nobody", "digest"), 2);
}

TEST_F(AccountStoreTest, AFailedSaveKeepsThePreviousLastLoginMark) {
    ASSERT_EQ(accounts.SaveLogin(Login("a", "pa", 100)), 0);
    LoginExec("CREATE TRIGGER no_insert BEFORE INSERT ON tb_login_record BEGIN SELECT RAISE(ABORT,'x'); END;");

    EXPECT_EQ(accounts.SaveLogin(Login("b", "pb", 200)), 1);
    LoginRecord last;
    ASSERT_EQ(accounts.LastLogin(last), 0);
    EXPECT_EQ(last.login_user, "a");
    EXPECT_EQ(LoginQuery("SELECT count(*) FROM tb_login_record;").text(0, 0), "1");
}

TEST_F(AccountStoreTest, UnusableLoginDatabaseGivesFailureCodesAndIsNeverReplaced) {
    struct Case {
        const char* name;
        bool present;
        std::string bytes;
    };
    const Case cases[] = {
        {"missing", false, ""},
        {"empty", true, ""},
        {"corrupt", true, "not a database, but somebody's remembered logins"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(store.loginDbPath());
        if (c.present) WriteFile(store.loginDbPath(), c.bytes);

        LoginRecordList all;
        LoginRecord last;
        EXPECT_EQ(accounts.SaveLogin(Login("a", "pa", 1)), 1);
        EXPECT_EQ(accounts.RememberedLogins(all), 1);
        EXPECT_TRUE(all.empty());
        EXPECT_EQ(accounts.LastLogin(last), 1);
        EXPECT_EQ(accounts.NoRememberedLogin(), 0);
        EXPECT_EQ(accounts.CheckOfflineLogin("a", "pa"), 1);

        EXPECT_EQ(FileExists(store.loginDbPath()), c.present);
        if (c.present) {
            EXPECT_EQ(test::FileBytes(store.loginDbPath()), c.bytes);
        }
    }
}

// --- Profile ---

TEST_F(AccountStoreTest, ModifiedProfileIsStoredReadBackAndLoggedAsAUserChange) {
    SeedProfileRow();
    const UserInfo p = Profile();
    ASSERT_EQ(accounts.ModifyProfile(p), 0);

    UserInfo read;
    ASSERT_EQ(accounts.ReadProfile(read), 0);
    EXPECT_EQ(read, p);

    const ResultTable log = Query(
        "SELECT oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id "
        "FROM tb_sync_record;");
    ASSERT_EQ(log.rows(), 1);
    EXPECT_EQ(log.integer(0, 0), OPER_USER);
    EXPECT_EQ(log.integer(0, 1), WAY_MODIFY);
    EXPECT_EQ(log.integer(0, 2), 1);
    EXPECT_EQ(log.text(0, 3), FormatValues(p));
    EXPECT_EQ(log.integer(0, 4), SYNC_PENDING);
    EXPECT_EQ(log.integer(0, 5), 1700000000);
    EXPECT_EQ(log.integer(0, 6), 77);
}

TEST_F(AccountStoreTest, ReadingAnEmptyProfileTableLeavesTheRecordAsItWas) {
    UserInfo read = Profile();
    EXPECT_EQ(accounts.ReadProfile(read), 0);
    EXPECT_EQ(read, Profile());
}

TEST_F(AccountStoreTest, AFailedProfileWriteLeavesRowAndLogAsBefore) {
    SeedProfileRow();
    ASSERT_EQ(accounts.ModifyProfile(Profile()), 0);
    const std::string logBefore = LogRows();

    UserInfo separated = Profile();
    separated.company1 = "before" + std::string(kValueSeparator) + "after";
    separated.username = "new name";
    EXPECT_EQ(accounts.ModifyProfile(separated), 1);

    FailChangeLogWrites();
    UserInfo changed = Profile();
    changed.username = "changed";
    EXPECT_EQ(accounts.ModifyProfile(changed), 1);

    UserInfo read;
    ASSERT_EQ(accounts.ReadProfile(read), 0);
    EXPECT_EQ(read, Profile());
    EXPECT_EQ(LogRows(), logBefore);
}

TEST_F(AccountStoreTest, LoginNameAndPasswordGoToTheRowNamedByItsIdText) {
    SeedProfileRow();
    Exec("INSERT INTO tb_user(user_id,login_name) VALUES(2,'other');");
    ASSERT_EQ(accounts.SetLoginNameAndPassword("o'hara%", "d'igest", "1"), 0);

    EXPECT_EQ(Query("SELECT login_name||'|'||pwd FROM tb_user WHERE user_id=1;").text(0, 0), "o'hara%|d'igest");
    EXPECT_EQ(Query("SELECT login_name FROM tb_user WHERE user_id=2;").text(0, 0), "other");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record;"), "0");
}

// --- Settings ---

TEST_F(AccountStoreTest, SettingsReadKeepsDefaultsWhenAbsentAndTakesTheLastRow) {
    UserSettings s;
    EXPECT_EQ(accounts.ReadSettings(s), 0);
    EXPECT_EQ(s, UserSettings{});

    Exec("INSERT INTO tb_user_settings(coloumn_show,auto_update,exit_ways,auto_run,server_id) VALUES(4,1,1,0,9);");
    Exec("INSERT INTO tb_user_settings(coloumn_show,auto_update,exit_ways,auto_run,server_id) VALUES(60,0,1,1,10);");
    ASSERT_EQ(accounts.ReadSettings(s), 0);
    EXPECT_EQ(s, (UserSettings{2, 60, 0, 1, 1, 10}));
}

TEST_F(AccountStoreTest, ModifiedSettingsAreStoredAndLoggedAsASettingsChange) {
    Exec("INSERT INTO tb_user_settings(coloumn_show,auto_update,exit_ways,auto_run,server_id) VALUES(6,0,0,1,9);");
    const UserSettings changed{1, 44, 1, 1, 0, 9};
    ASSERT_EQ(accounts.ModifySettings(changed), 0);

    UserSettings read;
    ASSERT_EQ(accounts.ReadSettings(read), 0);
    EXPECT_EQ(read, changed);
    EXPECT_EQ(Query("SELECT oper_code||'|'||oper_ways||'|'||s_row_id||'|'||s_values FROM tb_sync_record;").text(0, 0),
              "8|2|1|" + FormatValues(changed));
}

TEST_F(AccountStoreTest, SettingsThatWereNeverCreatedAreStillLoggedForTheService) {
    const UserSettings changed{0, 12, 1, 0, 0, 0};
    ASSERT_EQ(accounts.ModifySettings(changed), 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_user_settings;"), "0");
    EXPECT_EQ(Query("SELECT oper_code||'|'||s_row_id||'|'||s_values FROM tb_sync_record;").text(0, 0),
              "8|0|" + FormatValues(changed));
}

TEST_F(AccountStoreTest, AFailedSettingsWriteLeavesRowAndLogAsBefore) {
    Exec("INSERT INTO tb_user_settings(coloumn_show,auto_update,exit_ways,auto_run,server_id) VALUES(6,0,0,1,9);");
    ASSERT_EQ(accounts.ModifySettings(UserSettings{1, 14, 0, 0, 1, 9}), 0);
    const std::string logBefore = LogRows();
    FailChangeLogWrites();

    EXPECT_EQ(accounts.ModifySettings(UserSettings{1, 60, 1, 1, 0, 9}), 1);
    UserSettings read;
    ASSERT_EQ(accounts.ReadSettings(read), 0);
    EXPECT_EQ(read, (UserSettings{1, 14, 0, 0, 1, 9}));
    EXPECT_EQ(LogRows(), logBefore);
}

TEST_F(AccountStoreTest, UnusableUserDatabaseGivesFailureCodesAndIsNeverReplaced) {
    for (const bool missing : {true, false}) {
        SCOPED_TRACE(missing ? "missing" : "corrupt");
        std::string bytes;
        if (missing) {
            std::filesystem::remove(store.userDbPath());
        } else {
            CorruptUserDb();
            bytes = test::FileBytes(store.userDbPath());
        }
        UserInfo profile = Profile();
        UserSettings settings{3, 1, 1, 1, 1, 1};
        EXPECT_EQ(accounts.ReadProfile(profile), 1);
        EXPECT_EQ(profile, Profile());
        EXPECT_EQ(accounts.ModifyProfile(Profile()), 1);
        EXPECT_EQ(accounts.SetLoginNameAndPassword("a", "b", "1"), 1);
        EXPECT_EQ(accounts.ReadSettings(settings), 0);
        EXPECT_EQ(settings, (UserSettings{3, 1, 1, 1, 1, 1}));
        EXPECT_EQ(accounts.ModifySettings(settings), 1);

        EXPECT_EQ(FileExists(store.userDbPath()), !missing);
        if (!missing) {
            EXPECT_EQ(test::FileBytes(store.userDbPath()), bytes);
        }
    }
}

// Runs `op` while the data folder is read-only. Root ignores folder permissions, so
// as root the operation runs in a child process that has dropped to "nobody".
int WithReadOnlyFolder(const std::string& top, const std::string& folder, const std::function<int()>& op) {
    chmod(folder.c_str(), 0555);
    int result = 0;
    if (geteuid() != 0) {
        result = op();
    } else {
        chmod(top.c_str(), 0755);
        for (const auto& entry : std::filesystem::directory_iterator(folder)) chmod(entry.path().c_str(), 0666);
        const pid_t child = fork();
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
            _exit(op() & 0xff);
        }
        int status = 0;
        waitpid(child, &status, 0);
        result = WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 101;
    }
    chmod(folder.c_str(), 0700);
    return result;
}

TEST_F(AccountStoreTest, WritesFailCleanlyInAReadOnlyDataFolderAndReadsStillWork) {
    SeedProfileRow();
    ASSERT_EQ(accounts.SaveLogin(Login("a", "pa", 100)), 0);
    const std::string loginBefore = test::FileBytes(store.loginDbPath());
    const std::string userBefore = test::FileBytes(store.userDbPath());
    const std::string folder = store.dataDir();

    EXPECT_EQ(WithReadOnlyFolder(dir.path(), folder, [&] { return accounts.SaveLogin(Login("b", "pb", 200)); }), 1);
    EXPECT_EQ(WithReadOnlyFolder(dir.path(), folder, [&] { return accounts.ModifyProfile(Profile()); }), 1);
    EXPECT_EQ(WithReadOnlyFolder(dir.path(), folder,
                                 [&] {
                                     LoginRecord last;
                                     UserInfo profile;
                                     return accounts.LastLogin(last) + accounts.ReadProfile(profile);
                                 }),
              0);

    EXPECT_EQ(test::FileBytes(store.loginDbPath()), loginBefore);
    EXPECT_EQ(test::FileBytes(store.userDbPath()), userBefore);
}

}  // namespace
}  // namespace kivtal
