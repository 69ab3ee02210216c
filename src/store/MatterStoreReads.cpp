#include <sqlite3.h>

#include <cstdint>
#include <limits>
#include <string>

#include "model/WallClock.h"
#include "store/MatterStore.h"
#include "store/RecordSql.h"

namespace kivtal {

namespace {

constexpr int kSecondsPerDay = 86400;

using recordsql::ReadRow;

const std::string kSelectMatters = recordsql::SelectSql<TalEvent>();
const std::string kMatterById = kSelectMatters + "where event_id= ?;";
const std::string kMattersAt =
    kSelectMatters + "where start_time<= ? and end_time>= ? and event_state = 0 order by place_top DESC;";
const std::string kMattersOfGroupAt =
    kSelectMatters + "where start_time<= ? and end_time>=? and group_id=? and event_state = 0 order by place_top DESC;";
// [start, end] meets [day start, next day start).
const std::string kTouchingDay = kSelectMatters + "WHERE start_time < ? AND end_time >= ? AND event_state = 0 ";
const std::string kDayOrder = "ORDER BY place_top DESC, start_time, event_id;";
const std::string kMattersOnDay = kTouchingDay + kDayOrder;
const std::string kMattersOfGroupOnDay = kTouchingDay + "AND group_id = ? " + kDayOrder;

// A day is busy when a live matter runs at any moment of it: [start, end] meets
// [day start, next day start).
constexpr const char* kBusyDuring =
    "SELECT 1 FROM tb_event WHERE start_time < ? AND end_time >= ? AND event_state = ? LIMIT 1;";

const std::string kLiveGroups = recordsql::SelectSql<EventGroup>() + "WHERE group_state =0;";
const std::string kGroupById = recordsql::SelectSql<EventGroup>() + "WHERE group_id = ?;";
constexpr const char* kGroupMatterCount = "SELECT count(*) FROM tb_event WHERE group_id = ? AND event_state = 0;";

const std::string kSelectRemarks = recordsql::SelectSql<EventComment>();
const std::string kRemarksOf = kSelectRemarks + "WHERE event_id=? AND comment_state=?;";
const std::string kRemarkById = kSelectRemarks + "WHERE comment_id=?;";

const std::string kSelectReminders = recordsql::SelectSql<EventAlarm>();
const std::string kRemindersOf = kSelectReminders + "WHERE event_id=? AND alarm_state=?;";
const std::string kReminderById = kSelectReminders + "WHERE alarm_id=? ;";

// One locked query on the user database. 0, or 1 when the file or the query fails.
int QueryUserDb(LocalStore& store, std::string_view sql, const SqlArgs& args, ResultTable& t) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    return session.db().query(sql, args, t) == SQLITE_OK ? 0 : 1;
}

template <class Record>
int ReadList(LocalStore& store, std::string_view sql, const SqlArgs& args, std::vector<Record>& out) {
    ResultTable t;
    if (QueryUserDb(store, sql, args, t) != 0) return 1;
    for (int r = 0; r < t.rows(); ++r) ReadRow(t, r, out.emplace_back());
    return 0;
}

template <class Record>
int ReadFirst(LocalStore& store, std::string_view sql, const SqlArgs& args, Record& out) {
    ResultTable t;
    if (QueryUserDb(store, sql, args, t) != 0) return 1;
    if (!t.empty()) ReadRow(t, 0, out);
    return 0;
}

// One query per id, all in one session.
template <class Record>
int ReadEach(LocalStore& store, std::string_view sql, const std::vector<int>& ids,
             std::map<int, std::vector<Record>>& out) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    for (int id : ids) {
        if (session.db().query(sql, {Arg(id), Arg(0)}, t) != SQLITE_OK) return 1;
        if (t.empty()) continue;
        std::vector<Record>& list = out[id];
        for (int r = 0; r < t.rows(); ++r) ReadRow(t, r, list.emplace_back());
    }
    return 0;
}

}  // namespace

int ReadRemark(SqliteDb& db, int commentId, EventComment& out) {
    ResultTable t;
    if (db.query(kRemarkById, {Arg(commentId)}, t) != SQLITE_OK || t.empty()) return 1;
    ReadRow(t, 0, out);
    return 0;
}

int ReadMatter(SqliteDb& db, int eventId, TalEvent& out) {
    ResultTable t;
    if (db.query(kMatterById, {Arg(eventId)}, t) != SQLITE_OK || t.empty()) return 1;
    ReadRow(t, 0, out);
    return 0;
}

int MatterStore::MatterById(int eventId, TalEvent& out) {
    return FindMatter(eventId, out) == StoreStatus::kFailed ? 1 : 0;
}

