#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "store/ServerChanges.h"
#include "store/TrashStore.h"
#include "support/TestClock.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

constexpr int kDeletedAt = 1700000000;
constexpr int kDay = 86400;

class TrashTest : public test::UserDbFixture {
protected:
    test::TestClock clock{kDeletedAt};
    test::ScopedClock scopedClock{clock};
    ContactStore contacts{store};
    MatterStore matters{store};
    TrashStore trash{store};

    CardGroup Group(const std::string& name) {
        CardGroup g;
        g.group_name = name;
        EXPECT_EQ(contacts.AddGroup(g), StoreStatus::kOk);
        return g;
    }

    BusinessCard Contact(const std::string& name, int groupId = 0) {
        BusinessCard c;
        c.bc_name = name;
        c.bc_name_pinyin = name;
        c.company_name = "Acme";
        c.cell_phone = "13800000000";
        c.group_id = groupId;
        c.server_group_id = groupId == 0 ? 0 : 40 + groupId;
        c.bc_server_id = 900;
        UserBankInfo a;
        a.bank_name = "ICBC";
        a.ubank_card = "6222";
        c.bank_accounts = {a, a};
        c.bank_accounts[1].ubank_card = "6333";
        EXPECT_EQ(contacts.AddContact(c), StoreStatus::kOk);
        return c;
    }

    BusinessCard Stored(int bcId) {
        BusinessCard c;
        EXPECT_EQ(contacts.ContactById(bcId, c), 0);
        return c;
    }

    // "oper_ways,sync_state,s_values" of the row's entry.
    std::string Entry(int kind, int rowId) {
        const ResultTable t =
            Query("SELECT oper_ways,sync_state,s_values FROM tb_sync_record WHERE oper_code=" + std::to_string(kind) +
                  " AND s_row_id=" + std::to_string(rowId));
        return t.empty() ? "" : t.text(0, 0) + "," + t.text(0, 1) + "," + t.text(0, 2);
    }

    // Marks every entry acknowledged, as a sync run would.
    void Synced() { Exec("UPDATE tb_sync_record SET sync_state=3, oper_ways=2;"); }

    TrashedRecordList ContactTrash() {
        TrashedRecordList out;
        EXPECT_EQ(trash.DeletedContacts(TrashStore::WindowStart(NowSeconds()), out), 0);
        return out;
    }
};

TEST_F(TrashTest, ADeletedContactComesBackWithEveryFieldItsAccountsAndItsGroupAsAPendingEdit) {
    const CardGroup g = Group("clients");
    const BusinessCard before = Contact("张三 O'Brien", g.group_id);
    Synced();

    BusinessCard gone = before;
    ASSERT_EQ(contacts.DeleteContact(gone), StoreStatus::kOk);
    EXPECT_EQ(ContactTrash(), (TrashedRecordList{{before.bc_id, "张三 O'Brien", "Acme", kDeletedAt}}));
    int count = -1;
    ASSERT_EQ(trash.CountDeletedContacts(TrashStore::WindowStart(kDeletedAt), count), 0);
    EXPECT_EQ(count, 1);

    clock.set(kDeletedAt + 60);
    ASSERT_EQ(trash.RestoreContacts({before.bc_id}), 0);
    EXPECT_EQ(Stored(before.bc_id), before) << "state, group, accounts: all as before the delete";
    EXPECT_EQ(Entry(OPER_CONTACT, before.bc_id), "2,0," + FormatValues(before));
    EXPECT_TRUE(ContactTrash().empty());
    EXPECT_EQ(Scalar("SELECT deleted_at IS NULL FROM tb_bc"), "1");
}

