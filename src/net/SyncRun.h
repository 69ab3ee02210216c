#pragma once
// One two-way synchronisation run: receive the service's changes since the last sync
// time, settle conflicts with the pending local entries, upload those, record the
// acknowledgements, then write the received changes together with the new sync time.
#include "net/JobContext.h"

namespace kivtal {

// Posts WM_RES_SYNC and returns what it posted: 0, -200 (offline, or no usable reply
// from either request), the service's error code from the receive step, or 1 when the
// store could not be read. The busy flag belongs to the worker that starts the run.
int runSync(JobContext& ctx);

}  // namespace kivtal
