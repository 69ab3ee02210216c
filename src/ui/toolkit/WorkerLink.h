#pragma once
// The windows' way to the network worker: an interface, so that window tests record
// the requests with a fake while the program forwards them to its SyncThread. The
// start-up routine installs the process's link; windows that find none drop their
// requests.
#include "net/ResultPoster.h"
#include "net/WorkerRequest.h"

namespace kivtal {

class SyncThread;

class WorkerLink {
public:
    virtual ~WorkerLink() = default;
    // Any thread.
    virtual void Post(WorkerRequest request) = 0;
    // Results of jobs that post from now on go to window.
    virtual void SetResultWindow(WindowHandle window) = 0;
};

// Forwards to a running worker, which must outlive the link.
class SyncThreadLink : public WorkerLink {
public:
    explicit SyncThreadLink(SyncThread& worker) : worker_(worker) {}
    void Post(WorkerRequest request) override;
    void SetResultWindow(WindowHandle window) override;

private:
    SyncThread& worker_;
};

// The process's link; nullptr until the start-up routine installs one (and after it
// removed it again, before the worker stops).
WorkerLink* AppWorker();
// nullptr removes. The link must stay alive while installed.
void SetAppWorker(WorkerLink* link);

}  // namespace kivtal
