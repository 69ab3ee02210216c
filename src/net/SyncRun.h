#pragma once
// One two-way synchronisation run: receive the service's changes since the last sync
// time, settle conflicts with the pending local entries, upload those in batches, each
// acknowledged as it lands, then write the received changes together with the new
// sync time.
#include <functional>

#include "net/JobContext.h"

namespace kivtal {

// The moments between the run's store steps at which the user may edit. A test seam:
// the program passes no hook. Marking follows reading in the same transaction, and
// releasing follows nothing but the replay, so both pairs name one moment each, seen
// from either side.
enum class SyncStep {
    kPendingRead,    // the pending entries were read ...
    kPendingMarked,  // ... and marked as being sent
    kUploaded,       // the service answered an upload request (once per batch)
    kAcknowledged,   // its acknowledgements are stored, with the received changes when they could be
    kBeforeReplay,   // the exchange is over; the log is still held
    kReleased,       // entries let go and deferred edits logged again
};
using SyncStepHook = std::function<void(SyncStep)>;

// A sync run stored the service's answer except a received change that failed once
// too often for good: it was set aside (listed for people to retry or discard), and
// later runs try it again.
inline constexpr int kResultSetAside = -301;

// Posts WM_RES_SYNC and returns what it posted: 0, -200 (offline, or no usable reply
// to a request), the service's error code when it refused the receive or an upload
// request as a whole, 1 when the store could not be read, kResultNotStored when the
// service's answer could not be stored (acknowledgements, refusals or received
// changes; the next run retries them), kResultSetAside when a received change was set
// aside and the rest stored, or kResultUploadRefused when the run completed but the
// service refused some uploaded entries, now set aside. The busy flag belongs to the
// worker that starts the run.
int runSync(JobContext& ctx, const SyncStepHook& atStep = {});

}  // namespace kivtal
