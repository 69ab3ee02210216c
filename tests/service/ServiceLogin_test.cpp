// Password storage and guessing: the work factor, the rehash at login, and the limits
// on failed logins.
#include "Database.h"
#include "ServiceHarness.h"

namespace kivtal::service::test {
namespace {

class ServiceLogin : public ServiceHarness {
protected:
    void SetUp() override {
        options_.throttle = {3, 6, std::chrono::seconds(600)};
        ServiceHarness::SetUp();
        addAccount("alice", "secret");
        addAccount("bob", "hunter2");
    }

    std::string storedHash(const std::string& name) {
        const auto db = openDatabase();
        auto s = db->prepare("SELECT pwd_hash FROM accounts WHERE login_name=?;");
        s.bind({name});
        return s.step() ? s.text(0) : std::string();
    }
};

TEST(PasswordHash, NewPasswordsGetCurrentGuidanceRounds) {
    const std::string digest = ClientPasswordDigest("secret");
    const std::string stored = HashPassword(digest);
    EXPECT_GE(StoredRounds(stored), 600'000);
    EXPECT_TRUE(VerifyPassword(stored, digest));
    EXPECT_EQ(StoredRounds("pbkdf2-sha256$x$y$z"), 0);
    EXPECT_EQ(StoredRounds("md5$1$y$z"), 0);
}

// A hash made with fewer rounds than the service now uses still logs in, and is
// replaced by one with the current rounds at that login.
TEST_F(ServiceLogin, AWeakerStoredHashIsReplacedAtTheNextGoodLogin) {
    {
        openDatabase()
            ->prepare("UPDATE accounts SET pwd_hash=? WHERE login_name='alice';")
            .bind({HashPassword(ClientPasswordDigest("secret"), 10)})
            .run();
    }
    EXPECT_EQ(loginReply("alice", "wrong", "D")["error"].asString(), "1003");
    EXPECT_EQ(StoredRounds(storedHash("alice")), 10);  // a wrong password changes nothing
    EXPECT_EQ(loginReply("alice", "secret", "D")["error"].asString(), "0");
    EXPECT_EQ(StoredRounds(storedHash("alice")), options_.passwordRounds);
    EXPECT_EQ(loginReply("alice", "secret", "D")["error"].asString(), "0");
}

// Past the failures allowed for a name, even its right password is refused for a
// while (1006) and costs no password check; past those allowed for an address, every
// name is. Unknown names count like wrong passwords.
TEST_F(ServiceLogin, FailedLoginsAreLimitedPerAccountAndPerAddress) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(loginReply("alice", "guess", "D")["error"].asString(), "1003");
    EXPECT_EQ(loginReply("alice", "secret", "D")["error"].asString(), "1006");
    EXPECT_EQ(loginReply("bob", "hunter2", "D")["error"].asString(), "0");  // another name still logs in

    // A good login clears the name's count.
    EXPECT_EQ(loginReply("bob", "guess", "D")["error"].asString(), "1003");
    EXPECT_EQ(loginReply("bob", "hunter2", "D")["error"].asString(), "0");

    for (const char* name : {"nobody1", "nobody2"}) EXPECT_EQ(loginReply(name, "x", "D")["error"].asString(), "1001");
    // Six failures from this address now: everybody from it waits.
    EXPECT_EQ(loginReply("bob", "hunter2", "D")["error"].asString(), "1006");
}

}  // namespace
}  // namespace kivtal::service::test
