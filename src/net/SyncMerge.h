#pragma once
// Conflict settlement between the local entries waiting to go up and the changes the
// service sent down, before the upload. Works on the lists in place; the store is not
// touched.
#include "model/FieldMerge.h"
#include "model/Records.h"

namespace kivtal {

// For each local entry in order: a modify of a record with a base in `bases` that a
// received modify of the same server id meets is settled field by field against the
// base (model/FieldMerge.h), whatever its kind: both entries then carry the merged
// values (the local one goes up as a modify of the same server id, the received one
// stores them here), and each clash is appended to `clashes` with the local row id and
// `now`. A remark whose text both sides changed differently keeps both, as below.
// Otherwise (no base, values that cannot be merged), the first received entry of the same kind naming the
// same row (by local or by server id) that the kind's rule settles decides:
//   contact, both modifies with the same main_tab: both versions survive — the local
//     one goes up as a new contact; same bc_id and name: main 2 and a copy of the local
//     entry put before the received one; otherwise main 1 and both become adds;
//   matter: the service wins — the local entry moves to `dropped` in state 3;
//   remark, both modifies: same text — both withdrawn; otherwise both become adds;
//   contact group, matter group, settings: the local change wins as a modify and the
//     received one is withdrawn;
//   user, reminder, bank account: never settled.
// Nothing happens when either list is empty.
void mergeChanges(SyncRecordList& local, SyncRecordList& server, SyncRecordList& dropped, const SyncBases& bases,
                  SyncClashList& clashes, int now);
// Without bases: every record settles by the kind's rule.
void mergeChanges(SyncRecordList& local, SyncRecordList& server, SyncRecordList& dropped);

// The (kind, server id) of every local modify that a received modify meets: the bases
// mergeChanges may need.
std::vector<SyncBaseKey> BasesToRead(const SyncRecordList& local, const SyncRecordList& server);

}  // namespace kivtal