TEST_F(TrashTest, AContactRestoredIntoAGroupDeletedSinceLandsInNoGroup) {
    CardGroup g = Group("old friends");
    BusinessCard c = Contact("li", g.group_id);
    ASSERT_EQ(contacts.DeleteContact(c), StoreStatus::kOk);
    ASSERT_EQ(contacts.DeleteGroup(g), StoreStatus::kOk);

    ASSERT_EQ(trash.RestoreContacts({c.bc_id}), 0);
    const BusinessCard back = Stored(c.bc_id);
    EXPECT_EQ(back.bc_state, 0);
    EXPECT_EQ(back.group_id, 0);
    EXPECT_EQ(back.server_group_id, 0);
    EXPECT_EQ(Entry(OPER_CONTACT, c.bc_id), "1,0," + FormatValues(back)) << "never uploaded: still an add";
}

TEST_F(TrashTest, ManyContactsAreDeletedAndRestoredAllOrNone) {
    const BusinessCard a = Contact("a"), b = Contact("b"), c = Contact("c");
    ASSERT_EQ(contacts.DeleteContacts({a.bc_id, b.bc_id, 9999}), StoreStatus::kNotFound) << "one id names no row";
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc WHERE bc_state<>0"), "0");

    ASSERT_EQ(contacts.DeleteContacts({a.bc_id, b.bc_id, c.bc_id}), StoreStatus::kOk);
    EXPECT_EQ(ContactTrash().size(), 3u);
    EXPECT_EQ(Entry(OPER_CONTACT, b.bc_id), "1,0," + FormatValues(Stored(b.bc_id)));

    // A restore naming a live or unknown row writes nothing at all.
    struct Case {
        const char* what;
        std::vector<int> ids;
    };
    for (const Case& k : {Case{"unknown id", {a.bc_id, 9999}}, Case{"twice the same", {a.bc_id, a.bc_id}}}) {
        EXPECT_EQ(trash.RestoreContacts(k.ids), TrashStore::kNotDeleted) << k.what;
        EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc WHERE bc_state<>0"), "3") << k.what;
    }
    ASSERT_EQ(trash.RestoreContacts({a.bc_id, c.bc_id}), 0);
    EXPECT_EQ(ContactTrash(), (TrashedRecordList{{b.bc_id, "b", "Acme", kDeletedAt}}));
}

TEST_F(TrashTest, TheTrashListsTheLatestDeletionFirstAndOnlyThoseOfTheLastThirtyDays) {
    BusinessCard old = Contact("old"), recent = Contact("recent"), latest = Contact("latest");
    ASSERT_EQ(contacts.DeleteContact(old), StoreStatus::kOk);
    clock.set(kDeletedAt + 5 * kDay);
    ASSERT_EQ(contacts.DeleteContact(recent), StoreStatus::kOk);
    clock.set(kDeletedAt + 6 * kDay);
    ASSERT_EQ(contacts.DeleteContact(latest), StoreStatus::kOk);
    Exec("UPDATE tb_bc SET bc_state=1 WHERE bc_id=" + std::to_string(Contact("before the trash").bc_id));

    clock.set(kDeletedAt + 30 * kDay + 1);
    TrashedRecordList listed = ContactTrash();
    ASSERT_EQ(listed.size(), 2u) << "older than thirty days, or deleted before times were kept";
    EXPECT_EQ(listed[0].id, latest.bc_id);
    EXPECT_EQ(listed[1].id, recent.bc_id);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc"), "4") << "nothing is removed";
    ASSERT_EQ(trash.RestoreContacts({old.bc_id}), 0) << "still restorable by id";
}

