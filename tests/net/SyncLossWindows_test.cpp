// Edits that land between the store steps of a sync run, and failures of those steps:
// each edit must reach the service by the end of the next clean run, and a step that
// could not be stored must never be reported as success.
#include <gtest/gtest.h>
#include <json/json.h>
#include <sqlite3.h>

#include <map>
#include <string>
#include <vector>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "net/SyncRun.h"
#include "net/WorkerMessages.h"
#include "store/AccountStore.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "store/ServerChanges.h"
#include "support/JobHarness.h"
#include "support/SyncScenario.h"
#include "support/SyncUser.h"

namespace kivtal {
namespace {

SyncRecord ContactAdded(int serverId, const std::string& name) {
    BusinessCard card;
    card.bc_name = name;
    return test::ChangeMadeElsewhere(OPER_CONTACT, WAY_ADD, serverId, FormatValues(card));
}

class SyncLossWindows : public ::testing::Test {
protected:
    SyncLossWindows() : feed(h.service) {
        EXPECT_EQ(h.store.EnsureUserDb("tester"), 0);
        test::SignInSyncUser();
        feed.setClock(2000);
    }

    int Run(const SyncStepHook& hook = {}) {
        JobContext ctx = h.context();
        return runSync(ctx, hook);
    }

    std::string Scalar(const std::string& sql) {
        SqliteDb db;
        EXPECT_EQ(db.open(h.store.userDbPath()), SQLITE_OK);
        ResultTable t;
        EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql;
        return t.text(0, 0);
    }
    void Exec(const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(h.store.userDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute(sql), SQLITE_OK) << sql;
    }

    // The content of the last upload of one row, "" when it never went up.
    std::string LastUploaded(int kind, int rowId) {
        std::string last;
        for (const std::string& body : h.bodies("/Sync/send")) {
            Json::Value v;
            Json::Reader().parse(body.substr(body.find("&opers=") + 7), v);
            for (const Json::Value& o : v["opers"])
                if (o["oper_id"].asString() == std::to_string(kind) &&
                    o["client_id"].asString() == std::to_string(rowId))
                    last = o["content"].asString();
        }
        return last;
    }

    // Nothing waits, nothing is held, nothing is kept aside.
    void ExpectSettled() {
        EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record WHERE sync_state<>3"), "0");
        EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record_tmp"), "0");
    }

