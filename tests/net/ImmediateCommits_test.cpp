#include "net/ImmediateCommits.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "model/SyncKinds.h"
#include "net/WorkerMessages.h"
#include "store/AccountStore.h"
#include "store/MatterStore.h"
#include "support/JobHarness.h"
#include "support/SyncUser.h"
#include "support/TestClock.h"

namespace kivtal {
namespace {

using test::Reply;

const std::string kForm = std::string(test::kSyncUserForm) + "&opers=";
constexpr const char* kSep = "~麤^";

std::string Results(const std::string& list) { return R"({"error":"0","time":"1700000500","results":[)" + list + "]}"; }

class ImmediateCommits : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(h.store.EnsureUserDb("tester"), 0);
        test::SignInSyncUser();
        matter.description = "Fair";
        matter.server_id = 60;
        ASSERT_EQ(MatterStore(h.store).AddMatter(matter), StoreStatus::kOk);
    }

    // A reminder already with the service that follows its matter's description.
    EventAlarm SentReminder() {
        EventAlarm r;
        r.a_content = "Call Li";
        r.alarm_whos = "Li";
        r.event_id = matter.event_id;
        r.event_server_id = 60;
        r.alarm_time = 1700000000;
        r.server_id = 700;
        r.event_description_alarm = 1;
        EXPECT_EQ(MatterStore(h.store).AddReminder(r), StoreStatus::kOk);
        return r;
    }

    std::string Scalar(const std::string& sql) {
        SqliteDb db;
        EXPECT_EQ(db.open(h.store.userDbPath()), SQLITE_OK);
        ResultTable t;
        EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql;
        return t.empty() ? "" : t.text(0, 0);
    }

    std::string SentBody() { return h.bodies("/Sync/send").at(0); }

    test::TestClock clock{1700000100};
    test::ScopedClock pinned{clock};
    test::JobHarness h;
    JobContext ctx = h.context();
    TalEvent matter;
};

TEST_F(ImmediateCommits, NewTextOfASentReminderGoesUpAsAModifyKeepingTheOldText) {
    EventAlarm edited = SentReminder();
    edited.a_content = "Call Li at noon";
    edited.already_sent = 1;
    h.service.script("/Sync/send", Reply::Ok(Results(R"({"oper_id":"5","id":"700","client_id":"1"})")));

    ASSERT_EQ(commitReminderChange(ctx, edited), 0);
    const std::string v = std::string("1") + kSep + "Call Li" + kSep + "1" + kSep + "1700000000" + kSep + "Li" + kSep +
                          "700" + kSep + "0" + kSep + "2" + kSep + "60" + kSep + "0";
    EXPECT_EQ(SentBody(), std::string(kForm) + R"({"escaping":"2","opers":[{"client_id":"1","content":")" + v +
                              R"(","id":"700","main":"1","oper_id":"5","oper_ways":"2","time":"1700000100"}]})" + "\n");
    EXPECT_EQ(Scalar("SELECT a_content||'/'||event_description_alarm FROM tb_event_alarm"), "Call Li/2");
    EXPECT_EQ(h.posts.codes(WM_RES_SYNC_MODIFY_ALARM), std::vector<std::intptr_t>{0});
}

