#include "net/SyncRun.h"

#include <string>

#include "model/Clock.h"
#include "model/Diagnostics.h"
#include "model/SyncKinds.h"
#include "net/JobSupport.h"
#include "net/LoginUser.h"
#include "net/ReplyParsers.h"
#include "net/ServiceForms.h"
#include "net/SyncMerge.h"
#include "net/SyncUpload.h"
#include "net/WorkerMessages.h"
#include "store/ChangeLog.h"
#include "store/ServerChanges.h"
#include "store/SyncBases.h"

namespace kivtal {

namespace {

constexpr int kStoreFailure = 1;

// The receive step: the service's changes since the last sync, or a result to report.
int Receive(JobContext& ctx, int syncTime, SyncRecordList& server) {
    DebugLine("CHECK_SYNCE_URL last_synce_time:" + std::to_string(syncTime));
    const std::string reply = PostForm(ctx, kSyncReceivePath, SyncReceiveForm(ctx.user.snapshot(), syncTime),
                                       "CHECK_SYNCE_URL post:", "CHECK_SYNCE_URL::");
    if (reply.empty()) return kResultNoNetwork;
    const int code = ParseReceiveReply(reply, server);
    if (code == 0) DebugLine("sr_server_records的size:" + std::to_string(server.size()));
    return code;
}

// Calls the test seam, when there is one.
void At(const SyncStepHook& hook, SyncStep step) {
    if (hook) hook(step);
}

// The pending entries, marked as being sent in the same transaction: an edit made
// from here on is deferred and replayed after the run instead of being taken for
// acknowledged by this run's reply.
int ReadAndMarkPending(ChangeLog& log, SyncRecordList& local, const SyncStepHook& hook) {
    if (log.TakePendingForSending(local) != 0) return kStoreFailure;
    DebugLine("sr_local_records的size:" + std::to_string(local.size()));
    At(hook, SyncStep::kPendingRead);
    At(hook, SyncStep::kPendingMarked);
    return 0;
}

// The kinds whose conflicts this device wins without a base: the merge drops the
// service's change.
bool LocalWins(int kind) { return kind == OPER_CONTACT_GROUP || kind == OPER_MATTER_GROUP || kind == OPER_SETTINGS; }

// The received changes were not stored, so the next run receives them again, and by
// then this run's acknowledgement has settled the entries that were merged with them
// (or, with `localWinsToo`, beat them): they would lose. Pending again, with the bases
// they were merged against, they contest them again (a modify sent twice is harmless).
void ReopenContested(JobContext& ctx, const SyncRecordList& results, const SyncBases& bases, bool localWinsToo) {
    SyncRecordList contested;
    for (const SyncRecord& r : results)
        if ((localWinsToo && LocalWins(r.oper_code)) || bases.count({r.oper_code, r.s_server_id}))
            contested.push_back(r);
    if (!contested.empty() && ChangeLog(ctx.store).ReopenEntries(contested, bases) != 0)
        DebugLine("sync: settled conflicts not reopened");
}

// The received changes, once merged with the pending entries, and what the merge used
// and found.
struct Merged {
    SyncRecordList server;
    SyncBases bases;
    SyncClashList clashes;
};

// Records what the service accepted and writes what it sent, with the new sync time,
// in one transaction: a crash leaves both or neither, so an entry settled here never
// waits for a contesting change from the service that is not stored (a lost group
// rename). When the changes cannot be stored, the acknowledgements are stored alone:
// the service already holds the uploaded entries, so they must never go up again (an
// add sent twice is a duplicate on the service), and the old time makes the next run
// receive the same changes again.
int Settle(JobContext& ctx, const Merged& merged, const SyncRecordList& results, int serverTime,
           const SyncStepHook& hook) {
    DebugLine("dealWithServerSyncData");
    const int stored = settleSyncRun(ctx.store, results, merged.server, serverTime, merged.clashes);
    if (stored == 1) {
        DebugLine("sync: acknowledgements not stored");
        return kResultNotStored;
    }
    At(hook, SyncStep::kAcknowledged);
    if (stored == kOnlyAcknowledged) {
        DebugLine("sync: received changes not stored");
        ReopenContested(ctx, results, merged.bases, true);
        return kResultNotStored;
    }
    return stored == kStoredWithSetAside ? kResultSetAside : 0;
}

// The received changes are merged once against every pending entry, then the upload
// goes up batch by batch, and the received changes are applied in one step at the end
// with the time the service last answered.
int Exchange(JobContext& ctx, const SyncStepHook& hook) {
    ChangeLog log(ctx.store);
    int syncTime = 0;
    if (log.ReadSyncTime(syncTime) != 0) return kStoreFailure;  // 0 would receive everything again
    SyncRecordList server;
    const int received = Receive(ctx, syncTime, server);
    if (received != 0) return received;
    Merged m{std::move(server)};
    SyncRecordList local, dropped;
    if (ReadAndMarkPending(log, local, hook) != 0) return kStoreFailure;
    if (ReadSyncBases(ctx.store, BasesToRead(local, m.server), m.bases) != 0) return kStoreFailure;
    mergeChanges(local, m.server, dropped, m.bases, m.clashes, NowSeconds());
    UploadOutcome upload;
    if (const int sent = UploadEntries(ctx, local, upload, hook); sent != 0) {
        // The merged entries that went up before the failure would lose to the
        // received changes they were merged with, which the next run brings again.
        ReopenContested(ctx, upload.acknowledged, m.bases, false);
        return sent;
    }
    // The batches are acknowledged already; what stays for the last step are the
    // entries the merge withdrew, which belong with the received changes.
    const int settled = Settle(ctx, m, dropped, upload.serverTime, hook);
    if (settled == kResultNotStored) ReopenContested(ctx, upload.acknowledged, m.bases, true);
    if (settled != 0 && settled != kResultSetAside) return settled;
    // The run completed; refused entries need the user, so they are what it reports.
    return upload.refused > 0 ? kResultUploadRefused : settled;
}

}  // namespace

int runSync(JobContext& ctx, const SyncStepHook& atStep) {
    // Entries a crashed or interrupted run left marked as being sent are pending again,
    // with the edits deferred behind them.
    replayDeferredChanges(ctx.store);
    const int result = ctx.net.isNetworkAvailable() ? Exchange(ctx, atStep) : kResultNoNetwork;
    // Whatever this run did not get acknowledged goes up with the next one; edits made
    // during the run are logged again. One step, so that no save lands in between.
    At(atStep, SyncStep::kBeforeReplay);
    const bool released = replayDeferredChanges(ctx.store) == 0;
    At(atStep, SyncStep::kReleased);
    // Nothing is lost when the release fails (the next run retries it), but the edits
    // made during this run are not on their way yet: not a success.
    const bool completed = result == 0 || result == kResultSetAside;
    const int reported = completed && !released ? kResultNotStored : result;
    // What people read as "last synced"; failing to keep it loses no change.
    if (completed && released && ChangeLog(ctx.store).StoreLastSyncFinish(NowSeconds()) != 0)
        DebugLine("sync: finish time not stored");
    PostResult(ctx, WM_RES_SYNC, reported);
    return reported;
}

}  // namespace kivtal
