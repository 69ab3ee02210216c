#include "store/ServerChanges.h"

#include <gtest/gtest.h>

#include <string>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/ChangeLog.h"
#include "store/ChangeLogEntries.h"
#include "store/ContactStore.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

SyncRecord Received(int kind, int ways, int serverId, std::string values) {
    SyncRecord e;
    e.oper_code = kind;
    e.oper_ways = ways;
    e.s_server_id = serverId;
    e.s_values = std::move(values);
    return e;
}

BusinessCard Card(const std::string& name, int serverGroupId) {
    BusinessCard c;
    c.bc_id = 77;  // the other device's local id; never used here
    c.bc_name = name;
    c.company_name = "Acme";
    c.group_id = 55;
    c.server_group_id = serverGroupId;
    return c;
}

class ServerChanges : public test::UserDbFixture {
protected:
    // A synchronised contact group: local id 1, server id 300.
    void SetUp() override { Exec("INSERT INTO tb_bc_group(group_name,server_id,group_state)VALUES('Clients',300,0);"); }

    // A contact added here, and the service's answer to its upload: server id 4242.
    SyncRecord AddedHereAndAcknowledged(const std::string& name) {
        BusinessCard card = Card(name, 0);
        EXPECT_EQ(ContactStore(store).AddContact(card), StoreStatus::kOk);
        SyncRecord result;
        result.oper_code = OPER_CONTACT;
        result.s_row_id = card.bc_id;
        result.s_server_id = 4242;
        result.sync_state = SYNC_DONE;
        return result;
    }

    std::string Row(const std::string& sql) {
        const ResultTable t = Query(sql);
        std::string out;
        for (int r = 0; r < t.rows(); ++r)
            for (int c = 0; c < t.cols(); ++c) out += (c ? "|" : (r ? "\n" : "")) + t.text(r, c);
        return out;
    }
};

TEST_F(ServerChanges, InsertsAndUpdatesByServerIdWithParentsAndPinyin) {
    const SyncRecordList changes = {
        Received(OPER_CONTACT, WAY_ADD, 901, FormatValues(Card("王小明", 300))),
        Received(OPER_CONTACT, WAY_MODIFY, 902, FormatValues(Card("Li", 999))),  // unknown id: inserted
        Received(OPER_CONTACT, WAY_MODIFY, 901, FormatValues(Card("王明", 300))),
    };
    ASSERT_EQ(applyServerChanges(store, changes, 1234), 0);
    EXPECT_EQ(
        Row("SELECT bc_id,bc_name,bc_name_pinyin,group_id,server_group_id,bc_server_id FROM tb_bc ORDER BY bc_id"),
        "1|王明|WANGMING|1|300|901\n"
        "2|Li|Li|55|999|902");  // no local group 999: the id stays as it came
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "1234");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record"), "0");  // not local edits
}

TEST_F(ServerChanges, MapsEachKindsParentToItsLocalId) {
    Exec("INSERT INTO tb_event_group(group_name,server_id,group_state)VALUES('Work',310,0);");
    Exec("INSERT INTO tb_event(description,server_id,event_state)VALUES('Fair',410,0);");
    Exec("INSERT INTO tb_bc(bc_name,bc_server_id,bc_state)VALUES('Zhou',510,0);");
    TalEvent matter;
    matter.server_group_id = 310;
    EventComment remark;
    remark.c_content = "ok";
    remark.event_server_id = 410;
    EventAlarm reminder;
    reminder.event_server_id = 410;
    UserBankInfo account;
    account.bank_name = "ICBC";
    account.bc_server_id = 510;
    const SyncRecordList changes = {
        Received(OPER_MATTER, WAY_ADD, 411, FormatValues(matter)),
        Received(OPER_REMARK, WAY_ADD, 610, FormatValues(remark)),
        Received(OPER_REMINDER, WAY_ADD, 710, FormatValues(reminder)),
        Received(OPER_BANK_ACCOUNT, WAY_ADD, 810, FormatValues(account)),
    };
    ASSERT_EQ(applyServerChanges(store, changes, 1), 0);
    EXPECT_EQ(Scalar("SELECT group_id FROM tb_event WHERE server_id=411"), "1");
    EXPECT_EQ(Scalar("SELECT event_id FROM tb_event_comment WHERE server_id=610"), "1");
    EXPECT_EQ(Scalar("SELECT event_id FROM tb_event_alarm WHERE server_id=710"), "1");
    BusinessCard zhou;
    ASSERT_EQ(ContactStore(store).ContactById(1, zhou), 0);
    ASSERT_EQ(zhou.bank_accounts.size(), 1u);
    EXPECT_EQ(zhou.bank_accounts[0].bank_name, "ICBC");
    EXPECT_EQ(zhou.bank_accounts[0].server_id, 810);
}

