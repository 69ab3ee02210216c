#pragma once
// The user's matters (tb_event), matter groups (tb_event_group), the remarks on matters
// (tb_event_comment) and their reminders (tb_event_alarm). Every write stores its row
// and its change-log entry in one transaction, so the two never disagree.
#include <map>
#include <vector>

#include "model/Records.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"
#include "store/StoreStatus.h"

namespace kivtal {

class MatterStore {
public:
    explicit MatterStore(LocalStore& store) : store_(store) {}

    // --- Writes. kOk when committed; kRefused, before anything is written, when a text
    // holds the value-string separator (the entry could not carry it); kBusy when the
    // transaction cannot begin (a reminder write answers kFailed then too); kFailed
    // when rolled back or the user database cannot be opened. The caller's record
    // receives the new id, the filled matter server id or the deleted state only on
    // success. ---
    StoreStatus AddMatter(TalEvent& matter);
    StoreStatus ModifyMatter(const TalEvent& matter);
    // An editor's save: only the fields that differ between `asRead` (the matter as the
    // editor read it) and `edited` are written over the row as it is now, in one
    // transaction, so a sync that landed since the read is kept; the change-log entry
    // carries the merged row, which `edited` receives. 1 also when the row is gone.
    StoreStatus SaveMatterEdit(const TalEvent& asRead, TalEvent& edited);
    StoreStatus DeleteMatter(TalEvent& matter);  // also marks its remarks and reminders deleted

    StoreStatus AddMatterGroup(EventGroup& group);
    StoreStatus ModifyMatterGroup(const EventGroup& group);
    StoreStatus DeleteMatterGroup(EventGroup& group);  // its matters stay as they are

    // A remark or reminder whose event_server_id is 0 takes its matter's server id.
    StoreStatus AddRemark(EventComment& remark);
    StoreStatus ModifyRemark(EventComment& remark);

    // Reminder entries are logged as already acknowledged: reminders travel to the
    // service by their own requests. 0 or 1 (also when the transaction cannot begin).
    StoreStatus AddReminder(EventAlarm& reminder);
    StoreStatus ModifyReminder(EventAlarm& reminder);

    // --- Reads. 0, or 1 when the database or a query fails. Lists append to `out`;
    // single reads leave `out` untouched when there is no such row. ---
    int MatterById(int eventId, TalEvent& out);
    // The same read with "no such row" told apart from a failing database.
    StoreStatus FindMatter(int eventId, TalEvent& out);
    // Live matters with start_time <= t <= end_time, pinned ones first.
    int MattersAt(int t, TalEventList& out);
    int MattersOfGroupAt(int t, int groupId, TalEventList& out);
    // Live matters that touch the day starting at `dayStart` (they start, end or run
    // through it), overall or of one group: pinned ones first, then in start order.
    int MattersOnDay(int dayStart, TalEventList& out);
    int MattersOfGroupOnDay(int dayStart, int groupId, TalEventList& out);

    // Day numbers n (from 0) for which a live matter runs at the moment from + n * 86400,
    // for every such moment before `to`. On a failing query the days found so far stay.
    int BusyDays(int from, int to, std::vector<int>& dayNumbers);
    // The days (1..31) of a month in Beijing time on which a live matter runs at 00:00.
    // 1 for a month that cannot be expressed in stored seconds.
    int BusyDaysOfMonth(int year, int month, std::vector<int>& daysOfMonth);

    // Live groups, each with the number of its live matters.
    int MatterGroups(EventGroupList& out);
    int MatterGroupById(int groupId, EventGroup& out);

    int RemarksOf(int eventId, EventCommentList& out);  // live remarks
    int RemindersOf(int eventId, EventAlarmList& out);  // live reminders
    int ReminderById(int alarmId, EventAlarm& out);
    // The live remarks or reminders of several matters in one session (the timeline
    // asks for a whole day's matters at once), keyed by event_id; matters without any
    // are absent. On a failing query the lists read so far stay.
    int RemarksOfMatters(const std::vector<int>& eventIds, std::map<int, EventCommentList>& out);
    int RemindersOfMatters(const std::vector<int>& eventIds, std::map<int, EventAlarmList>& out);

private:
    LocalStore& store_;
};

// The matter event_id on a connection the caller holds; 1 when there is none or the
// query fails, `out` then untouched.
int ReadMatter(SqliteDb& db, int eventId, TalEvent& out);
// The same for the remark comment_id.
int ReadRemark(SqliteDb& db, int commentId, EventComment& out);

}  // namespace kivtal
