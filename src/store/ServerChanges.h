#pragma once
// The sync engine's writes to the user database that are not local edits: the
// service's changes and the replay of edits
// that were deferred while their entries were being sent. Each takes the store lock
// once and works in one transaction.
#include "model/Records.h"
#include "store/LocalStore.h"

namespace kivtal {

// Writes each received change in list order (an add inserts; a modify updates the row
// holding its server id, or inserts when none does) and stores `syncTime`, all in one
// transaction: the changes are in the file exactly when the time that stops them
// from being received again is. An entry whose value string cannot be read, whose
// kind is unknown or whose way is neither add nor modify is skipped. Parents named by
// server id are mapped to local ids; a contact gets its name pinyin.
// A change that fails in several runs in a row is set aside (tb_sync_set_aside) and
// skipped from then on, so that the changes after it still arrive.
// 0 committed; 1 when the database failed (nothing written).
int applyServerChanges(LocalStore& store, const SyncRecordList& changes, int syncTime);

// The number of received changes set aside. 0, or 1 when the database fails.
int SetAsideChangeCount(LocalStore& store, int& count);

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
