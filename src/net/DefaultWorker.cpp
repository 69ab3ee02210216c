#include "net/DefaultWorker.h"

#include <utility>

#include "net/AccountJobs.h"
#include "net/ContentJobs.h"
#include "net/ImmediateCommits.h"
#include "net/LoginUser.h"
#include "net/ServiceConfig.h"
#include "net/SyncRun.h"
#include "store/LocalStore.h"

namespace kivtal {

WorkerJobs DefaultWorkerJobs(UrlOpener openUrl) {
    WorkerJobs jobs;
    // The jobs' own results reach the windows through ctx.post; what they return is
    // only for their tests.
    jobs.sync = [](JobContext& ctx) { runSync(ctx); };
    jobs.login = RunLoginJob;
    jobs.checkVersion = RunVersionCheckJob;
    jobs.logout = RunLogoutJob;
    jobs.uploadPass = [](JobContext& ctx) { RunCardUploadPass(ctx, UploadQueue::Instance()); };
    jobs.ads = RunAdsJob;
    jobs.news = RunNewsJob;
    jobs.serverTime = RunServerTimeJob;
    jobs.commitReminderAdd = commitReminderAdd;
    jobs.commitReminderChange = commitReminderChange;
    jobs.commitProfile = commitProfile;
    jobs.commitMatterDelete = commitMatterDelete;
    jobs.openUrl = std::move(openUrl);
    return jobs;
}

WorkerSetup DefaultWorkerSetup(ResultPoster poster, UrlOpener openUrl, NetUtil& net) {
    LocalStore& store = LocalStore::Instance();
    return WorkerSetup{net,
                       store,
                       LoginUser::Instance(),
                       ServiceConfig::FromEnvironment(),
                       store.dataDir(),
                       std::move(poster),
                       DefaultWorkerJobs(std::move(openUrl)),
                       nullptr};
}

}  // namespace kivtal
