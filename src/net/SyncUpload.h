#pragma once
// The upload of a sync run. The entries go up in batches of bounded size, each
// acknowledged in its own store step as soon as the service has taken it, so that an
// upload of any size completes, and a run that dies between two batches neither loses
// an entry nor sends one twice. A batch the service refuses is halved until the
// entries it refuses are found; those are set aside with the reason
// (store/RefusedUploads.h) and the others go up.
#include <cstddef>

#include "model/Records.h"
#include "net/JobContext.h"
#include "net/SyncRun.h"

namespace kivtal {

// The bounds of one request, far under the service's body limit (64 MiB). The bytes
// count each value string three times over, as escaping may grow it that much.
inline constexpr std::size_t kUploadBatchEntries = 2000;
inline constexpr std::size_t kUploadBatchBytes = std::size_t{4} << 20;

struct UploadOutcome {
    int serverTime = 0;           // the time the last request the service took answered
    int refused = 0;              // entries the service refused, now set aside
    SyncRecordList acknowledged;  // the service's results, every batch's
};

// Sends `entries` in their order (a parent before its children), at least one request
// even when there is nothing to send, so that a time comes back. Returns 0 when every
// entry was taken or set aside; kResultNoNetwork when a request got no usable reply;
// the service's code when it refused a request as a whole (a key it does not accept,
// its own failure); kResultNotStored when an acknowledgement or a refusal could not be
// stored. What was acknowledged before a failure stays acknowledged; the entries not
// yet taken are still being sent, and the run lets go of them.
int UploadEntries(JobContext& ctx, const SyncRecordList& entries, UploadOutcome& out, const SyncStepHook& hook);

}  // namespace kivtal
