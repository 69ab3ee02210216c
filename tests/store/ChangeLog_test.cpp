// The change log on real database files: the add and change rules driven inside a
// transaction of the test's own, and the operations the sync engine uses.
#include "store/ChangeLog.h"
#include "store/ChangeLogEntries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "model/RecordValues.h"
#include "store/ChangeLogRows.h"
#include "support/UserDbFixture.h"
#include "support/TestClock.h"

namespace kivtal {
namespace {

constexpr const char* kSeparator = "~\xE9\xBA\xA4^";

SyncRecord Id(int syncId) {
    SyncRecord e;
    e.sync_id = syncId;
    return e;
}

class ChangeLogTest : public test::UserDbFixture {
protected:
    // Runs one write the way the store operations do: a transaction on the user
    // database, committed only when the step returned 0.
    int Write(const std::function<int(SqliteDb&)>& step) {
        auto s = store.OpenUserDb();
        if (!s.ok()) return 1;
        SqliteTransaction tx(s.db());
        if (!tx.began()) return -1;
        const int rc = step(s.db());
        if (rc == 0 && tx.commit() != SQLITE_OK) return 1;
        return rc;
    }

    int AddContact(BusinessCard& c) {
        return Write([&](SqliteDb& db) {
            if (db.execute("INSERT INTO tb_bc(bc_name,bc_state,bc_server_id,main_tab)VALUES(?,?,?,?);",
                           {Arg(c.bc_name), Arg(c.bc_state), Arg(c.bc_server_id), Arg(c.main_tab)}) != SQLITE_OK)
                return 1;
            c.bc_id = static_cast<int>(db.lastInsertId());
            return LogAdd(db, c);
        });
    }

    int ChangeContact(const BusinessCard& c) {
        return Write([&](SqliteDb& db) {
            if (db.execute("UPDATE tb_bc SET bc_name=?,bc_state=? where bc_id=?;",
                           {Arg(c.bc_name), Arg(c.bc_state), Arg(c.bc_id)}) != SQLITE_OK)
                return 1;
            return LogChange(db, c);
        });
    }

    std::vector<SyncRecord> Entries(const std::string& table = "tb_sync_record") {
        const ResultTable t = Query(
            "SELECT sync_id,oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,"
            "s_server_id,main_tab FROM " +
            table + " ORDER BY sync_id;");
        std::vector<SyncRecord> out;
        changelog::AppendEntries(t, out);
        return out;
    }

    void SetState(int syncState) { Exec("UPDATE tb_sync_record SET sync_state=" + std::to_string(syncState) + ";"); }