TEST_F(ImmediateCommits, NewTimeOfASentReminderGoesUpAsANewReminderAndWithdrawsTheOld) {
    EventAlarm edited = SentReminder();
    edited.alarm_time += 3600;
    edited.already_sent = 1;
    h.service.script("/Sync/send", Reply::Ok(Results(R"({"oper_id":"5","id":"801","client_id":"0"},)"
                                                     R"({"oper_id":"5","id":"700","client_id":"1"})")));

    ASSERT_EQ(commitReminderChange(ctx, edited), 0);
    const std::string body = SentBody();
    EXPECT_NE(body.find(R"({"client_id":"0","content":"0)"), std::string::npos) << body;
    EXPECT_NE(body.find(R"("id":"0","main":"1","oper_id":"5","oper_ways":"1")"), std::string::npos) << body;
    EXPECT_NE(body.find(R"("id":"700","main":"1","oper_id":"5","oper_ways":"2")"), std::string::npos) << body;
    EXPECT_EQ(Scalar("SELECT group_concat(alarm_id||':'||server_id||':'||alarm_time||':'||event_description_alarm,' ') "
                     "FROM tb_event_alarm"),
              "1:700:1700000000:2 2:801:1700003600:1");
}

TEST_F(ImmediateCommits, MissingResultsGiveMinus999AndStoreNothing) {
    EventAlarm fresh;
    fresh.a_content = "Bring samples";
    fresh.event_id = matter.event_id;
    h.service.script("/Sync/send", Reply::Ok(Results(R"({"oper_id":"5","id":"801","client_id":"0"},)"
                                                     R"({"oper_id":"5","id":"802","client_id":"0"})")));
    EXPECT_EQ(commitReminderAdd(ctx, fresh), kResultUnexpectedResults);

    EventAlarm edited = SentReminder();
    edited.alarm_time += 60;
    edited.already_sent = 1;
    h.service.script("/Sync/send", Reply::Ok(Results(R"({"oper_id":"5","id":"801","client_id":"0"})")));
    EXPECT_EQ(commitReminderChange(ctx, edited), kResultUnexpectedResults);

    EXPECT_EQ(Scalar("SELECT group_concat(a_content||':'||alarm_time) FROM tb_event_alarm"), "Call Li:1700000000");
    EXPECT_EQ(h.posts.codes(WM_RES_SYNC_ALARM), std::vector<std::intptr_t>{kResultUnexpectedResults});
}

TEST_F(ImmediateCommits, NewReminderIsStoredWithItsServerIdOnlyAfterTheServiceAccepts) {
    EventAlarm fresh;
    fresh.a_content = "Bring samples";
    fresh.event_id = matter.event_id;
    h.service.script("/Sync/send", Reply::Ok(R"({"error":"2004"})"));
    EXPECT_EQ(commitReminderAdd(ctx, fresh), 2004);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_event_alarm"), "0");

    h.service.script("/Sync/send", Reply::Ok(Results(R"({"oper_id":"5","id":"801","client_id":"0"})")));
    EXPECT_EQ(commitReminderAdd(ctx, fresh), 0);
    EXPECT_EQ(Scalar("SELECT server_id FROM tb_event_alarm"), "801");
    EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record WHERE oper_code=5"), "3");
    // Changes made elsewhere since the last run have not been received yet.
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "0");
}

TEST_F(ImmediateCommits, DeletedMatterIsAcknowledgedWithTheRepliedServerId) {
    h.service.script("/Sync/send", Reply::Ok(Results(R"({"oper_id":"2","id":"61","client_id":"1"})")));
    ASSERT_EQ(commitMatterDelete(ctx, matter), 0);
    EXPECT_NE(SentBody().find(R"("id":"60","main":"1","oper_id":"2","oper_ways":"2")"), std::string::npos);
    EXPECT_EQ(Scalar("SELECT event_state||'/'||server_id FROM tb_event"), "1/61");
    EXPECT_EQ(Scalar("SELECT sync_state||'/'||s_server_id FROM tb_sync_record WHERE oper_code=2"), "3/61");
    EXPECT_EQ(h.posts.codes(WM_RES_SYNC_DEL_EVENT), std::vector<std::intptr_t>{0});
}

TEST_F(ImmediateCommits, ProfileNeedsExactlyOneResult) {
    {
        SqliteDb db;
        ASSERT_EQ(db.open(h.store.userDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute("INSERT INTO tb_user(login_name,username,user_server_id)VALUES('tester','',0);"),
                  SQLITE_OK);
    }
    UserInfo profile;
    ASSERT_EQ(AccountStore(h.store).ReadProfile(profile), 0);
    profile.username = "Zhang San";
    h.service.script("/Sync/send", Reply::Ok(Results("")));
    EXPECT_EQ(commitProfile(ctx, profile, WAY_MODIFY), kResultUnexpectedResults);
    EXPECT_EQ(Scalar("SELECT username FROM tb_user"), "");

    h.service.script("/Sync/send", Reply::Ok(Results(R"({"oper_id":"3","id":"9001","client_id":")" +
                                                     std::to_string(profile.user_id) + R"("})")));
    EXPECT_EQ(commitProfile(ctx, profile, WAY_MODIFY), 0);
    EXPECT_EQ(Scalar("SELECT username||'/'||user_server_id FROM tb_user"), "Zhang San/9001");
    EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record WHERE oper_code=3"), "3");
}

TEST_F(ImmediateCommits, OfflineOrNoReplySendsOrStoresNothing) {
    h.net.online = false;
    EXPECT_EQ(commitMatterDelete(ctx, matter), kResultNoNetwork);
    EXPECT_TRUE(h.service.requests().empty());
    h.net.online = true;
    h.service.script("/Sync/send", Reply::Status(500));
    EXPECT_EQ(commitMatterDelete(ctx, matter), kResultNoNetwork);
    EXPECT_EQ(Scalar("SELECT event_state FROM tb_event"), "0");
    EXPECT_EQ(h.posts.codes(WM_RES_SYNC_DEL_EVENT), (std::vector<std::intptr_t>{kResultNoNetwork, kResultNoNetwork}));
}

}  // namespace
}  // namespace kivtal
