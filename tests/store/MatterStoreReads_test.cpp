#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

#include "model/WallClock.h"
#include "store/MatterStore.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

constexpr int kDay = 86400;

// Beijing wall-clock time of 2024-03-05 plus a day offset.
int At(int day, int hour, int minute = 0, int second = 0) {
    auto t = WallClockToTime(
        WallClock{.year = 2024, .month = 3, .day = 5, .hour = hour, .minute = minute, .second = second});
    return *t + day * kDay;
}

class MatterStoreReadsTest : public test::UserDbFixture {
protected:
    MatterStore matters{store};

    TalEvent Add(int start, int end, const std::string& text, int group = 0, int top = 0) {
        TalEvent m;
        m.start_time = start;
        m.end_time = end;
        m.description = text;
        m.group_id = group;
        m.place_top = top;
        EXPECT_EQ(matters.AddMatter(m), StoreStatus::kOk);
        return m;
    }
    void Delete(TalEvent m) { ASSERT_EQ(matters.DeleteMatter(m), StoreStatus::kOk); }

    static std::string Texts(const TalEventList& list) {
        std::string s;
        for (const TalEvent& m : list) s += (s.empty() ? "" : ",") + m.description;
        return s;
    }
    std::string RunningAt(int t) {
        TalEventList list;
        EXPECT_EQ(matters.MattersAt(t, list), 0);
        return Texts(list);
    }
    std::string OfGroupAt(int t, int group) {
        TalEventList list;
        EXPECT_EQ(matters.MattersOfGroupAt(t, group, list), 0);
        return Texts(list);
    }
};

TEST_F(MatterStoreReadsTest, AMatterRunsFromItsStartToItsEndInclusive) {
    Add(At(0, 9), At(0, 10), "meeting", /*group=*/2);
    Delete(Add(At(0, 9), At(0, 10), "cancelled", 2));
    struct Case {
        int t;
        const char* all;
    };
    for (const Case& k : {Case{At(0, 8, 59, 59), ""}, Case{At(0, 9), "meeting"}, Case{At(0, 9, 30), "meeting"},
                          Case{At(0, 10), "meeting"}, Case{At(0, 10, 0, 1), ""}}) {
        SCOPED_TRACE(k.t);
        EXPECT_EQ(RunningAt(k.t), k.all);
        EXPECT_EQ(OfGroupAt(k.t, 2), k.all);
        EXPECT_EQ(OfGroupAt(k.t, 3), "");
    }
}

TEST_F(MatterStoreReadsTest, PinnedMattersComeFirstInBothMomentQueries) {
    Add(At(0, 8), At(0, 12), "plain", 1, 0);
    Add(At(0, 8), At(0, 12), "pinned", 1, 1);
    EXPECT_EQ(RunningAt(At(0, 9)), "pinned,plain");
    EXPECT_EQ(OfGroupAt(At(0, 9), 1), "pinned,plain");
}

// A day lists every live matter that touches it, not only those running at one moment.
TEST_F(MatterStoreReadsTest, ADayListsEveryMatterTouchingItPinnedFirstThenInStartOrder) {
    Add(At(0, 14), At(0, 15), "afternoon", 2);
    Add(At(0, 9), At(0, 10), "morning", 3);
    Add(At(-1, 22), At(0, 2), "from last night", 2);
    Add(At(-3, 0), At(3, 0), "all week", 3);
    Add(At(0, 23, 59, 59), At(1, 1), "last second", 2);
    Add(At(0, 16), At(0, 17), "pinned late", 3, /*top=*/1);
    Add(At(-1, 9), At(0, 0), "ends at the day's first second", 2);
    Add(At(-1, 9), At(0, 0) - 1, "ends just before", 2);
    Add(At(1, 0), At(1, 2), "tomorrow at midnight", 2);
    Delete(Add(At(0, 11), At(0, 12), "cancelled", 2));

    TalEventList all, two, none;
    ASSERT_EQ(matters.MattersOnDay(At(0, 0), all), 0);
    EXPECT_EQ(Texts(all),
              "pinned late,all week,ends at the day's first second,from last night,morning,afternoon,last second");
    ASSERT_EQ(matters.MattersOfGroupOnDay(At(0, 0), 2, two), 0);
    EXPECT_EQ(Texts(two), "ends at the day's first second,from last night,afternoon,last second");
    ASSERT_EQ(matters.MattersOfGroupOnDay(At(0, 0), 4, none), 0);
    EXPECT_TRUE(none.empty());
}

// The last day 32-bit seconds can hold: its end lies beyond them.
TEST_F(MatterStoreReadsTest, TheLastRepresentableDayStillFindsItsMatters) {
    constexpr int kMax = std::numeric_limits<int>::max();
    const int lastDayStart = kMax - kMax % kDay;
    Add(lastDayStart + 10, kMax, "end of time");
    TalEventList list;
    ASSERT_EQ(matters.MattersOnDay(lastDayStart, list), 0);
    EXPECT_EQ(Texts(list), "end of time");
}

TEST_F(MatterStoreReadsTest, MomentQueriesAppendToTheCallersList) {
    Add(At(0, 8), At(0, 12), "one");
    TalEventList list(1);
    ASSERT_EQ(matters.MattersAt(At(0, 9), list), 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].description, "one");
}

