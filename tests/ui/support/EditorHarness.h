#pragma once
// The matter editor against the real service: a device (store, transport, login) with
// the program's own worker, and a script that answers the editor's message boxes while
// recording what they said. The busy notice is left to the editor; one that stays open
// too long is closed and counted, so a hung flow fails instead of hanging the suite.
#include <gtest/gtest.h>

#include <QPointer>
#include <QTimer>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "e2e/CoreDevice.h"
#include "e2e/ServiceProcess.h"
#include "net/DefaultWorker.h"
#include "net/LoginUser.h"
#include "net/SyncRun.h"
#include "net/SyncThread.h"
#include "store/LocalStore.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/support/UiTestSupport.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/WindowRegistry.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal::test {

class BoxScript {
public:
    BoxScript() {
        WindowImplBase::SetModalObserver([this](WindowImplBase& w) { OnModal(w); });
    }
    ~BoxScript() { WindowImplBase::SetModalObserver({}); }
    BoxScript(const BoxScript&) = delete;
    BoxScript& operator=(const BoxScript&) = delete;

    // The next questions' answers in order; questions beyond them are answered OK.
    void Answer(std::initializer_list<bool> ok) { answers_.insert(answers_.end(), ok); }
    std::vector<std::string> texts;
    int stuckNotices = 0;

private:
    void OnModal(WindowImplBase& w) {
        if (w.GetWindowClassName() == u"LoginMsgBox") {
            QPointer<WindowImplBase> notice(&w);
            QTimer::singleShot(20000, &w, [this, notice] {
                if (!notice || notice->IsClosing()) return;
                ++stuckNotices;
                notice->Close(1);
            });
            return;
        }
        if (w.GetWindowClassName() != u"KivTalMessageBox") return;
        texts.push_back(ControlText(w.FindControl("contentre")).toStdString());
        QWidget* two = w.FindControl("IDOKCANCEL");
        bool ok = true;
        if (!answers_.empty() && two && two->isVisibleTo(&w)) {
            ok = answers_.front();
            answers_.pop_front();
        }
        const bool isQuestion = two && two->isVisibleTo(&w);
        ClickControl(w, isQuestion ? (ok ? "_btn_ok" : "_btn_cancel") : "btn_ok");
    }

    std::deque<bool> answers_;
};

// A device of the end-to-end tests with the program's own worker over it, results
// going to the windows.
class EditorDevice {
public:
    EditorDevice(std::string uniqueId, const std::string& apiUrl) : core_(std::move(uniqueId), apiUrl) {}

    // Makes this device the process's signed-in one.
    int Login(const std::string& name, const std::string& password) {
        const int rc = core_.login(name, password);
        EXPECT_EQ(core_.store().EnsureUserDb(name), 0);
        return rc;
    }
    int Sync() {
        JobContext ctx = core_.context();
        return runSync(ctx);
    }
    JobContext Context() { return core_.context(); }
    LocalStore& store() { return core_.store(); }

    WorkerLink& Worker() {
        if (!worker_) {
            JobContext ctx = core_.context();
            worker_ =
                std::make_unique<SyncThread>(WorkerSetup{ctx.net, ctx.store, ctx.user, ctx.config, core_.folder(),
                                                         MakeWindowResultPoster(), DefaultWorkerJobs({}), nullptr});
            link_ = std::make_unique<SyncThreadLink>(*worker_);
        }
        return *link_;
    }
    void StopWorker() {
        if (worker_) worker_->stop();
    }

private:
    e2e::CoreDevice core_;
    std::unique_ptr<SyncThread> worker_;
    std::unique_ptr<SyncThreadLink> link_;
};

}  // namespace kivtal::test