    test::TestClock clock{1700000000};
    test::ScopedClock useClock{clock};
    ChangeLog log{store};
};

// --- Log an add / log a change -------------------------------------------------------

TEST_F(ChangeLogTest, AddEditTwiceAndDeleteBeforeSyncLeaveOneAddWithTheNewestValues) {
    BusinessCard c;
    c.bc_name = "O'Brien 100%_x";
    c.main_tab = 5;
    ASSERT_EQ(AddContact(c), 0);
    const int firstId = Entries().at(0).sync_id;

    c.bc_name = "O'Brien, 'junior'";
    clock.set(1700000100);
    ASSERT_EQ(ChangeContact(c), 0);
    clock.set(1700000200);
    ASSERT_EQ(ChangeContact(c), 0);
    c.bc_state = 1;
    clock.set(1700000300);
    ASSERT_EQ(ChangeContact(c), 0);

    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    const SyncRecord& e = entries[0];
    EXPECT_EQ(e.sync_id, firstId);
    EXPECT_EQ(e.oper_code, OPER_CONTACT);
    EXPECT_EQ(e.oper_ways, WAY_ADD);
    EXPECT_EQ(e.sync_state, SYNC_PENDING);
    EXPECT_EQ(e.s_row_id, c.bc_id);
    EXPECT_EQ(e.oper_time, 1700000300);
    EXPECT_EQ(e.s_server_id, 0);
    EXPECT_EQ(e.main_tab, 1);  // an add entry is main 1 whatever the contact holds
    EXPECT_EQ(e.s_values, FormatValues(c));
    BusinessCard back;
    ParseValues(e.s_values, back);
    EXPECT_EQ(back.bc_state, 1);
    EXPECT_EQ(back.bc_name, "O'Brien, 'junior'");
}

TEST_F(ChangeLogTest, ASecondAddOfTheSameRowWritesNothing) {
    BusinessCard c;
    ASSERT_EQ(AddContact(c), 0);
    const auto before = Entries();
    c.bc_name = "other";
    clock.set(1700000500);
    ASSERT_EQ(Write([&](SqliteDb& db) { return LogAdd(db, c); }), 0);
    EXPECT_EQ(Entries(), before);
}

TEST_F(ChangeLogTest, ChangeOfAnAcknowledgedEntryBecomesAPendingModifyUnderItsOldId) {
    BusinessCard c;
    c.bc_name = "Wang";
    ASSERT_EQ(AddContact(c), 0);
    ASSERT_EQ(log.ApplyCommitResults(10, {SyncRecord{0, OPER_CONTACT, 0, c.bc_id, "", SYNC_DONE, 0, 0, 900}}), 0);
    const SyncRecord acked = Entries().at(0);
    ASSERT_EQ(acked.sync_state, SYNC_DONE);

    c.bc_name = "Wang Wei";
    clock.set(1700000900);
    ASSERT_EQ(ChangeContact(c), 0);

    const SyncRecord e = Entries().at(0);
    EXPECT_EQ(e.sync_id, acked.sync_id);
    EXPECT_EQ(e.oper_ways, WAY_MODIFY);
    EXPECT_EQ(e.sync_state, SYNC_PENDING);
    EXPECT_EQ(e.s_values, FormatValues(c));
    EXPECT_EQ(e.oper_time, 1700000900);
    EXPECT_EQ(e.s_server_id, 900);
}

TEST_F(ChangeLogTest, FirstChangeOfARowFromTheServiceCreatesAModifyEntry) {
    BusinessCard c;
    c.bc_id = 31;
    c.bc_server_id = 4401;
    c.main_tab = 7;
    TalEvent m;
    m.event_id = 32;
    m.server_id = 5501;
    ASSERT_EQ(Write([&](SqliteDb& db) { return LogChange(db, c) || LogChange(db, m); }), 0);

    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (SyncRecord{entries[0].sync_id, OPER_CONTACT, WAY_MODIFY, 31, FormatValues(c), SYNC_PENDING,
                                      1700000000, 7, 4401}));
    EXPECT_EQ(entries[1], (SyncRecord{entries[1].sync_id, OPER_MATTER, WAY_MODIFY, 32, FormatValues(m), SYNC_PENDING,
                                      1700000000, 1, 5501}));
}

struct AddCase {
    const char* name;
    int kind;
    int serverId;
    int state;
    std::function<int(SqliteDb&)> add;
    std::string values;
};

template <class R>
AddCase Adding(const char* name, int kind, int serverId, int state, const R& record) {
    return {name, kind, serverId, state, [record](SqliteDb& db) { return LogAdd(db, record); }, FormatValues(record)};
}

template <class R>
R WithIds(int R::*localId, int serverId) {
    R r;
    r.*localId = 1;
    r.server_id = serverId;
    return r;
}

// The server id an add entry starts with differs by kind; a kind mixed up with
// another would also show here through oper_code.
TEST_F(ChangeLogTest, AddEntriesTakeTheirKindAndServerIdByKind) {
    BusinessCard contact;
    contact.bc_id = 1, contact.bc_server_id = 77;
    const AddCase cases[] = {
        Adding("contact", OPER_CONTACT, 0, SYNC_PENDING, contact),
        Adding("matter", OPER_MATTER, 77, SYNC_PENDING, WithIds(&TalEvent::event_id, 77)),
        Adding("remark", OPER_REMARK, 77, SYNC_PENDING, WithIds(&EventComment::comment_id, 77)),
        Adding("reminder", OPER_REMINDER, 77, SYNC_DONE, WithIds(&EventAlarm::alarm_id, 77)),
        Adding("bank", OPER_BANK_ACCOUNT, 77, SYNC_PENDING, WithIds(&UserBankInfo::ubank_id, 77)),
        Adding("contact group", OPER_CONTACT_GROUP, 77, SYNC_PENDING, WithIds(&CardGroup::group_id, 77)),
        Adding("contact group without id", OPER_CONTACT_GROUP, -1, SYNC_PENDING, WithIds(&CardGroup::group_id, -1)),
        Adding("matter group", OPER_MATTER_GROUP, 0, SYNC_PENDING, WithIds(&EventGroup::group_id, 77)),
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.name);
        Exec("DELETE FROM tb_sync_record;");
        ASSERT_EQ(Write(c.add), 0);
        const auto entries = Entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].oper_code, c.kind);
        EXPECT_EQ(entries[0].oper_ways, WAY_ADD);
        EXPECT_EQ(entries[0].s_server_id, c.serverId);
        EXPECT_EQ(entries[0].sync_state, c.state);
        EXPECT_EQ(entries[0].main_tab, 1);
        EXPECT_EQ(entries[0].s_values, c.values);
    }
}

