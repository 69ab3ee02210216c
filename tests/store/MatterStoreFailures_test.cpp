#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "store/MatterStore.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

const std::string kSeparator = "~\xE9\xBA\xA4^";  // the value-string field separator

class MatterStoreFailuresTest : public test::UserDbFixture {
protected:
    MatterStore matters{store};
    TalEvent matter;
    EventGroup group;
    EventComment remark;
    EventAlarm reminder;

    // One row of every kind, with its entry.
    void AddOneOfEach() {
        matter.description = "plan";
        matter.server_id = 40;
        ASSERT_EQ(matters.AddMatter(matter), StoreStatus::kOk);
        group.group_name = "work";
        ASSERT_EQ(matters.AddMatterGroup(group), StoreStatus::kOk);
        remark.event_id = matter.event_id;
        remark.c_content = "note";
        ASSERT_EQ(matters.AddRemark(remark), StoreStatus::kOk);
        reminder.event_id = matter.event_id;
        reminder.a_content = "ring";
        ASSERT_EQ(matters.AddReminder(reminder), StoreStatus::kOk);
    }

    // Every row of the four tables and of the change log, as one text.
    std::string Snapshot() {
        std::string all;
        for (const char* table : {"tb_event", "tb_event_group", "tb_event_comment", "tb_event_alarm", "tb_sync_record",
                                  "tb_sync_record_tmp"}) {
            ResultTable t = Query(std::string("SELECT * FROM ") + table);
            all += table;
            for (int r = 0; r < t.rows(); ++r)
                for (int c = 0; c < t.cols(); ++c) all += "|" + t.text(r, c);
            all += "\n";
        }
        return all;
    }

    struct Write {
        const char* name;
        std::function<StoreStatus(MatterStoreFailuresTest&)> run;
    };

    // Each write on copies of the stored records, changed so that it would alter a row.
    static std::vector<Write> Writes() {
        // One write a line:
        // clang-format off
        return {
            {"add matter", [](auto& f) { TalEvent m = f.matter; m.event_id = 0; return f.matters.AddMatter(m); }},
            {"modify matter", [](auto& f) { TalEvent m = f.matter; m.description = "x"; return f.matters.ModifyMatter(m); }},
            {"delete matter", [](auto& f) { TalEvent m = f.matter; return f.matters.DeleteMatter(m); }},
            {"add group", [](auto& f) { EventGroup g = f.group; return f.matters.AddMatterGroup(g); }},
            {"modify group", [](auto& f) { EventGroup g = f.group; g.group_name = "x"; return f.matters.ModifyMatterGroup(g); }},
            {"delete group", [](auto& f) { EventGroup g = f.group; return f.matters.DeleteMatterGroup(g); }},
            {"add remark", [](auto& f) { EventComment c = f.remark; return f.matters.AddRemark(c); }},
            {"modify remark", [](auto& f) { EventComment c = f.remark; c.c_content = "x"; return f.matters.ModifyRemark(c); }},
            {"add reminder", [](auto& f) { EventAlarm a = f.reminder; return f.matters.AddReminder(a); }},
            {"modify reminder", [](auto& f) { EventAlarm a = f.reminder; a.a_content = "x"; return f.matters.ModifyReminder(a); }},
        };
        // clang-format on
    }
};

