#pragma once
// A main window over a scratch user database, with a fake worker that records what the
// window asks of it and an opener that records the pages it opens.
#include <gtest/gtest.h>

#include <QPointer>
#include <QUrl>
#include <string>
#include <vector>

#include "net/LoginUser.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"
#include "support/TempDir.h"
#include "ui/main/HomePage.h"
#include "ui/support/UiTestSupport.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal::test {

class FakeWorker : public WorkerLink {
public:
    void Post(WorkerRequest request) override { requests.push_back(std::move(request)); }
    void SetResultWindow(WindowHandle window) override { resultWindow = window; }

    int Count(unsigned message) const {
        int n = 0;
        for (const WorkerRequest& r : requests) n += r.message == message;
        return n;
    }

    std::vector<WorkerRequest> requests;
    WindowHandle resultWindow = 0;
};

inline const QString kTestWebSite = QStringLiteral("http://127.0.0.1:9/");

class HomeFixture : public ::testing::Test {
protected:
    HomeFixture() : store(StorePaths{dir.path() + "user", "/nonexistent/doz2a_v3.db"}) {
        EXPECT_EQ(store.EnsureUserDb("tester"), 0);
        LoginUser::Instance().reset();
        LoginUser::Instance().update([](LoginUserState& s) { s.login_name = "tester"; });
    }
    ~HomeFixture() override {
        CloseAllWindows();
        LoginUser::Instance().reset();
    }

    // Creates the window and shows it; returns once it has initialised.
    CHomePage& Open() {
        home = new CHomePage(store);
        home->SetWorkerLink(&worker);
        home->SetUrlOpener([this](const QUrl& url) { opened.push_back(url.toString()); });
        home->SetWebSite(kTestWebSite);
        home->SetTrayProbe([this] { return trayShown; });
        EXPECT_TRUE(home->Create(nullptr, kHomeTitle));
        home->ShowWindow(true);
        EXPECT_TRUE(PumpUntil([this] { return worker.resultWindow == home->GetHandle(); }));
        Pump();
        return *home;
    }

    void Exec(const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(store.userDbPath()), 0);
        ASSERT_EQ(db.execute(sql), 0) << sql << ": " << db.lastError();
    }

    TempDir dir;
    LocalStore store;
    FakeWorker worker;
    std::vector<QString> opened;
    bool trayShown = true;  // the headless test desktop has none; most tests assume one
    QPointer<CHomePage> home;
};

}  // namespace kivtal::test
