#pragma once
// Conflict settlement between the local entries waiting to go up and the changes the
// service sent down, before the upload. Works on the lists in place; the store is not
// touched.
#include "model/Records.h"

namespace kivtal {

// For each local entry in order, the first received entry of the same kind naming the
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
void mergeChanges(SyncRecordList& local, SyncRecordList& server, SyncRecordList& dropped);

}  // namespace kivtal