TEST_F(ServerChanges, UnassignedServerIdsNeverMatchLocalRows) {
    // Two groups made here and never uploaded carry server id -1.
    Exec("INSERT INTO tb_bc_group(group_name,server_id,group_state)VALUES('mine',-1,0);");
    Exec("INSERT INTO tb_bc_group(group_name,server_id,group_state)VALUES('also mine',-1,0);");
    CardGroup group;
    group.group_name = "theirs";
    const SyncRecordList changes = {
        Received(OPER_CONTACT, WAY_ADD, 901, FormatValues(Card("Wu", -1))),
        Received(OPER_CONTACT_GROUP, WAY_MODIFY, -1, FormatValues(group)),
    };
    ASSERT_EQ(applyServerChanges(store, changes, 1), 0);
    EXPECT_EQ(Scalar("SELECT group_id FROM tb_bc WHERE bc_server_id=901"), "55");
    EXPECT_EQ(Row("SELECT group_name FROM tb_bc_group ORDER BY group_id"), "Clients\nmine\nalso mine\ntheirs");
}

TEST_F(ServerChanges, SkipsUnknownWaysButAppliesTheRest) {
    const SyncRecordList changes = {
        Received(OPER_CONTACT, 3, 901, FormatValues(Card("Three", 0))),
        Received(OPER_CONTACT, WAY_ADD, 904, FormatValues(Card("Kept", 0))),
    };
    ASSERT_EQ(applyServerChanges(store, changes, 88), 0);
    EXPECT_EQ(Row("SELECT bc_name,bc_server_id FROM tb_bc"), "Kept|904");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "88");
}

// A change that will fail however often it is tried fails its run (never a success
// with the change missing) until the third run in a row, which sets it aside with its
// reason and stores the rest; later runs try it again first.
struct LastingFault {
    const char* name;
    SyncRecord change;
    const char* reason;  // part of the reason kept with it
    const char* trigger = nullptr;
};

class ServerChangesLasting : public ServerChanges, public ::testing::WithParamInterface<LastingFault> {};

