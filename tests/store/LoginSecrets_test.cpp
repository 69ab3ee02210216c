// Where the remembered login's digest lives: the desktop's secret service when one
// answers, else the login database, whose files only their owner may read.
#include "store/LoginSecrets.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "store/AccountStore.h"
#include "support/PrivateSecretService.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

constexpr const char* kDigest = "0123456789abcdef0123456789abcdef";

int Mode(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

LoginRecord Remembered(const std::string& user, const std::string& digest) {
    LoginRecord r;
    r.login_user = user;
    r.login_pwd = digest;
    r.login_time = 100;
    r.login_ways = 1;
    r.auto_login = 1;
    r.last_login = 1;
    return r;
}

class LoginSecretsTest : public test::UserDbFixture {
protected:
    LoginSecretsTest() { EXPECT_EQ(store.EnsureLoginDb(), 0); }

    std::string RowDigest(const std::string& user) {
        SqliteDb db;
        EXPECT_EQ(db.open(store.loginDbPath()), SQLITE_OK);
        ResultTable t;
        EXPECT_EQ(db.query("SELECT login_pwd FROM tb_login_record WHERE login_user=?;", {Arg(user)}, t), SQLITE_OK);
        return t.empty() ? "<no row>" : t.text(0, 0);
    }

    // Reads the digest back through every path the login window and the CLI use.
    void ExpectDigestReadBack(const std::string& user, const std::string& digest) {
        AccountStore accounts(store);
        LoginRecord last;
        ASSERT_EQ(accounts.LastLogin(last), 0);
        EXPECT_EQ(last.login_pwd, digest);
        LoginRecordList all;
        ASSERT_EQ(accounts.RememberedLogins(all), 0);
        ASSERT_EQ(all.size(), 1u);
        EXPECT_EQ(all[0].login_pwd, digest);
        EXPECT_EQ(accounts.CheckOfflineLogin(user, digest), 0);
        EXPECT_EQ(accounts.CheckOfflineLogin(user, digest + "0"), 2);
    }

    AccountStore accounts{store};
};

TEST_F(LoginSecretsTest, WithoutASessionBusTheDigestStaysInTheRow) {
    test::ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    EXPECT_EQ(LoginSecrets(store.dataDir()).Store("ann", kDigest), LoginSecrets::Status::Unavailable);

    ASSERT_EQ(accounts.SaveLogin(Remembered("ann", kDigest)), 0);
    EXPECT_EQ(RowDigest("ann"), kDigest);
    ExpectDigestReadBack("ann", kDigest);
    // A row that lost its digest never lets an empty password in.
    ASSERT_EQ(accounts.SaveLogin(Remembered("ann", "")), 0);
    EXPECT_EQ(accounts.CheckOfflineLogin("ann", ""), 2);
}

TEST_F(LoginSecretsTest, TheDatabasesAndTheDataFolderAreTheOwnersOnly) {
    EXPECT_EQ(Mode(store.dataDir()), 0700);
    EXPECT_EQ(Mode(store.loginDbPath()), 0600);
    EXPECT_EQ(Mode(store.userDbPath()), 0600);

    // Files an older client left readable to everyone are tightened when opened, with
    // their journal and WAL files.
    const std::string wal = store.userDbPath() + "-wal";
    std::fclose(std::fopen(wal.c_str(), "w"));
    for (const std::string& path : {store.loginDbPath(), store.userDbPath(), wal})
        ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(store.EnsureLoginDb(), 0);
    ASSERT_EQ(store.EnsureUserDb("tester"), 0);
    for (const std::string& path : {store.loginDbPath(), store.userDbPath(), wal}) EXPECT_EQ(Mode(path), 0600) << path;
}

TEST_F(LoginSecretsTest, ARunningSecretServiceKeepsTheDigestOutOfTheDatabase) {
    if (!LoginSecrets::Built()) GTEST_SKIP() << "built without libsecret";
    if (!test::PrivateSecretService::Installed())
        GTEST_SKIP() << "dbus-daemon or gnome-keyring-daemon is not installed";
    test::PrivateSecretService service(dir.path());
    if (!service.running()) GTEST_SKIP() << "the keyring daemon did not start";

    // A row an older client wrote keeps working.
    ASSERT_EQ(accounts.SaveLogin(Remembered("ann", "")), 0);
    {
        SqliteDb db;
        ASSERT_EQ(db.open(store.loginDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute("UPDATE tb_login_record SET login_pwd='" + std::string(kDigest) + "';"), SQLITE_OK);
    }
    ExpectDigestReadBack("ann", kDigest);

    // The next login moves the digest to the service and clears it from the row.
    ASSERT_EQ(accounts.SaveLogin(Remembered("ann", kDigest)), 0);
    EXPECT_EQ(RowDigest("ann"), "");
    ExpectDigestReadBack("ann", kDigest);

    // Another data folder's login of the same name is a different secret.
    std::string other;
    EXPECT_EQ(LoginSecrets(dir.path() + "other/").Lookup("ann", other), LoginSecrets::Status::NotFound);

    LoginSecrets secrets(store.dataDir());
    EXPECT_EQ(secrets.Forget("ann"), LoginSecrets::Status::Done);
    EXPECT_EQ(secrets.Lookup("ann", other), LoginSecrets::Status::NotFound);
    EXPECT_EQ(accounts.CheckOfflineLogin("ann", kDigest), 2);
    EXPECT_EQ(accounts.CheckOfflineLogin("ann", ""), 2);
}

}  // namespace
}  // namespace kivtal