// Reminders included: a reminder row whose entry could not be written would be an
// edit the log never heard of.
TEST_F(MatterStoreFailuresTest, AFailedLogWriteLeavesRowsAndEntriesAsBefore) {
    AddOneOfEach();
    Exec("UPDATE tb_sync_record SET sync_state=3");  // so every change must rewrite its entry
    FailChangeLogWrites();
    const std::string before = Snapshot();
    for (const Write& w : Writes()) {
        SCOPED_TRACE(w.name);
        EXPECT_EQ(w.run(*this), StoreStatus::kFailed);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(MatterStoreFailuresTest, AFailedAddLeavesTheCallersRecordWithoutANewId) {
    FailChangeLogWrites();
    TalEvent m;
    m.server_id = 97;
    EXPECT_EQ(matters.AddMatter(m), StoreStatus::kFailed);
    EXPECT_EQ(m.event_id, 0);
    EventComment c;
    c.event_id = 1;
    EXPECT_EQ(matters.AddRemark(c), StoreStatus::kFailed);
    EXPECT_EQ(c.comment_id, 0);
}

// A text holding the separator would shift every later field of the uploaded value
// string, so the write is refused as a whole.
TEST_F(MatterStoreFailuresTest, ATextHoldingTheValueSeparatorIsRefused) {
    AddOneOfEach();
    const std::string before = Snapshot();
    const std::string bad = "a" + kSeparator + "b";
    TalEvent m = matter;
    m.description = bad;
    EXPECT_EQ(matters.ModifyMatter(m), StoreStatus::kRefused);
    m.event_id = 0;
    EXPECT_EQ(matters.AddMatter(m), StoreStatus::kRefused);
    EventGroup g = group;
    g.group_name = bad;
    EXPECT_EQ(matters.AddMatterGroup(g), StoreStatus::kRefused);
    EventComment c = remark;
    c.c_content = bad;
    EXPECT_EQ(matters.ModifyRemark(c), StoreStatus::kRefused);
    EventAlarm a = reminder;
    a.alarm_whos = bad;
    EXPECT_EQ(matters.ModifyReminder(a), StoreStatus::kRefused);
    a.alarm_id = 0;
    EXPECT_EQ(matters.AddReminder(a), StoreStatus::kRefused);
    EXPECT_EQ(Snapshot(), before);

    // The ids of the people to remind never travel in the value string.
    a = reminder;
    a.alarm_whos_id = bad;
    EXPECT_EQ(matters.ModifyReminder(a), StoreStatus::kOk);
}

// Every operation, reads included, against an unusable user database: its failure
// code, and the file is neither deleted nor written over.
class UnusableUserDbTest : public MatterStoreFailuresTest {
protected:
    void ExpectEveryOperationFails() {
        const std::string path = store.userDbPath();
        const bool existed = std::filesystem::exists(path);
        const std::string bytes = existed ? FileBytes(path) : "";

        for (const Write& w : Writes()) EXPECT_EQ(w.run(*this), StoreStatus::kFailed) << w.name;
        TalEvent m;
        TalEventList ml;
        std::vector<int> days;
        EventGroupList gl;
        EventGroup g;
        EventCommentList cl;
        EventAlarmList al;
        EventAlarm a;
        EXPECT_EQ(matters.MatterById(1, m), 1);
        EXPECT_EQ(matters.MattersAt(1, ml), 1);
        EXPECT_EQ(matters.MattersOfGroupAt(1, 1, ml), 1);
        EXPECT_EQ(matters.BusyDays(0, 7 * 86400, days), 1);
        EXPECT_EQ(matters.BusyDaysOfMonth(2024, 2, days), 1);
        EXPECT_EQ(matters.MatterGroups(gl), 1);
        EXPECT_EQ(matters.MatterGroupById(1, g), 1);
        EXPECT_EQ(matters.RemarksOf(1, cl), 1);
        EXPECT_EQ(matters.RemindersOf(1, al), 1);
        EXPECT_EQ(matters.ReminderById(1, a), 1);
        EXPECT_TRUE(ml.empty() && days.empty() && gl.empty() && cl.empty() && al.empty());

        EXPECT_EQ(std::filesystem::exists(path), existed);
        if (existed) {
            EXPECT_EQ(FileBytes(path), bytes);
        }
    }

    static std::string FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(UnusableUserDbTest, Corrupt) {
    AddOneOfEach();
    CorruptUserDb();
    ExpectEveryOperationFails();
}

TEST_F(UnusableUserDbTest, Empty) {
    AddOneOfEach();
    std::ofstream(store.userDbPath(), std::ios::trunc).close();
    ExpectEveryOperationFails();
}

TEST_F(UnusableUserDbTest, Missing) {
    AddOneOfEach();
    std::filesystem::remove(store.userDbPath());
    ExpectEveryOperationFails();
}

}  // namespace
}  // namespace kivtal