TEST_P(ServerChangesLasting, FailsTwiceThenIsSetAsideWithItsReasonAndTheRestArrives) {
    if (GetParam().trigger) Exec(GetParam().trigger);
    const SyncRecordList changes = {GetParam().change,
                                    Received(OPER_CONTACT, WAY_ADD, 904, FormatValues(Card("Kept", 0)))};
    for (int run = 1; run <= 2; ++run) {
        EXPECT_EQ(applyServerChanges(store, changes, 88), 1) << run;
        EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc"), "0");
        EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "0");
    }
    EXPECT_EQ(applyServerChanges(store, changes, 88), kStoredWithSetAside);
    EXPECT_EQ(Row("SELECT bc_name FROM tb_bc"), "Kept");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "88");
    std::vector<SetAsideChange> aside;
    ASSERT_EQ(ListSetAsideChanges(store, aside), 0);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(aside[0].change.s_server_id, 901);
    EXPECT_EQ(aside[0].failedRuns, 3);
    EXPECT_NE(aside[0].reason.find(GetParam().reason), std::string::npos) << aside[0].reason;

    // Later runs try it again and keep it while it fails; they are no failures.
    ASSERT_EQ(applyServerChanges(store, {}, 99), 0);
    aside.clear();
    ASSERT_EQ(ListSetAsideChanges(store, aside), 0);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(aside[0].failedRuns, 4);
    std::string reason;
    EXPECT_EQ(RetrySetAsideChange(store, aside[0].id, reason), kStillFails);
    EXPECT_NE(reason.find(GetParam().reason), std::string::npos) << reason;
    EXPECT_EQ(DiscardSetAsideChange(store, aside[0].id), 0);
    EXPECT_EQ(DiscardSetAsideChange(store, aside[0].id), kSetAsideNotFound);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_set_aside"), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Receipt, ServerChangesLasting,
    ::testing::Values(
        LastingFault{"CutShort", Received(OPER_CONTACT, WAY_ADD, 901, "1"), "cannot be read"},
        LastingFault{"UnknownKind", Received(12, WAY_ADD, 901, FormatValues(Card("Twelve", 0))), "unknown kind 12"},
        LastingFault{"Refused", Received(OPER_CONTACT, WAY_ADD, 901, FormatValues(Card("Refused", 0))), "refused",
                     "CREATE TRIGGER refuse BEFORE INSERT ON tb_bc WHEN NEW.bc_name='Refused' "
                     "BEGIN SELECT RAISE(ABORT,'refused'); END;"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerChanges, ASetAsideChangeLeavesTheListWhenItGoesThroughOrANewerOneDoes) {
    Exec(
        "CREATE TRIGGER refuse BEFORE INSERT ON tb_bc WHEN NEW.bc_name LIKE 'Refused%' "
        "BEGIN SELECT RAISE(ABORT,'refused'); END;");
    for (int run = 1; run <= 3; ++run)
        applyServerChanges(store,
                           {Received(OPER_CONTACT, WAY_ADD, 901, FormatValues(Card("Refused", 0))),
                            Received(OPER_CONTACT, WAY_ADD, 902, FormatValues(Card("Refused too", 0)))},
                           run);
    for (int run = 1; run <= 3; ++run)
        applyServerChanges(store, {Received(OPER_CONTACT, WAY_ADD, 902, FormatValues(Card("Refused too", 0)))}, 10);
    ASSERT_EQ(Scalar("SELECT count(*) FROM tb_sync_set_aside WHERE set_aside=1"), "2");

    // A newer change of 902 goes through: the older one set aside would only undo it.
    ASSERT_EQ(applyServerChanges(store, {Received(OPER_CONTACT, WAY_MODIFY, 902, FormatValues(Card("Newer", 0)))}, 20),
              0);
    EXPECT_EQ(Row("SELECT s_server_id FROM tb_sync_set_aside"), "901");
    // 901 goes through once the database takes it.
    Exec("DROP TRIGGER refuse;");
    ASSERT_EQ(applyServerChanges(store, {}, 21), 0);
    EXPECT_EQ(Row("SELECT bc_name,bc_server_id FROM tb_bc ORDER BY bc_server_id"), "Refused|901\nNewer|902");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_set_aside"), "0");
}

// A busy, locked or full database, a failing disk: each fails the run and leaves
// nothing, and none counts against the change.
TEST_F(ServerChanges, FailuresThatMayHealAreNeverCounted) {
    const SyncRecordList changes = {Received(OPER_CONTACT, WAY_ADD, 901, FormatValues(Card("Zhao", 0)))};
    for (long n = 1;; ++n) {
        FailNthSqliteCall(n);
        const int result = applyServerChanges(store, changes, 7);
        const bool hit = SqliteFaultHit();
        FailNthSqliteCall(0);
        if (!hit) {
            EXPECT_EQ(result, 0);
            break;
        }
        EXPECT_EQ(result, 1) << n;
        EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc"), "0") << n;
        EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_set_aside"), "0") << n;
    }
    EXPECT_EQ(Scalar("SELECT bc_name FROM tb_bc"), "Zhao");
}

// The acknowledgements and the received changes are stored together or, when the
// changes cannot be, the acknowledgements alone: never changes with the entries they
// contest still unsettled, never an upload left to go up twice when only the changes failed.
TEST_F(ServerChanges, SettlingStoresTheAnswerWholeOrTheAcknowledgementsAlone) {
    const SyncRecord result = AddedHereAndAcknowledged("Mine");
    const SyncRecordList changes = {Received(OPER_CONTACT, WAY_ADD, 901, FormatValues(Card("Theirs", 0)))};
    for (long n = 1;; ++n) {
        Exec(
            "UPDATE tb_sync_record SET sync_state=0,s_server_id=0; UPDATE tb_bc SET bc_server_id=0; "
            "DELETE FROM tb_bc WHERE bc_name='Theirs'; UPDATE tb_sync_time SET tal_sync_time=0;");
        FailNthSqliteCall(n);
        const int stored = settleSyncRun(store, {result}, changes, 7);
        const bool hit = SqliteFaultHit();
        FailNthSqliteCall(0);
        const std::string state =
            Row("SELECT (SELECT sync_state FROM tb_sync_record),(SELECT count(*) FROM tb_bc "
                "WHERE bc_server_id=901),(SELECT tal_sync_time FROM tb_sync_time)");
        if (stored == 0) EXPECT_EQ(state, "3|1|7") << n;
        else if (stored == kOnlyAcknowledged) EXPECT_EQ(state, "3|0|0") << n;
        else EXPECT_EQ(state, "0|0|0") << n << " returned " << stored;
        if (!hit) {
            EXPECT_EQ(stored, 0);
            break;
        }
    }
    // A change that cannot be stored leaves the acknowledgement stored alone.
    Exec("UPDATE tb_sync_record SET sync_state=0;");
    Exec("CREATE TRIGGER refuse BEFORE INSERT ON tb_bc BEGIN SELECT RAISE(ABORT,'no'); END;");
    EXPECT_EQ(settleSyncRun(store, {result}, {Received(OPER_CONTACT, WAY_ADD, 905, FormatValues(Card("X", 0)))}, 9),
              kOnlyAcknowledged);
    EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record"), "3");
}

TEST_F(ServerChanges, DatabaseFailureWritesNothingAndKeepsTheSyncTime) {
    Exec("CREATE TRIGGER no_banks BEFORE INSERT ON tb_ubank_info BEGIN SELECT RAISE(ABORT,'full'); END;");
    const SyncRecordList changes = {
        Received(OPER_CONTACT, WAY_ADD, 901, FormatValues(Card("First", 0))),
        Received(OPER_BANK_ACCOUNT, WAY_ADD, 902, FormatValues(UserBankInfo{})),
    };
    EXPECT_EQ(applyServerChanges(store, changes, 500), 1);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc"), "0");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "0");
}

TEST_F(ServerChanges, AcknowledgeWritesServerIdsAndStatesButNotTheTime) {
    SyncRecord result = AddedHereAndAcknowledged("Qian");
    ASSERT_EQ(ChangeLog(store).AcknowledgeResults({result}), 0);
    EXPECT_EQ(Scalar("SELECT bc_server_id FROM tb_bc"), "4242");
    EXPECT_EQ(Row("SELECT sync_state,s_server_id FROM tb_sync_record"), "3|4242");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "0");

    // All or nothing: a failing statement undoes the earlier results.
    Exec("CREATE TRIGGER no_group_ids BEFORE UPDATE ON tb_bc_group BEGIN SELECT RAISE(ABORT,'x'); END;");
    SyncRecord group = result;
    group.oper_code = OPER_CONTACT_GROUP;
    group.s_row_id = 1;
    result.s_server_id = 5151;
    EXPECT_EQ(ChangeLog(store).AcknowledgeResults({result, group}), 1);
    EXPECT_EQ(Scalar("SELECT bc_server_id FROM tb_bc"), "4242");
}

