#include <gtest/gtest.h>

#include <string>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/MatterStore.h"
#include "support/UserDbFixture.h"
#include "support/TestClock.h"

namespace kivtal {
namespace {

class MatterStoreWritesTest : public test::UserDbFixture {
protected:
    test::TestClock clock{1700000000};
    test::ScopedClock scopedClock{clock};
    MatterStore matters{store};

    TalEvent AddedMatter(int serverId = 0, const std::string& text = "plan") {
        TalEvent m;
        m.start_time = 1700000000;
        m.end_time = 1700003600;
        m.description = text;
        m.server_id = serverId;
        EXPECT_EQ(matters.AddMatter(m), StoreStatus::kOk);
        return m;
    }

    // "oper_ways,sync_state,s_server_id,s_values" of the one entry of a row, "" when none.
    std::string Entry(int kind, int rowId) {
        ResultTable t = Query("SELECT oper_ways,sync_state,s_server_id,s_values FROM tb_sync_record WHERE oper_code=" +
                              std::to_string(kind) + " AND s_row_id=" + std::to_string(rowId));
        EXPECT_LE(t.rows(), 1);
        if (t.empty()) return "";
        return t.text(0, 0) + "," + t.text(0, 1) + "," + t.text(0, 2) + "," + t.text(0, 3);
    }
    std::string EntryOf(int ways, int state, int serverId, const std::string& values) {
        return std::to_string(ways) + "," + std::to_string(state) + "," + std::to_string(serverId) + "," + values;
    }
};

TEST_F(MatterStoreWritesTest, AddedMatterReadsBackExactlyAndIsLoggedAsPendingAdd) {
    TalEvent m;
    m.start_time = 1700000000;
    m.end_time = 1700086400;
    m.group_id = 4;
    m.description = "O'Brien's 100% _sure_ \\r\\n plan 😀 " + std::string(10000, 'x');
    m.place_top = 1;
    m.server_id = 55;
    m.create_time = 1690000000;
    m.server_group_id = -1;
    ASSERT_EQ(matters.AddMatter(m), StoreStatus::kOk);
    ASSERT_GT(m.event_id, 0);

    TalEvent back;
    ASSERT_EQ(matters.MatterById(m.event_id, back), 0);
    EXPECT_EQ(back, m);
    EXPECT_EQ(Entry(OPER_MATTER, m.event_id), EntryOf(WAY_ADD, SYNC_PENDING, 55, FormatValues(m)));
    EXPECT_EQ(Scalar("SELECT oper_time FROM tb_sync_record"), "1700000000");
}

TEST_F(MatterStoreWritesTest, EditsBeforeAnySyncKeepOneAddEntryWithTheNewestValues) {
    TalEvent m = AddedMatter();
    m.description = "moved";
    m.place_top = 1;
    ASSERT_EQ(matters.ModifyMatter(m), StoreStatus::kOk);

    TalEvent back;
    ASSERT_EQ(matters.MatterById(m.event_id, back), 0);
    EXPECT_EQ(back, m);
    EXPECT_EQ(Entry(OPER_MATTER, m.event_id), EntryOf(WAY_ADD, SYNC_PENDING, 0, FormatValues(m)));
}

TEST_F(MatterStoreWritesTest, AnEditIsSavedOverTheRowAsItIsNowKeepingWhatChangedSinceTheRead) {
    const TalEvent asRead = AddedMatter();
    TalEvent synced = asRead;  // a sync lands after the editor read the matter
    synced.description = "from the other device";
    synced.server_id = 77;
    ASSERT_EQ(matters.ModifyMatter(synced), StoreStatus::kOk);
    Exec("UPDATE tb_sync_record SET sync_state=3");

    TalEvent edited = asRead;  // the user only pins it and moves its end
    edited.place_top = 1;
    edited.end_time = 1700007200;
    ASSERT_EQ(matters.SaveMatterEdit(asRead, edited), StoreStatus::kOk);

    TalEvent expected = synced;
    expected.place_top = 1;
    expected.end_time = 1700007200;
    TalEvent back;
    ASSERT_EQ(matters.MatterById(asRead.event_id, back), 0);
    EXPECT_EQ(back, expected);
    EXPECT_EQ(edited, expected);
    EXPECT_EQ(Entry(OPER_MATTER, asRead.event_id), EntryOf(WAY_MODIFY, SYNC_PENDING, 0, FormatValues(expected)));

    Exec("DELETE FROM tb_event");
    TalEvent late = expected;
    late.description = "too late";
    EXPECT_EQ(matters.SaveMatterEdit(expected, late), StoreStatus::kFailed);
    EXPECT_EQ(late.description, "too late");
}

TEST_F(MatterStoreWritesTest, DeletingAMatterMarksItsRemarksAndRemindersWithOneEntry) {
    TalEvent m = AddedMatter(/*serverId=*/31);
    TalEvent other = AddedMatter();
    for (const char* text : {"first", "second"}) {
        EventComment c;
        c.c_content = text;
        c.event_id = m.event_id;
        ASSERT_EQ(matters.AddRemark(c), StoreStatus::kOk);
    }
    EventComment otherRemark;
    otherRemark.event_id = other.event_id;
    ASSERT_EQ(matters.AddRemark(otherRemark), StoreStatus::kOk);
    EventAlarm a;
    a.event_id = m.event_id;
    ASSERT_EQ(matters.AddReminder(a), StoreStatus::kOk);
    Exec("UPDATE tb_sync_record SET sync_state=3");  // as after a sync run
    const std::string logBefore = Scalar(
        "SELECT group_concat(sync_id||s_values||sync_state,'|') FROM tb_sync_record "
        "WHERE oper_code<>2");

    ASSERT_EQ(matters.DeleteMatter(m), StoreStatus::kOk);
    EXPECT_EQ(m.event_state, 1);
    EXPECT_EQ(Scalar("SELECT group_concat(event_state) FROM tb_event ORDER BY event_id"), "1,0");
    EXPECT_EQ(Scalar("SELECT group_concat(comment_state) FROM tb_event_comment ORDER BY comment_id"), "1,1,0");
    EXPECT_EQ(Scalar("SELECT alarm_state FROM tb_event_alarm"), "1");
    EXPECT_EQ(Entry(OPER_MATTER, m.event_id), EntryOf(WAY_MODIFY, SYNC_PENDING, 31, FormatValues(m)));
    EXPECT_EQ(Scalar("SELECT group_concat(sync_id||s_values||sync_state,'|') FROM tb_sync_record WHERE oper_code<>2"),
              logBefore);
}

TEST_F(MatterStoreWritesTest, MatterGroupsAreLoggedAndDeletingOneLeavesItsMatters) {
    EventGroup g;
    g.group_name = "客户's";
    g.server_id = 12;
    ASSERT_EQ(matters.AddMatterGroup(g), StoreStatus::kOk);
    ASSERT_GT(g.group_id, 0);
    EXPECT_EQ(Entry(OPER_MATTER_GROUP, g.group_id), EntryOf(WAY_ADD, SYNC_PENDING, 0, FormatValues(g)));

    g.group_name = "renamed";
    ASSERT_EQ(matters.ModifyMatterGroup(g), StoreStatus::kOk);
    EventGroup back;
    ASSERT_EQ(matters.MatterGroupById(g.group_id, back), 0);
    EXPECT_EQ(back.group_name, "renamed");

    TalEvent m;
    m.group_id = g.group_id;
    ASSERT_EQ(matters.AddMatter(m), StoreStatus::kOk);
    ASSERT_EQ(matters.DeleteMatterGroup(g), StoreStatus::kOk);
    EXPECT_EQ(g.group_state, 1);
    EXPECT_EQ(Scalar("SELECT group_state FROM tb_event_group"), "1");
    EXPECT_EQ(Scalar("SELECT group_id||','||event_state FROM tb_event"), std::to_string(g.group_id) + ",0");
    EXPECT_EQ(Entry(OPER_MATTER_GROUP, g.group_id), EntryOf(WAY_ADD, SYNC_PENDING, 0, FormatValues(g)));
}

// Remarks and reminders carry their matter's server id in the row, the entry and the
// caller's record; an id the record already has is kept.
TEST_F(MatterStoreWritesTest, RemarksAndRemindersTakeTheirMattersServerId) {
    const TalEvent synced = AddedMatter(/*serverId=*/97);
    const TalEvent local = AddedMatter(/*serverId=*/0);
    struct Case {
        int eventId;
        int given;
        int expected;
    };
    for (const Case& k :
         {Case{synced.event_id, 0, 97}, Case{local.event_id, 0, 0}, Case{synced.event_id, 5, 5}, Case{9999, 0, 0}}) {
        SCOPED_TRACE(std::to_string(k.eventId) + "/" + std::to_string(k.given));
        EventComment c;
        c.event_id = k.eventId;
        c.event_server_id = k.given;
        ASSERT_EQ(matters.AddRemark(c), StoreStatus::kOk);
        EXPECT_EQ(c.event_server_id, k.expected);
        EXPECT_EQ(Entry(OPER_REMARK, c.comment_id), EntryOf(WAY_ADD, SYNC_PENDING, 0, FormatValues(c)));

        EventAlarm a;
        a.event_id = k.eventId;
        a.event_server_id = k.given;
        ASSERT_EQ(matters.AddReminder(a), StoreStatus::kOk);
        EXPECT_EQ(a.event_server_id, k.expected);
        EventAlarm back;
        ASSERT_EQ(matters.ReminderById(a.alarm_id, back), 0);
        EXPECT_EQ(back.event_server_id, k.expected);
    }

    // A remark written before its matter was synced picks the id up on its next edit.
    EventComment c;
    c.event_id = local.event_id;
    ASSERT_EQ(matters.AddRemark(c), StoreStatus::kOk);
    Exec("UPDATE tb_event SET server_id=61 WHERE event_id=" + std::to_string(local.event_id));
    c.c_content = "edited";
    ASSERT_EQ(matters.ModifyRemark(c), StoreStatus::kOk);
    EXPECT_EQ(c.event_server_id, 61);
    EXPECT_EQ(Scalar("SELECT c_content||','||event_server_id FROM tb_event_comment WHERE comment_id=" +
                     std::to_string(c.comment_id)),
              "edited,61");
    EXPECT_EQ(Entry(OPER_REMARK, c.comment_id), EntryOf(WAY_ADD, SYNC_PENDING, 0, FormatValues(c)));
}

TEST_F(MatterStoreWritesTest, RemindersAreLoggedAcknowledgedAndKeepNumbersAsText) {
    const TalEvent m = AddedMatter(/*serverId=*/8);
    EventAlarm a;
    a.a_content = "call O'Neil";
    a.alarm_whos = "张三,李四";
    a.alarm_whos_id = "3,4";
    a.event_id = m.event_id;
    a.alarm_time = 1700007200;
    a.server_id = 70;
    a.alarm_myself = 1;
    ASSERT_EQ(matters.AddReminder(a), StoreStatus::kOk);
    EXPECT_EQ(Entry(OPER_REMINDER, a.alarm_id), EntryOf(WAY_ADD, SYNC_DONE, 70, FormatValues(a)));
    EXPECT_EQ(Scalar("SELECT typeof(event_id)||typeof(alarm_time)||alarm_time FROM tb_event_alarm"),
              "texttext1700007200");

    a.alarm_time = 1700010800;
    a.event_description_alarm = 2;
    ASSERT_EQ(matters.ModifyReminder(a), StoreStatus::kOk);
    EventAlarm back;
    ASSERT_EQ(matters.ReminderById(a.alarm_id, back), 0);
    EXPECT_EQ(back, a);
    EXPECT_EQ(Entry(OPER_REMINDER, a.alarm_id), EntryOf(WAY_MODIFY, SYNC_DONE, 70, FormatValues(a)));
}

}  // namespace
}  // namespace kivtal
