#pragma once
// The network worker as the program runs it: every request kind wired to its real job,
// and the process's transport, store, service address and clock.
#include <functional>
#include <string>

#include "net/NetUtil.h"
#include "net/ResultPoster.h"
#include "net/SyncThread.h"
#include "net/WorkerRequest.h"

namespace kivtal {

// Shows a page of the service's site; the window layer hands it to the desktop.
using UrlOpener = std::function<void(const std::string& address)>;

// The jobs of every request: the sync run, login, version check, logout, the card
// upload pass over the process's upload queue, advertisements, news, the server time
// and the four immediate commits.
WorkerJobs DefaultWorkerJobs(UrlOpener openUrl);

// A worker set-up over NetUtil::Instance() (or `net`, for a transport whose probe
// differs), LocalStore::Instance(), LoginUser::Instance(), the service of the environment, downloads into the
// store's data folder, and the process clock (the system clock unless a test installed
// another).
WorkerSetup DefaultWorkerSetup(ResultPoster poster, UrlOpener openUrl, NetUtil& net = NetUtil::Instance());

}  // namespace kivtal
