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

#include "e2e/ServiceProcess.h"
#include "net/AccountJobs.h"
#include "net/DefaultWorker.h"
#include "net/Identity.h"
#include "net/LoginUser.h"
#include "net/SyncRun.h"
#include "net/SyncThread.h"
#include "store/LocalStore.h"
#include "support/TempDir.h"
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

// One data folder signed in to the service.
class EditorDevice {
public:
    EditorDevice(std::string uniqueId, const std::string& apiUrl)
        : uniqueId_(std::move(uniqueId)), store_(StorePaths{dir_.path() + "user/", "/nonexistent/doz2a_v3.db"}) {
        config_.apiUrl = apiUrl;
        config_.webUrl = apiUrl;
        config_.probeHosts = {"127.0.0.1"};
    }

    // Makes this device the process's signed-in one.
    int Login(const std::string& name, const std::string& password) {
        EXPECT_EQ(store_.EnsureLoginDb(), 0);
        LoginUser::Instance().reset();
        LoginUser::Instance().update([&](LoginUserState& s) {
            s.login_name = name;
            s.password = md5Hex(md5Hex(password));
            s.unique_id = uniqueId_;
        });
        JobContext ctx = Context();
        const int rc = RunLoginJob(ctx);
        EXPECT_EQ(store_.EnsureUserDb(name), 0);
        return rc;
    }

    int Sync() {
        JobContext ctx = Context();
        return runSync(ctx);
    }

    JobContext Context() { return JobContext{net_, store_, config_, [](unsigned, std::intptr_t, std::intptr_t) {}, dir_.path(), {}}; }

    // The program's worker over this device, results to the windows.
    WorkerLink& Worker() {
        if (!worker_) {
            worker_ = std::make_unique<SyncThread>(
                WorkerSetup{net_, store_, config_, dir_.path(), MakeWindowResultPoster(), DefaultWorkerJobs({}), nullptr});
            link_ = std::make_unique<SyncThreadLink>(*worker_);
        }
        return *link_;
    }
    void StopWorker() {
        if (worker_) worker_->stop();
    }

    LocalStore& store() { return store_; }

private:
    TempDir dir_;
    std::string uniqueId_;
    LocalStore store_;
    NetUtil net_{std::vector<std::string>{"127.0.0.1"}};
    ServiceConfig config_;
    std::unique_ptr<SyncThread> worker_;
    std::unique_ptr<SyncThreadLink> link_;
};

}  // namespace kivtal::test