TEST_F(ChangeLogTest, EntriesOfDifferentKindsForTheSameLocalIdStaySeparate) {
    CardGroup group;
    group.group_id = 1;
    EventGroup matterGroup;
    matterGroup.group_id = 1;
    ASSERT_EQ(Write([&](SqliteDb& db) { return LogAdd(db, group) || LogAdd(db, matterGroup); }), 0);
    group.group_name = "renamed";
    ASSERT_EQ(Write([&](SqliteDb& db) { return LogChange(db, group); }), 0);
    const auto entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].s_values, FormatValues(group));
    EXPECT_EQ(entries[1].s_values, FormatValues(matterGroup));
}

TEST_F(ChangeLogTest, ReminderEntriesStayAcknowledgedWhateverTheEntryState) {
    EventAlarm a;
    a.alarm_id = 4;
    ASSERT_EQ(Write([&](SqliteDb& db) { return LogAdd(db, a); }), 0);
    EXPECT_EQ(Entries().at(0).sync_state, SYNC_DONE);

    for (int state : {SYNC_DONE, SYNC_PENDING, SYNC_SENDING}) {
        SCOPED_TRACE(state);
        SetState(state);
        a.a_content = "call at " + std::to_string(state);
        ASSERT_EQ(Write([&](SqliteDb& db) { return LogChange(db, a); }), 0);
        const SyncRecord e = Entries().at(0);
        EXPECT_EQ(e.oper_ways, WAY_MODIFY);
        EXPECT_EQ(e.sync_state, SYNC_DONE);
        EXPECT_EQ(e.s_values, FormatValues(a));
    }
    EXPECT_TRUE(Entries("tb_sync_record_tmp").empty());
}

TEST_F(ChangeLogTest, ChangeOfAnEntryBeingSentIsDeferredAndTheEntryLeftAsItWas) {
    BusinessCard c;
    c.bc_name = "Li";
    ASSERT_EQ(AddContact(c), 0);
    Exec("UPDATE tb_sync_record SET s_server_id=55, main_tab=3;");
    std::vector<SyncRecord> pending;
    ASSERT_EQ(log.PendingEntries(pending), 0);
    ASSERT_EQ(log.MarkSending(pending), 0);
    const SyncRecord sending = Entries().at(0);
    ASSERT_EQ(sending.sync_state, SYNC_SENDING);

    c.bc_name = "Li Na";
    clock.set(1700000700);
    ASSERT_EQ(ChangeContact(c), 0);

    EXPECT_EQ(Entries().at(0), sending);
    const auto deferred = Entries("tb_sync_record_tmp");
    ASSERT_EQ(deferred.size(), 1u);
    EXPECT_EQ(deferred[0], (SyncRecord{deferred[0].sync_id, OPER_CONTACT, WAY_MODIFY, c.bc_id, FormatValues(c),
                                       SYNC_DEFERRED, 1700000700, 3, 55}));
    EXPECT_EQ(Scalar("SELECT bc_name FROM tb_bc;"), "Li Na");
}