class DeferredReplay : public ServerChanges {
protected:
    void Defer(int kind, int rowId, const std::string& values, int ways = WAY_MODIFY) {
        SqliteDb db;
        ASSERT_EQ(db.open(store.userDbPath()), SQLITE_OK);
        SyncRecord e;
        e.oper_code = kind;
        e.oper_ways = ways;
        e.s_row_id = rowId;
        e.s_values = values;
        e.sync_state = SYNC_DEFERRED;
        ASSERT_EQ(UpdateSyncEntry(db, e), 0);
    }
};

TEST_F(DeferredReplay, RewritesRowsKeepingTheirServerIdsAndLogsPendingModifies) {
    BusinessCard card = Card("Sun", 300);
    ASSERT_EQ(ContactStore(store).AddContact(card), StoreStatus::kOk);
    // Edited while its add was being sent; the upload then gave the row its server id.
    BusinessCard edited = card;
    edited.bc_name = "孙";
    Defer(OPER_CONTACT, card.bc_id, FormatValues(edited));
    Exec("UPDATE tb_bc SET bc_server_id=901");
    Exec("UPDATE tb_sync_record SET sync_state=3,s_server_id=901");
    CardGroup group{1, "Partners", 300, 0, 0};
    Defer(OPER_CONTACT_GROUP, 1, FormatValues(group));
    Defer(OPER_CONTACT, card.bc_id, "broken");                       // dropped, the rest goes on
    Defer(OPER_CONTACT, card.bc_id, FormatValues(edited), WAY_ADD);  // only modifies replay

    ASSERT_EQ(replayDeferredChanges(store), 0);
    EXPECT_EQ(Row("SELECT bc_name,bc_name_pinyin,bc_server_id FROM tb_bc"), "孙|SUN|901");
    EXPECT_EQ(Scalar("SELECT group_name FROM tb_bc_group"), "Partners");
    EXPECT_EQ(Row("SELECT oper_code,oper_ways,sync_state,s_server_id FROM tb_sync_record ORDER BY oper_code"),
              "1|2|0|901\n6|2|0|300");
    BusinessCard logged;
    ParseValues(Scalar("SELECT s_values FROM tb_sync_record WHERE oper_code=1"), logged);
    EXPECT_EQ(logged.bc_server_id, 901);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record_tmp"), "0");
}

