// Edits the service must accept first, sent by the core's commit jobs to the real
// service: reminders paid in coins and checked for sensitive words, and the profile of
// an account whose name is certified.
#include <gtest/gtest.h>

#include "e2e/CoreDevice.h"
#include "e2e/ServiceProcess.h"
#include "model/SyncKinds.h"
#include "net/ImmediateCommits.h"
#include "net/SyncRun.h"
#include "store/AccountStore.h"
#include "store/MatterStore.h"

namespace kivtal::e2e {
namespace {

class Commits : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(service_.op({"--add-account", "li", "pw-li", "--coins", "2"}), 0);
        ASSERT_EQ(service_.op({"--add-account", "wang", "pw-wang", "--certified", "--name", "王大明"}), 0);
        ASSERT_TRUE(service_.start()) << ReadFile(service_.outPath());
    }

    // A matter the service knows, so that reminders can name it.
    TalEvent syncedMatter(CoreDevice& d) {
        TalEvent m;
        m.description = "拜访客户";
        m.start_time = 1900000000;
        m.end_time = 1900003600;
        EXPECT_EQ(MatterStore(d.store()).AddMatter(m), StoreStatus::kOk);
        JobContext ctx = d.context();
        EXPECT_EQ(runSync(ctx), 0);
        EXPECT_EQ(MatterStore(d.store()).MatterById(m.event_id, m), 0);
        EXPECT_GT(m.server_id, 0);
        return m;
    }

    static EventAlarm reminderFor(const TalEvent& m, const std::string& text) {
        EventAlarm r;
        r.a_content = text;
        r.alarm_whos = "张三";
        r.event_id = m.event_id;
        r.event_server_id = m.server_id;
        r.alarm_time = m.start_time - 600;
        return r;
    }

    kivtal::test::TempDir folder_;
    ServiceProcess service_{folder_.path()};
};

TEST_F(Commits, RemindersSpendCoinsAndRefuseSensitiveWordsAndShortBalances) {
    CoreDevice device("device-A", service_.url());
    ASSERT_EQ(device.login("li", "pw-li"), 0);
    const TalEvent matter = syncedMatter(device);
    JobContext ctx = device.context();

    EXPECT_EQ(commitReminderAdd(ctx, reminderFor(matter, "带上赌博的筹码")), 2008);
    EXPECT_EQ(commitReminderAdd(ctx, reminderFor(matter, "带上合同")), 0);
    EXPECT_EQ(commitReminderAdd(ctx, reminderFor(matter, "带上名片")), 0);
    // The two coins are spent: a refused word cost nothing, the third reminder is refused.
    EXPECT_EQ(commitReminderAdd(ctx, reminderFor(matter, "带上样品")), 2004);

    EventAlarmList stored;
    ASSERT_EQ(MatterStore(device.store()).RemindersOf(matter.event_id, stored), 0);
    ASSERT_EQ(stored.size(), 2u);  // only what the service accepted
    for (const EventAlarm& r : stored) EXPECT_GT(r.server_id, 0);

    EventAlarm changed = stored[0];
    changed.a_content = "改一下";
    EXPECT_EQ(commitReminderChange(ctx, changed), 2004);
    EventAlarm after;
    ASSERT_EQ(MatterStore(device.store()).ReminderById(changed.alarm_id, after), 0);
    EXPECT_EQ(after.a_content, stored[0].a_content);
}

TEST_F(Commits, CertifiedAccountCannotChangeItsName) {
    CoreDevice device("device-A", service_.url());
    ASSERT_EQ(device.login("wang", "pw-wang"), 0);
    JobContext ctx = device.context();
    UserInfo profile;
    AccountStore(device.store()).ReadProfile(profile);
    profile.login_name = "wang";
    profile.username = "王小明";
    EXPECT_EQ(commitProfile(ctx, profile, WAY_MODIFY), 2007);
    profile.username = "王大明";
    profile.cell_phone = "13900000000";
    EXPECT_EQ(commitProfile(ctx, profile, WAY_MODIFY), 0);
}

}  // namespace
}  // namespace kivtal::e2e