    test::JobHarness h;
    test::SyncFeed feed;
};

// Company names typed at moments of the first run.
using EditsAt = std::map<SyncStep, std::string>;

class EditDuringRun : public SyncLossWindows, public ::testing::WithParamInterface<EditsAt> {};

TEST_P(EditDuringRun, TheLastEditIsUploadedAndKept) {
    BusinessCard card;
    card.bc_name = "Feng";
    card.company_name = "typed before the run";
    ASSERT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
    std::string last;
    for (const auto& [step, company] : GetParam()) last = company;

    ASSERT_EQ(Run([&](SyncStep step) {
                  const auto edit = GetParam().find(step);
                  if (edit == GetParam().end()) return;
                  BusinessCard edited = card;
                  ASSERT_EQ(ContactStore(h.store).ContactById(card.bc_id, edited),
                            0);  // with its server id, once it has one
                  edited.company_name = edit->second;
                  ASSERT_EQ(ContactStore(h.store).ModifyContact(edited), StoreStatus::kOk);
              }),
              0);
    ASSERT_EQ(Run(), 0);

    EXPECT_EQ(Scalar("SELECT company_name FROM tb_bc"), last);
    BusinessCard uploaded;
    ParseValues(LastUploaded(OPER_CONTACT, card.bc_id), uploaded);
    EXPECT_EQ(uploaded.company_name, last);
    ExpectSettled();
}

INSTANTIATE_TEST_SUITE_P(
    SyncRun, EditDuringRun,
    ::testing::Values(EditsAt{{SyncStep::kPendingRead, "between reading and marking"}},
                      EditsAt{{SyncStep::kUploaded, "during the upload"}},
                      EditsAt{{SyncStep::kUploaded, "deferred"}, {SyncStep::kBeforeReplay, "deferred later"}},
                      EditsAt{{SyncStep::kUploaded, "deferred"}, {SyncStep::kAcknowledged, "after the answer"}},
                      EditsAt{{SyncStep::kUploaded, "deferred"}, {SyncStep::kReleased, "after the release"}}));

TEST_F(SyncLossWindows, DeferredSettingsChangeReachesTheService) {
    Exec("INSERT INTO tb_user_settings(coloumn_show,auto_update,exit_ways,auto_run,server_id)VALUES(6,0,0,1,20);");
    UserSettings settings{1, 14, 0, 0, 1, 20};
    ASSERT_EQ(AccountStore(h.store).ModifySettings(settings), 0);

    ASSERT_EQ(Run([&](SyncStep step) {
                  if (step != SyncStep::kUploaded) return;
                  settings.coloumn_show = 46;  // the second of two quick saves
                  ASSERT_EQ(AccountStore(h.store).ModifySettings(settings), 0);
              }),
              0);
    ASSERT_EQ(Run(), 0);

    UserSettings uploaded;
    ParseValues(LastUploaded(OPER_SETTINGS, 1), uploaded);
    EXPECT_EQ(uploaded.coloumn_show, 46);
    ExpectSettled();
}

TEST_F(SyncLossWindows, DeferredRemarkCarriesTheServerIdItsMatterGotInTheSameRun) {
    TalEvent matter;
    matter.description = "Expo";
    ASSERT_EQ(MatterStore(h.store).AddMatter(matter), StoreStatus::kOk);
    EventComment remark;
    remark.c_content = "Stand 12";
    remark.event_id = matter.event_id;
    ASSERT_EQ(MatterStore(h.store).AddRemark(remark), StoreStatus::kOk);

    ASSERT_EQ(Run([&](SyncStep step) {
                  if (step != SyncStep::kUploaded) return;
                  remark.c_content = "Stand 14";
                  ASSERT_EQ(MatterStore(h.store).ModifyRemark(remark), StoreStatus::kOk);
              }),
              0);
    ASSERT_EQ(Run(), 0);

    EventComment uploaded;
    ParseValues(LastUploaded(OPER_REMARK, remark.comment_id), uploaded);
    EXPECT_EQ(uploaded.c_content, "Stand 14");
    EXPECT_EQ(uploaded.event_server_id, test::SyncFeed::ResultId(OPER_MATTER, matter.event_id, WAY_ADD, 0));
    EXPECT_EQ(Scalar("SELECT event_server_id FROM tb_event_comment"), std::to_string(uploaded.event_server_id));
    ExpectSettled();
}

// A received change that no run can write (here: a contact row the database refuses).
TEST_F(SyncLossWindows, AChangeFailingRunAfterRunIsReportedThenSetAsideSoLaterOnesArrive) {
    feed.publish(1500, ContactAdded(901, "Refused"));
    feed.publish(1600, ContactAdded(902, "Arrives"));
    Exec(
        "CREATE TRIGGER refuse BEFORE INSERT ON tb_bc WHEN NEW.bc_name='Refused' "
        "BEGIN SELECT RAISE(ABORT,'refused'); END;");

    int count = -1;
    for (int run = 1; run < 3; ++run) {
        EXPECT_EQ(Run(), kResultNotStored) << run;
        EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "0");
        ASSERT_EQ(SetAsideChangeCount(h.store, count), 0);
        EXPECT_EQ(count, 0);
    }
    // The third failure in a row sets it aside and says so; the rest arrives in that run.
    EXPECT_EQ(Run(), kResultSetAside);
    EXPECT_EQ(h.posts.codes(WM_RES_SYNC),
              (std::vector<std::intptr_t>{kResultNotStored, kResultNotStored, kResultSetAside}));
    EXPECT_EQ(Scalar("SELECT group_concat(bc_name) FROM tb_bc"), "Arrives");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "2000");
    ASSERT_EQ(SetAsideChangeCount(h.store, count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(Scalar("SELECT s_server_id||'/'||failed_runs FROM tb_sync_set_aside"), "901/3");

    // Later runs try it again: once the database takes it, it arrives and leaves the list.
    EXPECT_EQ(Run(), 0);
    Exec("DROP TRIGGER refuse;");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Scalar("SELECT group_concat(bc_name) FROM tb_bc"), "Arrives,Refused");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_set_aside"), "0");
}

TEST_F(SyncLossWindows, ATransientFailureIsNotCountedAgainstTheChangeOnceARunSucceeds) {
    feed.publish(1500, ContactAdded(901, "Once refused"));
    Exec("CREATE TRIGGER refuse BEFORE INSERT ON tb_bc BEGIN SELECT RAISE(ABORT,'disk full'); END;");
    EXPECT_EQ(Run(), kResultNotStored);
    Exec("DROP TRIGGER refuse;");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_set_aside"), "0");
    EXPECT_EQ(Scalar("SELECT bc_name FROM tb_bc"), "Once refused");
}

// The service's rename of a group renamed here too loses to this device's; when the
// received changes then fail to be stored, the next run receives that rename again.
TEST_F(SyncLossWindows, AConflictWonHereStaysWonWhenTheReceivedChangesFailOnce) {
    CardGroup group;
    group.group_name = "Clients";
    ASSERT_EQ(ContactStore(h.store).AddGroup(group), StoreStatus::kOk);
    Exec("UPDATE tb_bc_group SET server_id=300");
    Exec("UPDATE tb_sync_record SET sync_state=3,s_server_id=300");
    group.server_id = 300;
    group.group_name = "Customers";
    ASSERT_EQ(ContactStore(h.store).ModifyGroup(group), StoreStatus::kOk);
    CardGroup theirs = group;
    theirs.group_name = "Buyers";
    feed.publish(1500, test::ChangeMadeElsewhere(OPER_CONTACT_GROUP, WAY_MODIFY, 300, FormatValues(theirs)));
    Exec("CREATE TRIGGER no_time BEFORE UPDATE ON tb_sync_time BEGIN SELECT RAISE(ABORT,'disk full'); END;");

    EXPECT_EQ(Run(), kResultNotStored);
    Exec("DROP TRIGGER no_time;");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Scalar("SELECT group_name FROM tb_bc_group"), "Customers");
    CardGroup uploaded;
    ParseValues(LastUploaded(OPER_CONTACT_GROUP, group.group_id), uploaded);
    EXPECT_EQ(uploaded.group_name, "Customers");
    ExpectSettled();
}

TEST_F(SyncLossWindows, AcknowledgementsThatCannotBeStoredAreReported) {
    BusinessCard card;
    card.bc_name = "Han";
    ASSERT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
    Exec(
        "CREATE TRIGGER no_ack BEFORE UPDATE OF sync_state ON tb_sync_record WHEN NEW.sync_state=3 "
        "BEGIN SELECT RAISE(ABORT,'disk full'); END;");

    EXPECT_EQ(Run(), kResultNotStored);
    EXPECT_EQ(h.posts.codes(WM_RES_SYNC), std::vector<std::intptr_t>{kResultNotStored});
    EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record"), "0");  // goes up again
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "0");

    Exec("DROP TRIGGER no_ack;");
    EXPECT_EQ(Run(), 0);
    ExpectSettled();
}

}  // namespace
}  // namespace kivtal