TEST_F(TrashTest, AMatterComesBackWithTheRemarksAndRemindersThatWentWithIt) {
    TalEvent m;
    m.description = "quarterly review";
    m.server_id = 70;
    ASSERT_EQ(matters.AddMatter(m), StoreStatus::kOk);
    std::vector<EventComment> remarks(3);
    for (std::size_t i = 0; i < remarks.size(); ++i) {
        remarks[i].event_id = m.event_id;
        remarks[i].c_content = "remark " + std::to_string(i);
        ASSERT_EQ(matters.AddRemark(remarks[i]), StoreStatus::kOk);
    }
    EventAlarm reminder;
    reminder.event_id = m.event_id;
    reminder.a_content = "call";
    ASSERT_EQ(matters.AddReminder(reminder), StoreStatus::kOk);
    remarks[2].comment_state = 1;  // deleted on its own, before the matter
    ASSERT_EQ(matters.ModifyRemark(remarks[2]), StoreStatus::kOk);
    Synced();

    TalEvent gone = m;
    ASSERT_EQ(matters.DeleteMatter(gone), StoreStatus::kOk);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_event_comment WHERE comment_state=0"), "0");
    TrashedRecordList listed;
    ASSERT_EQ(trash.DeletedMatters(TrashStore::WindowStart(kDeletedAt), listed), 0);
    EXPECT_EQ(listed, (TrashedRecordList{{m.event_id, "quarterly review", "", kDeletedAt}}));

    ASSERT_EQ(trash.RestoreMatters({m.event_id}), 0);
    TalEvent back;
    ASSERT_EQ(matters.MatterById(m.event_id, back), 0);
    EXPECT_EQ(back, m);
    EXPECT_EQ(Entry(OPER_MATTER, m.event_id), "2,0," + FormatValues(m));
    EventCommentList live;
    ASSERT_EQ(matters.RemarksOf(m.event_id, live), 0);
    EXPECT_EQ(live, (EventCommentList{remarks[0], remarks[1]}));
    EventAlarmList reminders;
    ASSERT_EQ(matters.RemindersOf(m.event_id, reminders), 0);
    EXPECT_EQ(reminders.size(), 1u);
    EXPECT_EQ(Entry(OPER_REMARK, remarks[0].comment_id).substr(0, 4), "2,3,") << "the remarks never left the service";
}

TEST_F(TrashTest, GroupsAndRemarksComeBackAsPendingEdits) {
    CardGroup cg = Group("clients");
    BusinessCard member = Contact("wang", cg.group_id);
    EventGroup mg;
    mg.group_name = "projects";
    ASSERT_EQ(matters.AddMatterGroup(mg), StoreStatus::kOk);
    TalEvent m;
    ASSERT_EQ(matters.AddMatter(m), StoreStatus::kOk);
    EventComment r;
    r.event_id = m.event_id;
    r.c_content = "note";
    ASSERT_EQ(matters.AddRemark(r), StoreStatus::kOk);
    Synced();

    ASSERT_EQ(contacts.DeleteGroup(cg), StoreStatus::kOk);
    ASSERT_EQ(matters.DeleteMatterGroup(mg), StoreStatus::kOk);
    r.comment_state = 1;
    ASSERT_EQ(matters.ModifyRemark(r), StoreStatus::kOk);

    ASSERT_EQ(trash.RestoreContactGroup(cg.group_id), 0);
    ASSERT_EQ(trash.RestoreMatterGroup(mg.group_id), 0);
    ASSERT_EQ(trash.RestoreRemark(r.comment_id), 0);
    cg.group_state = mg.group_state = r.comment_state = 0;
    EXPECT_EQ(Entry(OPER_CONTACT_GROUP, cg.group_id), "2,0," + FormatValues(cg));
    EXPECT_EQ(Entry(OPER_MATTER_GROUP, mg.group_id), "2,0," + FormatValues(mg));
    EXPECT_EQ(Entry(OPER_REMARK, r.comment_id), "2,0," + FormatValues(r));
    CardGroupList groups;
    ASSERT_EQ(contacts.ContactGroups(groups), 0);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].count, 1) << "its contact kept its membership";

    EXPECT_EQ(trash.RestoreContactGroup(cg.group_id), TrashStore::kNotDeleted) << "already live";
    EXPECT_EQ(trash.RestoreRemark(9999), TrashStore::kNotDeleted);
}