StoreStatus MatterStore::FindMatter(int eventId, TalEvent& out) {
    ResultTable t;
    if (QueryUserDb(store_, kMatterById, {Arg(eventId)}, t) != 0) return StoreStatus::kFailed;
    if (t.empty()) return StoreStatus::kNotFound;
    ReadRow(t, 0, out);
    return StoreStatus::kOk;
}

int MatterStore::MattersAt(int t, TalEventList& out) { return ReadList(store_, kMattersAt, {Arg(t), Arg(t)}, out); }

int MatterStore::MattersOfGroupAt(int t, int groupId, TalEventList& out) {
    return ReadList(store_, kMattersOfGroupAt, {Arg(t), Arg(t), Arg(groupId)}, out);
}

// 64-bit bounds: the last representable day ends beyond 32-bit seconds.
int MatterStore::MattersOnDay(int dayStart, TalEventList& out) {
    return ReadList(store_, kMattersOnDay, {Arg(std::int64_t{dayStart} + kSecondsPerDay), Arg(dayStart)}, out);
}

int MatterStore::MattersOfGroupOnDay(int dayStart, int groupId, TalEventList& out) {
    return ReadList(store_, kMattersOfGroupOnDay,
                    {Arg(std::int64_t{dayStart} + kSecondsPerDay), Arg(dayStart), Arg(groupId)}, out);
}

// Every day a live matter touches is busy, not only the days whose first second it
// covers: a ten o'clock meeting marks its day.
int MatterStore::BusyDays(int from, int to, std::vector<int>& dayNumbers) {
    StoreSession session = store_.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    int day = 0;
    // 64-bit moments, so a range that ends near the top of the 32-bit times cannot
    // wrap round into an endless loop.
    for (std::int64_t moment = from; moment < to; moment += kSecondsPerDay, ++day) {
        const std::int64_t next = moment + kSecondsPerDay;
        if (session.db().query(kBusyDuring, {Arg(next), Arg(moment), Arg(0)}, t) != SQLITE_OK) return 1;
        if (!t.empty()) dayNumbers.push_back(day);
    }
    return 0;
}

int MatterStore::BusyDaysOfMonth(int year, int month, std::vector<int>& daysOfMonth) {
    const int days = SolarMonthDays(year, month);
    const auto first = WallClockToTime(WallClock{.year = year, .month = month, .day = 1});
    if (days == 0 || !first) return 1;
    const std::int64_t end = std::int64_t{*first} + std::int64_t{days} * kSecondsPerDay;
    // The last day of the representable range may end beyond 32 bits; its start is still tested.
    constexpr std::int64_t kLast = std::numeric_limits<std::int32_t>::max();
    const int to = static_cast<int>(end > kLast ? kLast : end);
    std::vector<int> dayNumbers;
    const int rc = BusyDays(*first, to, dayNumbers);
    for (int n : dayNumbers) daysOfMonth.push_back(n + 1);
    return rc;
}

int MatterStore::MatterGroups(EventGroupList& out) {
    StoreSession session = store_.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable groups;
    if (session.db().query(kLiveGroups, groups) != SQLITE_OK) return 1;
    ResultTable count;
    for (int r = 0; r < groups.rows(); ++r) {
        EventGroup g;
        ReadRow(groups, r, g);
        if (session.db().query(kGroupMatterCount, {Arg(g.group_id)}, count) != SQLITE_OK) return 1;
        g.count = count.integer(0, 0);
        out.push_back(std::move(g));
    }
    return 0;
}

int MatterStore::MatterGroupById(int groupId, EventGroup& out) {
    return ReadFirst(store_, kGroupById, {Arg(groupId)}, out);
}

int MatterStore::RemarksOf(int eventId, EventCommentList& out) {
    return ReadList(store_, kRemarksOf, {Arg(eventId), Arg(0)}, out);
}

int MatterStore::RemarksOfMatters(const std::vector<int>& eventIds, std::map<int, EventCommentList>& out) {
    return ReadEach(store_, kRemarksOf, eventIds, out);
}

int MatterStore::RemindersOfMatters(const std::vector<int>& eventIds, std::map<int, EventAlarmList>& out) {
    return ReadEach(store_, kRemindersOf, eventIds, out);
}

int MatterStore::RemindersOf(int eventId, EventAlarmList& out) {
    return ReadList(store_, kRemindersOf, {Arg(eventId), Arg(0)}, out);
}

int MatterStore::ReminderById(int alarmId, EventAlarm& out) {
    return ReadFirst(store_, kReminderById, {Arg(alarmId)}, out);
}

}  // namespace kivtal
