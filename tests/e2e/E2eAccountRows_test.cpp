// The user's profile and settings rows on two devices of one account: each device gets
// them from the service, and a change of the settings travels and settles like any
// other synchronised record.
#include <gtest/gtest.h>

#include "e2e/E2eFixture.h"
#include "net/Identity.h"
#include "store/AccountStore.h"
#include "store/SqliteDb.h"

namespace kivtal::e2e {
namespace {

int RowCount(const std::string& dbPath, const char* table) {
    SqliteDb db;
    EXPECT_EQ(db.open(dbPath), 0) << dbPath;
    ResultTable t;
    EXPECT_EQ(db.query(std::string("SELECT count(*) FROM ") + table + ";", t), 0) << table;
    return t.empty() ? -1 : t.integer(0, 0);
}

// The fields a device's settings carry, without the row's local id.
struct SettingsValues {
    int coloumn_show, auto_update, exit_ways, auto_run, server_id;
    bool operator==(const SettingsValues&) const = default;
};

std::ostream& operator<<(std::ostream& os, const SettingsValues& s) {
    return os << "{" << s.coloumn_show << "," << s.auto_update << "," << s.exit_ways << "," << s.auto_run << ","
              << s.server_id << "}";
}

class AccountRows : public TwoDeviceTest {
protected:
    UserSettings settings(Device& d) {
        UserSettings s;
        EXPECT_EQ(AccountStore(d.store(kAccount)).ReadSettings(s), 0);
        return s;
    }
    SettingsValues values(Device& d) {
        const UserSettings s = settings(d);
        return {s.coloumn_show, s.auto_update, s.exit_ways, s.auto_run, s.server_id};
    }
    UserInfo profile(Device& d) {
        UserInfo u;
        EXPECT_EQ(AccountStore(d.store(kAccount)).ReadProfile(u), 0);
        return u;
    }
    void modifySettings(Device& d, void (*change)(UserSettings&)) {
        UserSettings s = settings(d);
        change(s);
        ASSERT_EQ(AccountStore(d.store(kAccount)).ModifySettings(s), 0) << d.uniqueId();
    }
};

TEST_F(AccountRows, EachDeviceHasOneProfileAndOneSettingsRowFromTheService) {
    converge();  // repeated runs must not add a second copy
    for (Device* d : {&A(), &B()}) {
        EXPECT_EQ(RowCount(d->userDbPath(kAccount), "tb_user"), 1) << d->uniqueId();
        EXPECT_EQ(RowCount(d->userDbPath(kAccount), "tb_user_settings"), 1) << d->uniqueId();
        const UserSettings s = settings(*d);
        EXPECT_GT(s.s_id, 0);
        EXPECT_EQ(values(*d), (SettingsValues{6, 0, 0, 1, s.server_id}));
        EXPECT_GT(s.server_id, 0);
        // The login keeps its name and password digest in the row; the service never
        // sends the digest.
        const UserInfo u = profile(*d);
        EXPECT_EQ(u.login_name, kAccount);
        EXPECT_EQ(u.pwd, md5Hex(md5Hex(kPassword)));
        EXPECT_GT(u.user_server_id, 0);
        EXPECT_EQ(u.title, 1);
        EXPECT_EQ(u.birthday_type, 1);
    }
    EXPECT_EQ(values(A()), values(B()));
    EXPECT_EQ(profile(A()).user_server_id, profile(B()).user_server_id);
}

TEST_F(AccountRows, ASettingsChangeReachesTheOtherDevice) {
    modifySettings(A(), [](UserSettings& s) {
        s.coloumn_show = 6 | 4 | 8;  // company and e-mail columns shown
        s.exit_ways = 1;
    });
    A().sync();
    B().sync();
    EXPECT_EQ(values(B()), (SettingsValues{14, 0, 1, 1, settings(A()).server_id}));
    EXPECT_EQ(values(A()), values(B()));
    EXPECT_EQ(PendingCount(A().userDbPath(kAccount)), 0);
    EXPECT_EQ(RowCount(B().userDbPath(kAccount), "tb_user_settings"), 1);
}

// Settings are one record changed field by field: the device that syncs last meets
// the other's change and merges it with its own, so both devices end with A's column
// change and B's automatic update, nothing left waiting.
TEST_F(AccountRows, ASettingsConflictKeepsTheChangesOfBothDevices) {
    modifySettings(A(), [](UserSettings& s) { s.coloumn_show = 6 | 32; });
    modifySettings(B(), [](UserSettings& s) { s.auto_update = 1; });
    A().sync();
    B().sync();
    const int serverId = settings(A()).server_id;
    EXPECT_EQ(values(B()), (SettingsValues{6 | 32, 1, 0, 1, serverId}));
    EXPECT_EQ(PendingCount(B().userDbPath(kAccount)), 0);
    EXPECT_EQ(B().json({"conflicts"}).size(), 0u);

    A().sync();
    EXPECT_EQ(values(A()), (SettingsValues{6 | 32, 1, 0, 1, serverId}));
    converge();
    EXPECT_EQ(values(A()), values(B()));
    for (Device* d : {&A(), &B()}) EXPECT_EQ(RowCount(d->userDbPath(kAccount), "tb_user_settings"), 1);
}

}  // namespace
}  // namespace kivtal::e2e