TEST_F(TrashTest, AFailingChangeLogLeavesTheRestoreUndone) {
    BusinessCard c = Contact("zhao");
    ASSERT_EQ(contacts.DeleteContact(c), StoreStatus::kOk);
    const std::string entry = Entry(OPER_CONTACT, c.bc_id);
    FailChangeLogWrites();
    EXPECT_EQ(trash.RestoreContacts({c.bc_id}), 1);
    EXPECT_EQ(Scalar("SELECT bc_state || '/' || deleted_at FROM tb_bc"), "1/" + std::to_string(kDeletedAt));
    EXPECT_EQ(Entry(OPER_CONTACT, c.bc_id), entry);
}

// A delete that arrives from the service is stamped when it arrives and takes the
// matter's remarks with it; the restore that arrives later brings them back.
TEST_F(TrashTest, ReceivedDeletesAndRestoresKeepTheTrashInStep) {
    BusinessCard c = Contact("chen");
    TalEvent m;
    m.server_id = 71;
    ASSERT_EQ(matters.AddMatter(m), StoreStatus::kOk);
    EventComment r;
    r.event_id = m.event_id;
    r.c_content = "kept";
    ASSERT_EQ(matters.AddRemark(r), StoreStatus::kOk);
    Synced();

    const auto receive = [&](int state) {
        BusinessCard card = c;
        card.bc_state = state;
        TalEvent matter = m;
        matter.event_state = state;
        SyncRecord ce, me;
        ce.oper_code = OPER_CONTACT, ce.oper_ways = WAY_MODIFY, ce.s_server_id = 900;
        ce.s_values = FormatValues(card);
        me.oper_code = OPER_MATTER, me.oper_ways = WAY_MODIFY, me.s_server_id = 71;
        me.s_values = FormatValues(matter);
        ASSERT_EQ(applyServerChanges(store, {ce, me}, 5), 0);
    };
    clock.set(kDeletedAt + 100);
    receive(1);
    EXPECT_EQ(ContactTrash(), (TrashedRecordList{{c.bc_id, "chen", "Acme", kDeletedAt + 100}}));
    EXPECT_EQ(Scalar("SELECT comment_state || '/' || deleted_at FROM tb_event_comment"),
              "1/" + std::to_string(kDeletedAt + 100));

    receive(0);
    EXPECT_EQ(Stored(c.bc_id).bc_state, 0);
    EXPECT_TRUE(ContactTrash().empty());
    EXPECT_EQ(Scalar("SELECT comment_state || '/' || coalesce(deleted_at,'none') FROM tb_event_comment"), "0/none");

    // A contact deleted elsewhere long ago, new to this device, is no deletion of its own.
    BusinessCard old = c;
    old.bc_state = 1;
    old.bc_name = "long gone";
    SyncRecord added;
    added.oper_code = OPER_CONTACT, added.oper_ways = WAY_ADD, added.s_server_id = 901;
    added.s_values = FormatValues(old);
    ASSERT_EQ(applyServerChanges(store, {added}, 6), 0);
    EXPECT_TRUE(ContactTrash().empty());
}

TEST_F(TrashTest, AnOlderFileGetsTheDeletionTimeColumnsAtLogin) {
    for (const char* table : {"tb_bc", "tb_event", "tb_event_comment", "tb_event_alarm"})
        Exec(std::string("ALTER TABLE ") + table + " DROP COLUMN deleted_at;");
    ASSERT_EQ(store.EnsureUserDb("tester"), 0);
    BusinessCard c = Contact("sun");
    ASSERT_EQ(contacts.DeleteContact(c), StoreStatus::kOk);
    EXPECT_EQ(ContactTrash().size(), 1u);
    EXPECT_EQ(Scalar("SELECT count(*) FROM pragma_table_info('tb_event_alarm') WHERE name='deleted_at'"), "1");
}

}  // namespace
}  // namespace kivtal