// --- Failures roll the row change back -----------------------------------------------

TEST_F(ChangeLogTest, FailedLogWritesFailTheWholeWrite) {
    BusinessCard pending;
    pending.bc_name = "kept";
    BusinessCard sending;
    sending.bc_name = "kept too";
    ASSERT_EQ(AddContact(pending), 0);
    ASSERT_EQ(AddContact(sending), 0);
    Exec("UPDATE tb_sync_record SET sync_state=2 WHERE s_row_id=" + std::to_string(sending.bc_id) + ";");
    const auto entriesBefore = Entries();
    FailChangeLogWrites();

    BusinessCard added;
    EXPECT_EQ(AddContact(added), 1);  // insert of a new entry fails
    pending.bc_name = "lost";
    EXPECT_EQ(ChangeContact(pending), 1);  // update of the existing entry fails
    sending.bc_name = "lost";
    EXPECT_EQ(ChangeContact(sending), 1);  // insert into the deferred table fails

    EXPECT_EQ(Scalar("SELECT group_concat(bc_name, '|') FROM tb_bc;"), "kept|kept too");
    EXPECT_EQ(Entries(), entriesBefore);
    EXPECT_TRUE(Entries("tb_sync_record_tmp").empty());
}

TEST_F(ChangeLogTest, ATextHoldingTheSeparatorFailsTheWriteWithoutThrowing) {
    BusinessCard c;
    c.bc_name = std::string("a") + kSeparator + "b";
    int rc = 0;
    EXPECT_NO_THROW(rc = AddContact(c));
    EXPECT_EQ(rc, 1);
    EventComment remark;
    remark.c_content = kSeparator;
    EXPECT_NO_THROW(rc = Write([&](SqliteDb& db) { return LogChange(db, remark); }));
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc;"), "0");
    EXPECT_TRUE(Entries().empty());
}

TEST_F(ChangeLogTest, AFailingLookupFailsBothRules) {
    Exec("DROP TABLE tb_sync_record;");
    TalEvent m;
    m.event_id = 1;
    EXPECT_EQ(Write([&](SqliteDb& db) { return LogAdd(db, m); }), 1);
    EXPECT_EQ(Write([&](SqliteDb& db) { return LogChange(db, m); }), 1);
}

// --- Operations of the sync engine ----------------------------------------------------

TEST_F(ChangeLogTest, PendingEntriesAppendsOnlyPendingEntriesWithEveryField) {
    Exec(
        "INSERT INTO tb_sync_record(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab)"
        "VALUES(1,2,3,'a''b',0,100,-1,9),(2,1,4,'x',3,101,0,1),(4,1,5,'y',2,102,0,1),(6,1,6,'z',0,103,8,1);");
    std::vector<SyncRecord> out{SyncRecord{}};
    ASSERT_EQ(log.PendingEntries(out), 0);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], SyncRecord{});
    EXPECT_EQ(out[1], (SyncRecord{1, 1, 2, 3, "a'b", 0, 100, 9, -1}));
    EXPECT_EQ(out[2], (SyncRecord{4, 6, 1, 6, "z", 0, 103, 1, 8}));
}