TEST_F(DeferredReplay, SettingsAreRewrittenAndLoggedAsAPendingModify) {
    Exec("INSERT INTO tb_user_settings(coloumn_show,auto_update,exit_ways,auto_run,server_id)VALUES(6,0,0,1,20);");
    UserSettings settings{1, 12, 1, 1, 0, 0};
    Defer(OPER_SETTINGS, 1, FormatValues(settings));
    ASSERT_EQ(replayDeferredChanges(store), 0);
    EXPECT_EQ(Row("SELECT coloumn_show,auto_update,exit_ways,auto_run,server_id FROM tb_user_settings"), "12|1|1|0|20");
    EXPECT_EQ(Row("SELECT oper_code,oper_ways,sync_state,s_server_id FROM tb_sync_record"), "8|2|0|20");
}

TEST_F(DeferredReplay, ReleasesEntriesBeingSentAndKeepsAnEditMadeAfterTheAcknowledgement) {
    BusinessCard card = Card("Sun", 300);
    ASSERT_EQ(ContactStore(store).AddContact(card), StoreStatus::kOk);
    BusinessCard older = card;
    older.company_name = "deferred";
    Defer(OPER_CONTACT, card.bc_id, FormatValues(older));
    // Acknowledged, then edited again: the entry is pending with the newest values.
    Exec("UPDATE tb_sync_record SET sync_state=3,s_server_id=901");
    BusinessCard newer = card;
    newer.company_name = "newest";
    ASSERT_EQ(ContactStore(store).ModifyContact(newer), StoreStatus::kOk);
    CardGroup group{1, "Clients", 300, 0, 0};
    ASSERT_EQ(ContactStore(store).ModifyGroup(group), StoreStatus::kOk);
    Exec("UPDATE tb_sync_record SET sync_state=2 WHERE oper_code=6");  // still being sent

    ASSERT_EQ(replayDeferredChanges(store), 0);
    EXPECT_EQ(Scalar("SELECT company_name FROM tb_bc"), "newest");
    EXPECT_EQ(Row("SELECT oper_code,sync_state FROM tb_sync_record ORDER BY oper_code"), "1|0\n6|0");
    EXPECT_NE(Scalar("SELECT s_values FROM tb_sync_record WHERE oper_code=1").find("newest"), std::string::npos);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record_tmp"), "0");
}

TEST_F(ServerChanges, AReceivedProfileForTheExistingProfileRowUpdatesIt) {
    Exec("INSERT INTO tb_user(user_id,user_server_id,login_name,pwd,username)VALUES(42,0,'zhang','digest','Zhang');");
    UserInfo profile;
    profile.user_id = 42;
    profile.login_name = "zhang";
    profile.pwd = "digest";
    profile.username = "Zhang San";
    const SyncRecordList changes = {Received(OPER_USER, WAY_ADD, 4200, FormatValues(profile)),
                                    Received(OPER_USER, WAY_MODIFY, 4201, FormatValues(profile))};
    ASSERT_EQ(applyServerChanges(store, changes, 1300), 0);
    EXPECT_EQ(Row("SELECT user_id,user_server_id,username FROM tb_user"), "42|4201|Zhang San");
}

TEST_F(DeferredReplay, NothingDeferredIsNothingToDo) { EXPECT_EQ(replayDeferredChanges(store), 0); }

}  // namespace
}  // namespace kivtal