// Every day a live matter touches, from its start to its end second.
TEST_F(MatterStoreReadsTest, BusyDaysMarkEveryDayAMatterTouches) {
    Add(At(2, 12), At(3, 12), "overnight");
    Add(At(5, 9), At(5, 17), "within day 5");
    Delete(Add(At(6, 0), At(6, 1), "deleted"));
    Add(At(-3, 0), At(0, 0), "ends at day 0's start");
    std::vector<int> days;
    ASSERT_EQ(matters.BusyDays(At(0, 0), At(7, 0), days), 0);
    EXPECT_EQ(days, (std::vector<int>{0, 2, 3, 5}));
}

// Beijing midnight is what counts, whatever zone the computer is set to.
TEST_F(MatterStoreReadsTest, BusyDaysOfAMonthUseBeijingDays) {
    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "America/New_York", 1);
    tzset();

    Add(At(-4, 0), At(-4, 0), "march 1st, the first second");
    Add(At(0, 0) - 1, At(0, 0) + 1, "across the 5th's start");
    Add(At(1, 8) - 1, At(1, 8) + 1, "across the 6th's UTC midnight only");
    Add(At(26, 0), At(27, 1), "march 31st into april 1st");
    std::vector<int> days;
    EXPECT_EQ(matters.BusyDaysOfMonth(2024, 3, days), 0);
    EXPECT_EQ(days, (std::vector<int>{1, 4, 5, 6, 31}));
    days.clear();
    EXPECT_EQ(matters.BusyDaysOfMonth(2024, 4, days), 0);
    EXPECT_EQ(days, (std::vector<int>{1}));
    EXPECT_EQ(matters.BusyDaysOfMonth(2024, 13, days), 1);
    EXPECT_EQ(matters.BusyDaysOfMonth(2100, 1, days), 1);  // beyond 32-bit seconds

    if (oldTz) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

TEST_F(MatterStoreReadsTest, GroupsListLiveOnesWithTheCountOfTheirLiveMatters) {
    EventGroup work, gone;
    work.group_name = "work";
    gone.group_name = "gone";
    ASSERT_EQ(matters.AddMatterGroup(work), StoreStatus::kOk);
    ASSERT_EQ(matters.AddMatterGroup(gone), StoreStatus::kOk);
    ASSERT_EQ(matters.DeleteMatterGroup(gone), StoreStatus::kOk);
    Add(0, 1, "a", work.group_id);
    Delete(Add(0, 1, "b", work.group_id));
    Add(0, 1, "c", gone.group_id);

    EventGroupList list;
    ASSERT_EQ(matters.MatterGroups(list), 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].group_name, "work");
    EXPECT_EQ(list[0].count, 1) << "the deleted matter is not counted";

    EventGroup byId;
    ASSERT_EQ(matters.MatterGroupById(gone.group_id, byId), 0);
    EXPECT_EQ(byId.group_name, "gone");
    EXPECT_EQ(byId.group_state, 1);
}

TEST_F(MatterStoreReadsTest, RemarksAndRemindersOfAMatterAreItsLiveOnes) {
    const TalEvent m = Add(0, 1, "m");
    const TalEvent other = Add(0, 1, "other");
    EventComment kept, dropped, elsewhere;
    kept.event_id = dropped.event_id = m.event_id;
    elsewhere.event_id = other.event_id;
    kept.c_content = "kept 😀 " + std::string(10000, 'k');
    for (EventComment* c : {&kept, &dropped, &elsewhere}) ASSERT_EQ(matters.AddRemark(*c), StoreStatus::kOk);
    dropped.comment_state = 1;
    ASSERT_EQ(matters.ModifyRemark(dropped), StoreStatus::kOk);

    EventAlarm ring, silenced;
    ring.event_id = silenced.event_id = m.event_id;
    ring.a_content = "50% 'off'";
    ring.alarm_whos_id = "7,8";
    for (EventAlarm* a : {&ring, &silenced}) ASSERT_EQ(matters.AddReminder(*a), StoreStatus::kOk);
    silenced.alarm_state = 1;
    ASSERT_EQ(matters.ModifyReminder(silenced), StoreStatus::kOk);

    EventCommentList remarks;
    ASSERT_EQ(matters.RemarksOf(m.event_id, remarks), 0);
    EXPECT_EQ(remarks, EventCommentList{kept});
    EventAlarmList reminders;
    ASSERT_EQ(matters.RemindersOf(m.event_id, reminders), 0);
    EXPECT_EQ(reminders, EventAlarmList{ring});
}

TEST_F(MatterStoreReadsTest, SingleReadsLeaveTheRecordUntouchedWhenThereIsNoRow) {
    TalEvent m;
    m.description = "untouched";
    EventGroup g;
    g.group_name = "untouched";
    EventAlarm a;
    a.a_content = "untouched";
    EXPECT_EQ(matters.MatterById(42, m), 0);
    EXPECT_EQ(matters.MatterGroupById(42, g), 0);
    EXPECT_EQ(matters.ReminderById(42, a), 0);
    EXPECT_EQ(m.description, "untouched");
    EXPECT_EQ(g.group_name, "untouched");
    EXPECT_EQ(a.a_content, "untouched");
}

}  // namespace
}  // namespace kivtal
