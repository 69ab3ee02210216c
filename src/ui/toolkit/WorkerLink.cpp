#include "ui/toolkit/WorkerLink.h"

#include <atomic>

#include "net/SyncThread.h"

namespace kivtal {
namespace {

std::atomic<WorkerLink*> g_appWorker{nullptr};

}  // namespace

void SyncThreadLink::Post(WorkerRequest request) { worker_.post(std::move(request)); }

void SyncThreadLink::SetResultWindow(WindowHandle window) { worker_.setResultWindow(window); }

WorkerLink* AppWorker() { return g_appWorker.load(); }

void SetAppWorker(WorkerLink* link) { g_appWorker.store(link); }

}  // namespace kivtal
