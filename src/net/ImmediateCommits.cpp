#include "net/ImmediateCommits.h"

#include <exception>
#include <string>

#include "model/Clock.h"
#include "model/Diagnostics.h"
#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "net/ChangeListCodec.h"
#include "net/JobSupport.h"
#include "net/LoginUser.h"
#include "net/ReplyParsers.h"
#include "net/ServiceForms.h"
#include "net/WorkerMessages.h"
#include "store/AccountStore.h"
#include "store/ChangeLog.h"
#include "store/MatterStore.h"
#include "store/ServerChanges.h"

namespace kivtal {

namespace {

constexpr int kStoreFailure = 1;

using ReplyParser = int (*)(const std::string& reply, int& serverTime, SyncRecordList& results);

SyncRecord Entry(int kind, int ways, int rowId, std::string values, int serverId) {
    SyncRecord e;
    e.oper_code = kind;
    e.oper_ways = ways;
    e.s_row_id = rowId;
    e.s_values = std::move(values);
    e.s_server_id = serverId;
    e.oper_time = NowSeconds();
    e.main_tab = 1;
    return e;
}

SyncRecord ReminderModify(const EventAlarm& a) {
    return Entry(OPER_REMINDER, WAY_MODIFY, a.alarm_id, FormatValues(a), a.server_id);
}

// The reminder goes up as a new one: the service keeps the sent one as it was.
SyncRecord ReminderAsNew(EventAlarm& a) {
    a.alarm_id = 0;
    a.server_id = 0;
    return Entry(OPER_REMINDER, WAY_ADD, 0, FormatValues(a), 0);
}

// The service's answer to the change list: its parser code, results appended, each
// carrying the values that went up, which its acknowledgement keeps as the record's
// base as a sync run's does: a later received change then settles field by field.
int Send(JobContext& ctx, const SyncRecordList& entries, const std::string& label, ReplyParser parse,
         SyncRecordList& results) {
    const std::string reply = PostForm(ctx, kSyncSendPath, SyncSendForm(ctx.user.snapshot(), EncodeChangeList(entries)),
                                       "COMMIT_SYNCE_URL " + label + " post::", "COMMIT_SYNCE_URL " + label + "::");
    if (reply.empty()) return kResultNoNetwork;
    int serverTime = 0;
    // The reply's time is not stored: only a sync run, which has received everything
    // up to it, may move the sync time forward.
    const int code = parse(reply, serverTime, results);
    AttachSentValues(entries, results);
    return code;
}

// The frame every commit shares: probe, run, post. A record that cannot be put into a
// value string (a text holding the separator) fails like a store step.
template <class Body>
int RunCommit(JobContext& ctx, unsigned resultMessage, Body&& body) {
    int result = kResultNoNetwork;
    if (ctx.net.isNetworkAvailable()) {
        try {
            result = body();
        } catch (const std::exception& ex) {
            DebugLine(std::string("commit: ") + ex.what());
            result = kStoreFailure;
        }
    }
    PostResult(ctx, resultMessage, result);
    return result;
}

// Sends one entry that must come back with exactly one result, then runs store(result).
template <class Store>
int CommitSingle(JobContext& ctx, const SyncRecord& entry, const std::string& label, ReplyParser parse, Store&& store) {
    SyncRecordList results;
    const int code = Send(ctx, {entry}, label, parse, results);
    if (code != 0) return code;
    if (results.size() != 1) return kResultUnexpectedResults;
    const int stored = store(results.front());
    return stored != 0 ? stored : ChangeLog(ctx.store).AcknowledgeResults(results);
}

bool SameSchedule(const EventAlarm& a, const EventAlarm& b) {
    return a.alarm_myself == b.alarm_myself && a.alarm_state == b.alarm_state && a.alarm_time == b.alarm_time &&
           a.alarm_whos == b.alarm_whos;
}

// The entries for an edited reminder r whose stored version is o. Sets withdrawOld when
// the second entry withdraws o from its matter's text.
SyncRecordList PlanReminderChange(EventAlarm& r, EventAlarm& o, bool& withdrawOld) {
    withdrawOld = false;
    if (!r.already_sent) return {ReminderModify(r)};
    if (r.event_description_alarm != 1) return {ReminderAsNew(r)};
    // A sent reminder that follows its matter's text keeps that text; only a new text
    // alone is sent, as a reminder that no longer follows the matter.
    if (r.a_content != o.a_content && SameSchedule(r, o)) {
        r.event_description_alarm = 2;
        r.a_content = o.a_content;
        return {ReminderModify(r)};
    }
    withdrawOld = true;
    SyncRecordList entries{ReminderAsNew(r)};
    o.event_description_alarm = 2;
    entries.push_back(ReminderModify(o));
    return entries;
}

int StoreChangedReminder(JobContext& ctx, EventAlarm& r, EventAlarm& o, bool withdrawOld,
                         const SyncRecordList& results) {
    const bool goesUpAsNew = r.server_id == 0;
    if ((goesUpAsNew && results.empty()) || (withdrawOld && results.size() < 2)) return kResultUnexpectedResults;
    MatterStore matters(ctx.store);
    if (goesUpAsNew) r.server_id = results[0].s_server_id;
    const int saved = ResultOf(goesUpAsNew ? matters.AddReminder(r) : matters.ModifyReminder(r));
    if (saved != 0) return saved;
    if (withdrawOld) {
        o.server_id = results[1].s_server_id;
        if (const int rc = ResultOf(matters.ModifyReminder(o)); rc != 0) return rc;
    }
    return ChangeLog(ctx.store).AcknowledgeResults(results);
}

}  // namespace

int commitReminderAdd(JobContext& ctx, EventAlarm reminder) {
    return RunCommit(ctx, WM_RES_SYNC_ALARM, [&] {
        const SyncRecord entry =
            Entry(OPER_REMINDER, WAY_ADD, reminder.alarm_id, FormatValues(reminder), reminder.server_id);
        return CommitSingle(ctx, entry, "SyncAlarm", ParseSendReply, [&](const SyncRecord& result) {
            reminder.server_id = result.s_server_id;
            return ResultOf(MatterStore(ctx.store).AddReminder(reminder));
        });
    });
}

int commitReminderChange(JobContext& ctx, EventAlarm reminder) {
    return RunCommit(ctx, WM_RES_SYNC_MODIFY_ALARM, [&] {
        EventAlarm stored;
        if (MatterStore(ctx.store).ReminderById(reminder.alarm_id, stored) != 0) return kStoreFailure;
        bool withdrawOld = false;
        const SyncRecordList entries = PlanReminderChange(reminder, stored, withdrawOld);
        SyncRecordList results;
        const int code = Send(ctx, entries, "SyncModifyAlarm", ParseSendReply, results);
        if (code != 0) return code;
        return StoreChangedReminder(ctx, reminder, stored, withdrawOld, results);
    });
}

int commitProfile(JobContext& ctx, UserInfo profile, int way) {
    return RunCommit(ctx, WM_RES_SYNC_USER_INFO, [&] {
        const SyncRecord entry = Entry(OPER_USER, way, profile.user_id, FormatValues(profile), profile.user_server_id);
        const char* label = way == WAY_ADD ? "SyncUserInfo" : "SyncModifyUserInfo";
        return CommitSingle(ctx, entry, label, ParseSingleResultReply, [&](const SyncRecord& result) {
            profile.user_server_id = result.s_server_id;
            return AccountStore(ctx.store).ModifyProfile(profile);
        });
    });
}

int commitMatterDelete(JobContext& ctx, TalEvent matter) {
    return RunCommit(ctx, WM_RES_SYNC_DEL_EVENT, [&] {
        if (matter.event_state == 0) matter.event_state = 1;
        const SyncRecord entry =
            Entry(OPER_MATTER, WAY_MODIFY, matter.event_id, FormatValues(matter), matter.server_id);
        return CommitSingle(ctx, entry, "SyncDelEvent", ParseSingleResultReply, [&](const SyncRecord& result) {
            matter.server_id = result.s_server_id;
            return ResultOf(MatterStore(ctx.store).ModifyMatter(matter));
        });
    });
}

}  // namespace kivtal
