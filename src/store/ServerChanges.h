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
// 0 committed; 1 when the database failed (nothing written).
int applyServerChanges(LocalStore& store, const SyncRecordList& changes, int syncTime);

// Rewrites every deferred modify (tb_sync_record_tmp) as a local change of its row,
// logged as pending (settings are rewritten without a log entry), then empties the
// table. A row keeps the server id it has now. A change that cannot be written is
// dropped without stopping the others.
// 0 done (also when there was nothing); 1 when the database cannot be opened; 255
// when the transaction cannot begin or commit.
int replayDeferredChanges(LocalStore& store);

}  // namespace kivtal