// Every kind's server id lands in its own table and column, on the row named by the
// result's local id only.
TEST_F(ChangeLogTest, CommitResultsWriteEachServerIdIntoItsRow) {
    struct Case {
        int kind;
        const char* table;
        const char* idColumn;
        const char* serverColumn;
    };
    const Case cases[] = {
        {OPER_CONTACT, "tb_bc", "bc_id", "bc_server_id"},
        {OPER_MATTER, "tb_event", "event_id", "server_id"},
        {OPER_USER, "tb_user", "user_id", "user_server_id"},
        {OPER_REMARK, "tb_event_comment", "comment_id", "server_id"},
        {OPER_REMINDER, "tb_event_alarm", "alarm_id", "server_id"},
        {OPER_CONTACT_GROUP, "tb_bc_group", "group_id", "server_id"},
        {OPER_MATTER_GROUP, "tb_event_group", "group_id", "server_id"},
        {OPER_SETTINGS, "tb_user_settings", "s_id", "server_id"},
        {OPER_BANK_ACCOUNT, "tb_ubank_info", "ubank_id", "server_id"},
    };
    std::vector<SyncRecord> results;
    for (const Case& c : cases) {
        Exec(std::string("INSERT INTO ") + c.table + "(" + c.serverColumn + ") VALUES(0),(0);");
        Exec(
            "INSERT INTO tb_sync_record(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,"
            "main_tab)VALUES(" +
            std::to_string(c.kind) + ",1,2,'v',0,1,0,1);");
        results.push_back(SyncRecord{0, c.kind, 0, 2, "", SYNC_DONE, 0, 0, 1000 + c.kind});
    }
    ASSERT_EQ(log.ApplyCommitResults(123456, results), 0);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        const std::string select =
            std::string("SELECT ") + c.serverColumn + " FROM " + c.table + " ORDER BY " + c.idColumn + ";";
        const ResultTable t = Query(select);
        ASSERT_EQ(t.rows(), 2);
        EXPECT_EQ(t.integer(0, 0), 0);
        EXPECT_EQ(t.integer(1, 0), 1000 + c.kind);
        EXPECT_EQ(Scalar("SELECT sync_state || '/' || s_server_id FROM tb_sync_record WHERE oper_code=" +
                         std::to_string(c.kind) + ";"),
                  "3/" + std::to_string(1000 + c.kind));
    }
    int syncTime = 0;
    ASSERT_EQ(log.ReadSyncTime(syncTime), 0);
    EXPECT_EQ(syncTime, 123456);
}

TEST_F(ChangeLogTest, AFailingMappingLeavesEveryEarlierMappingUndone) {
    Exec("INSERT INTO tb_bc(bc_server_id) VALUES(0);");
    Exec("INSERT INTO tb_event(server_id) VALUES(0);");
    Exec(
        "INSERT INTO tb_sync_record(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab)"
        "VALUES(1,1,1,'v',0,1,0,1),(2,1,1,'v',0,1,0,1);");
    Exec("CREATE TRIGGER fail_event_map BEFORE UPDATE ON tb_event BEGIN SELECT RAISE(ABORT,'map'); END;");
    const auto entriesBefore = Entries();

    const std::vector<SyncRecord> results = {
        {0, OPER_CONTACT, 0, 1, "", SYNC_DONE, 0, 0, 501},
        {0, OPER_MATTER, 0, 1, "", SYNC_DONE, 0, 0, 502},
    };
    EXPECT_EQ(log.ApplyCommitResults(50, results), 1);
    EXPECT_EQ(Scalar("SELECT bc_server_id FROM tb_bc;"), "0");
    EXPECT_EQ(Entries(), entriesBefore);
}

TEST_F(ChangeLogTest, ResultsOfUnknownKindsMapNothingAndEmptyResultsStillStoreTheTime) {
    Exec(
        "INSERT INTO tb_sync_record(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab)"
        "VALUES(1,1,1,'v',0,1,0,1);");
    const auto before = Entries();
    EXPECT_EQ(log.ApplyCommitResults(60, {{0, 0, 0, 1, "", SYNC_DONE, 0, 0, 9}, {0, 10, 0, 1, "", SYNC_DONE, 0, 0, 9}}),
              0);
    EXPECT_EQ(Entries(), before);

    EXPECT_EQ(log.ApplyCommitResults(70, {}), 0);
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time;"), "70");
}

