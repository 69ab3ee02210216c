#pragma once
// The sync engine's writes to the user database that are not local edits: the
// service's changes and the replay of edits
// that were deferred while their entries were being sent. Each takes the store lock
// once and works in one transaction.
#include <string>

#include "model/FieldMerge.h"
#include "model/Records.h"
#include "store/LocalStore.h"
#include "store/SetAsideChanges.h"

namespace kivtal {

// Stores a sync run's answer in one transaction: the acknowledgements of the uploaded
// entries (server ids into their rows, entries marked as answered), then the changes
// set aside earlier, tried again, then each received change in list order (an add
// inserts; a modify updates the row holding its server id, or inserts when none does),
// then `syncTime`. A crash leaves all of it or none: never a settled entry whose
// contesting change from the service is still to come.
// Parents named by server id are mapped to local ids; a contact gets its name pinyin. A
// change whose way is neither add nor modify is skipped. A change that cannot be
// written fails the run; one that fails for good (refused by the database, values that
// cannot be read, an unknown kind) kSetAsideAfterRuns runs in a row is set aside and the
// rest stored without it (see SetAsideChanges.h).
// 0 all stored; kStoredWithSetAside stored, with a change set aside by this run;
// kOnlyAcknowledged when the changes could not be stored but the acknowledgements were,
// on their own (the next run receives the changes again); 1 nothing stored.
// Each record acknowledged or stored gets its values as its base (store/SyncBases.h),
// and `clashes` are kept with the received changes.
int settleSyncRun(LocalStore& store, const SyncRecordList& results, const SyncRecordList& changes, int syncTime,
                  const SyncClashList& clashes = {});
inline constexpr int kStoredWithSetAside = 2;
inline constexpr int kOnlyAcknowledged = 3;

// settleSyncRun with no acknowledgements: 0, kStoredWithSetAside or 1.
int applyServerChanges(LocalStore& store, const SyncRecordList& changes, int syncTime);

// Tries a set-aside change again now; it leaves the list when it goes through. 0 stored;
// 1 when the database fails; kSetAsideNotFound; kStillFails with the reason.
int RetrySetAsideChange(LocalStore& store, int id, std::string& reason);
inline constexpr int kStillFails = 2;

// Ends a run's hold on the change log, in one transaction: entries still being sent are
// pending again, and every deferred modify (tb_sync_record_tmp) is written again as a
// logged local change of its row, then the table is emptied. A row keeps the server id
// it has now and takes its parent's when it had none; a row edited after the run's
// acknowledgement keeps that newer edit. A deferred change whose row is gone or whose
// values cannot be read is dropped; a failing database leaves everything for the
// next run to retry.
// 0 done (also when there was nothing); 1 when the database cannot be opened or a
// statement fails; 255 when the transaction cannot begin or commit.
int replayDeferredChanges(LocalStore& store);

}  // namespace kivtal
