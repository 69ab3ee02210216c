#pragma once
// Edits the service must accept before they are stored: a new reminder, a changed
// reminder, the user's profile and the deletion of a matter. Each job sends its record
// at once as a one- or two-entry change list over "/Sync/send" and writes the store
// only after the service has answered with the ids it needs. The acknowledgement keeps
// what went up as the record's sync base, in its own transaction: when that fails the
// record keeps its old base (or none) and the job returns the failing step's code.
//
// Each posts its result message and returns the code it posted: 0; -200 offline or no
// reply; -999 when the reply lacks a result the commit needs (nothing is stored); the
// service's error code; or the failing store step's code. The busy flag belongs to the
// worker that starts the job.
#include "model/Records.h"
#include "net/JobContext.h"

namespace kivtal {

// WM_RES_SYNC_ALARM.
int commitReminderAdd(JobContext& ctx, EventAlarm reminder);
// WM_RES_SYNC_MODIFY_ALARM. reminder.already_sent: the reminder's time has passed on
// the service's clock and the user chose to send it again.
int commitReminderChange(JobContext& ctx, EventAlarm reminder);
// WM_RES_SYNC_USER_INFO. way: WAY_MODIFY for the profile editor's commit, WAY_ADD for
// the first-profile variant.
int commitProfile(JobContext& ctx, UserInfo profile, int way);
// WM_RES_SYNC_DEL_EVENT. The matter is stored with event_state 1.
int commitMatterDelete(JobContext& ctx, TalEvent matter);

}  // namespace kivtal