// The upload was accepted, so its server ids must be kept (a second upload would
// create the rows twice on the service), but the run must not look complete.
TEST_F(ChangeLogTest, AnUnstoredSyncTimeIsReportedWhileTheServerIdsAreKept) {
    Exec("INSERT INTO tb_bc(bc_server_id) VALUES(0);");
    Exec("CREATE TRIGGER fail_time BEFORE UPDATE ON tb_sync_time BEGIN SELECT RAISE(ABORT,'time'); END;");
    EXPECT_EQ(log.ApplyCommitResults(80, {{0, OPER_CONTACT, 0, 1, "", SYNC_DONE, 0, 0, 601}}), 1);
    EXPECT_EQ(Scalar("SELECT bc_server_id FROM tb_bc;"), "601");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time;"), "0");
}

TEST_F(ChangeLogTest, SyncTimeIsReadBackAndLeftAloneWithoutARow) {
    int syncTime = -5;
    ASSERT_EQ(log.ReadSyncTime(syncTime), 0);
    EXPECT_EQ(syncTime, 0);
    ASSERT_EQ(log.StoreSyncTime(1712345678), 0);
    ASSERT_EQ(log.ReadSyncTime(syncTime), 0);
    EXPECT_EQ(syncTime, 1712345678);

    Exec("DELETE FROM tb_sync_time;");
    syncTime = 42;
    EXPECT_EQ(log.ReadSyncTime(syncTime), 0);
    EXPECT_EQ(syncTime, 42);
}

TEST_F(ChangeLogTest, SendingEntriesGoBackToPendingAndDeferredOnesAreTakenOnce) {
    Exec(
        "INSERT INTO tb_sync_record(oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab)"
        "VALUES(1,1,1,'a',0,1,0,1),(1,1,2,'b',3,1,0,1),(1,1,3,'c',0,1,0,1);");
    // Only pending entries start being sent: an acknowledged one must not be revived.
    ASSERT_EQ(log.MarkSending({Id(1), Id(2)}), 0);
    EXPECT_EQ(Scalar("SELECT group_concat(sync_state) FROM (SELECT sync_state FROM tb_sync_record ORDER BY sync_id);"),
              "2,3,0");

    BusinessCard c;
    c.bc_id = 1;
    ASSERT_EQ(Write([&](SqliteDb& db) { return LogChange(db, c); }), 0);
    const std::string firstValues = FormatValues(c);
    c.bc_name = "second";
    ASSERT_EQ(Write([&](SqliteDb& db) { return LogChange(db, c); }), 0);

    ASSERT_EQ(log.ResetSendingEntries(), 0);
    EXPECT_EQ(Scalar("SELECT group_concat(sync_state) FROM (SELECT sync_state FROM tb_sync_record ORDER BY sync_id);"),
              "0,3,0");

    std::vector<SyncRecord> taken;
    ASSERT_EQ(log.TakeDeferredEntries(taken), 0);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].s_values, firstValues);
    EXPECT_EQ(taken[1].s_values, FormatValues(c));
    EXPECT_TRUE(Entries("tb_sync_record_tmp").empty());
    std::vector<SyncRecord> again;
    ASSERT_EQ(log.TakeDeferredEntries(again), 0);
    EXPECT_TRUE(again.empty());
}

TEST_F(ChangeLogTest, ABrokenUserDatabaseFailsEveryOperationAndIsKept) {
    CorruptUserDb();
    const auto size = std::filesystem::file_size(store.userDbPath());
    std::vector<SyncRecord> out;
    int syncTime = 7;
    EXPECT_EQ(log.PendingEntries(out), 1);
    EXPECT_EQ(log.ApplyCommitResults(1, {{0, 1, 0, 1, "", SYNC_DONE, 0, 0, 2}}), 1);
    EXPECT_EQ(log.StoreSyncTime(1), 1);
    EXPECT_EQ(log.ReadSyncTime(syncTime), 1);
    EXPECT_EQ(syncTime, 7);
    EXPECT_NE(log.MarkSending({Id(1)}), 0);
    EXPECT_EQ(log.ResetSendingEntries(), 1);
    EXPECT_NE(log.TakeDeferredEntries(out), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(std::filesystem::file_size(store.userDbPath()), size);
}

}  // namespace
}  // namespace kivtal
