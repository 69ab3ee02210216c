// Edits the service must accept first, sent by the core's commit jobs to the real
// service: reminders paid in coins and checked for sensitive words, the profile of an
// account whose name is certified, and the base each acknowledged commit leaves for
// settling a later change from another device.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include "e2e/CoreDevice.h"
#include "e2e/ServiceProcess.h"
#include "model/SyncKinds.h"
#include "net/ImmediateCommits.h"
#include "net/SyncRun.h"
#include "store/AccountStore.h"
#include "store/MatterStore.h"
#include "store/SyncBases.h"

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

    static UserInfo profileOf(CoreDevice& d) {
        UserInfo p;
        EXPECT_EQ(AccountStore(d.store()).ReadProfile(p), 0);
        return p;
    }

    // The device's base of a record, "" when it has none.
    static std::string baseOf(CoreDevice& d, int kind, int serverId) {
        SyncBases bases;
        EXPECT_EQ(ReadSyncBases(d.store(), {{kind, serverId}}, bases), 0);
        return bases.count({kind, serverId}) ? bases[{kind, serverId}] : "";
    }

    static void exec(CoreDevice& d, const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(d.store().userDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute(sql), SQLITE_OK) << sql;
    }

    static std::string scalar(CoreDevice& d, const std::string& sql) {
        SqliteDb db;
        EXPECT_EQ(db.open(d.store().userDbPath()), SQLITE_OK);
        ResultTable t;
        EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql;
        return t.empty() ? "" : t.text(0, 0);
    }

    // Every base of a kind (server id=values) and the number of its changes waiting to go up.
    static std::pair<std::string, std::string> syncStateOf(CoreDevice& d, int kind) {
        const std::string k = std::to_string(kind);
        return {scalar(d, "SELECT group_concat(s_server_id||'='||s_values,'|') FROM tb_sync_base WHERE oper_code=" + k),
                scalar(d, "SELECT count(*) FROM tb_sync_record WHERE sync_state=0 AND oper_code=" + k)};
    }

    // Signs the device in (the signed-in user is the process's one) and syncs it.
    static void switchTo(CoreDevice& d, const std::string& name, const std::string& password) {
        ASSERT_EQ(d.login(name, password), 0);
        JobContext ctx = d.context();
        ASSERT_EQ(runSync(ctx), 0);
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

// The profile changed here at once, then another of its fields on the other device: the
// edit this device has waiting meets that change and keeps all three. This device's data
// folder predates the bases, so the commit's is the only one it has.
TEST_F(Commits, AProfileCommittedAtOnceSettlesTheNextReceivedChangeFieldByField) {
    CoreDevice a("device-A", service_.url());
    CoreDevice b("device-B", service_.url());
    switchTo(b, "li", "pw-li");
    switchTo(a, "li", "pw-li");
    exec(a, "DELETE FROM tb_sync_base;");
    UserInfo mine = profileOf(a);
    mine.company1 = "新公司";
    JobContext ctx = a.context();
    ASSERT_EQ(commitProfile(ctx, mine, WAY_MODIFY), 0);
    mine = profileOf(a);
    EXPECT_EQ(baseOf(a, OPER_USER, mine.user_server_id), FormatValues(mine));

    switchTo(b, "li", "pw-li");
    UserInfo theirs = profileOf(b);
    ASSERT_EQ(theirs.company1, "新公司");
    theirs.cell_phone = "13900000000";
    JobContext ctxB = b.context();
    ASSERT_EQ(commitProfile(ctxB, theirs, WAY_MODIFY), 0);

    ASSERT_EQ(a.login("li", "pw-li"), 0);
    mine.fax = "010-8888";
    ASSERT_EQ(AccountStore(a.store()).ModifyProfile(mine), 0);  // waits for the next sync
    switchTo(a, "li", "pw-li");
    switchTo(b, "li", "pw-li");
    for (CoreDevice* d : {&a, &b}) {
        const UserInfo p = profileOf(*d);
        EXPECT_EQ(p.company1, "新公司") << d->folder();
        EXPECT_EQ(p.cell_phone, "13900000000") << d->folder();
        EXPECT_EQ(p.fax, "010-8888") << d->folder();
    }
}

// Each commit keeps what went up as the record's base in its acknowledgement's
// transaction: when that transaction fails, the record keeps the base it had, and a
// change that goes through the sync waits for the next one.
TEST_F(Commits, ACommitKeepsItsBaseOnlyWhenItsAcknowledgementIsStored) {
    CoreDevice device("device-A", service_.url());
    switchTo(device, "li", "pw-li");
    const TalEvent matter = syncedMatter(device);
    // The acknowledgement of a logged change fails at its change-log step; a reminder's
    // entry is born acknowledged, so its acknowledgement fails at the base itself.
    constexpr const char* kAckFails =
        "CREATE TRIGGER fault BEFORE UPDATE OF sync_state ON tb_sync_record "
        "WHEN NEW.sync_state=3 BEGIN SELECT RAISE(ABORT,'disk full'); END;";
    constexpr const char* kBaseFails =
        "CREATE TRIGGER fault BEFORE INSERT ON tb_sync_base BEGIN SELECT RAISE(ABORT,'disk full'); END;";
    struct Commit {
        const char* what;
        int kind;
        const char* fault;
        int waitingAfterFault;
        // Commits the change; the record's server id and its values as they went up.
        std::function<int(JobContext&, int& serverId, std::string& sent)> run;
    };
    const std::vector<Commit> commits = {
        {"profile", OPER_USER, kAckFails, 1,
         [&](JobContext& ctx, int& serverId, std::string& sent) {
             UserInfo p = profileOf(device);
             p.company1 += "改";
             const int rc = commitProfile(ctx, p, WAY_MODIFY);
             p = profileOf(device);
             serverId = p.user_server_id;
             sent = FormatValues(p);
             return rc;
         }},
        {"matter deleted", OPER_MATTER, kAckFails, 1,
         [&](JobContext& ctx, int& serverId, std::string& sent) {
             TalEvent m;
             EXPECT_EQ(MatterStore(device.store()).MatterById(matter.event_id, m), 0);
             const int rc = commitMatterDelete(ctx, m);
             EXPECT_EQ(MatterStore(device.store()).MatterById(matter.event_id, m), 0);
             serverId = m.server_id;
             sent = FormatValues(m);
             return rc;
         }},
        {"new reminder", OPER_REMINDER, kBaseFails, 0,
         [&](JobContext& ctx, int& serverId, std::string& sent) {
             const int rc = commitReminderAdd(ctx, reminderFor(matter, "带上合同"));
             EventAlarmList stored;
             EXPECT_EQ(MatterStore(device.store()).RemindersOf(matter.event_id, stored), 0);
             if (stored.empty()) return rc;
             serverId = stored.back().server_id;
             EventAlarm wentUp = stored.back();  // went up before it had either id
             wentUp.alarm_id = 0;
             wentUp.server_id = 0;
             sent = FormatValues(wentUp);
             return rc;
         }},
    };
    for (const Commit& c : commits) {
        SCOPED_TRACE(c.what);
        exec(device, c.fault);
        const auto before = syncStateOf(device, c.kind);
        JobContext ctx = device.context();
        int serverId = 0;
        std::string sent;
        EXPECT_NE(c.run(ctx, serverId, sent), 0);
        ASSERT_GT(serverId, 0);
        EXPECT_EQ(syncStateOf(device, c.kind), std::pair(before.first, std::to_string(c.waitingAfterFault)));

        exec(device, "DROP TRIGGER fault;");
        ASSERT_EQ(c.run(ctx, serverId, sent), 0);
        EXPECT_EQ(baseOf(device, c.kind, serverId), sent);
        EXPECT_EQ(syncStateOf(device, c.kind).second, "0");
    }
}

}  // namespace
}  // namespace kivtal::e2e
