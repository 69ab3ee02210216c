#pragma once
// A capture control in a small window of its own, as the contact editor's camera page
// hosts it: a scratch user database, the test frame source and a worker that records
// the requests. Tests push frames, plug and unplug the source and click the buttons.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>
#include <string>
#include <vector>

#include "net/ContentJobs.h"
#include "store/ContentStore.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"
#include "support/TempDir.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/dialogs/capture/FakeFrameSource.h"
#include "ui/support/HomeFixture.h"
#include "ui/support/UiTestSupport.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal::test {

// The window that owns the control; it records the messages the control posts to it.
class CameraHost : public WindowImplBase {
public:
    QString GetSkinFile() const override { return QStringLiteral("CameraProbe.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("CameraProbe"); }
    CCameraUI* Camera() const { return FindControl<CCameraUI>("KivMCamera"); }

    std::vector<unsigned> messages;

protected:
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t, std::intptr_t, bool& handled) override {
        messages.push_back(number);
        handled = true;
        return 0;
    }
};

// The text of the next modal box, answered with its OK button. Call before the action.
class BoxAnswer {
public:
    // button: "btn_ok" for CTalMsgBox, "okbtn" for CMessageBox.
    explicit BoxAnswer(const QString& button = QStringLiteral("btn_ok")) {
        AnswerNextModal(button, [this](WindowImplBase& box) {
            text = ControlText(box.FindControl("contentre"));
            title = ControlText(box.FindControl("title"));
            ++answered;
        });
    }
    ~BoxAnswer() { WindowImplBase::SetModalObserver({}); }
    QString text;
    QString title;
    int answered = 0;
};

class CameraFixture : public ::testing::Test {
protected:
    CameraFixture() : store(StorePaths{dir.path() + "user/", "/nonexistent/doz2a_v3.db"}) {
        EXPECT_EQ(store.EnsureUserDb("tester"), 0);
        UploadQueue::Instance().Clear();
    }
    ~CameraFixture() override {
        CloseAllWindows();
        UploadQueue::Instance().Clear();
    }

    // Builds the host and its control; Show() starts it.
    CCameraUI& Build(WorkerLink* link = nullptr) {
        host = new CameraHost;
        EXPECT_TRUE(host->Create(nullptr, QStringLiteral("名片扫描")));
        camera = host->Camera();
        EXPECT_NE(camera, nullptr);
        auto owned = std::make_unique<FakeFrameSource>(QSize(1280, 960), 0);
        source = owned.get();
        camera->SetStore(store);
        camera->SetWorkerLink(link ? link : &worker);
        camera->SetFrameSource(std::move(owned));
        return *camera;
    }
    CCameraUI& Show() {
        host->ShowWindow(true);
        EXPECT_TRUE(PumpUntil([this] { return camera->Started(); }));
        Pump();
        return *camera;
    }
    CCameraUI& Open(WorkerLink* link = nullptr) {
        Build(link);
        return Show();
    }

    // Shoots the frame and waits until its preview is up and its picture written.
    QImage ShootFrame(QImage frame = {}) {
        if (frame.isNull()) frame = source->MakeFrame();
        camera->Shoot();
        source->PushFrame(frame);
        EXPECT_TRUE(PumpUntil([this] { return camera->ShotTaken() && !camera->PicturePath().isEmpty(); }));
        return frame;
    }
    int KeepShot() {
        ShootFrame();
        camera->Keep();
        Pump();
        return camera->Items().Items().empty() ? 0 : camera->Items().Items().back().imgId;
    }

    std::vector<std::string> CardFiles() const {
        std::vector<std::string> files;
        for (const QString& f : QDir(QString::fromStdString(dir.path() + "user/cards")).entryList(QDir::Files))
            files.push_back(f.toStdString());
        return files;
    }
    ResultTable Rows(const std::string& sql) {
        SqliteDb db;
        EXPECT_EQ(db.open(store.userDbPath()), 0);
        ResultTable t;
        EXPECT_EQ(db.query(sql, t), 0) << sql;
        return t;
    }
    void Exec(const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(store.userDbPath()), 0);
        ASSERT_EQ(db.execute(sql), 0) << sql << ": " << db.lastError();
    }

    TempDir dir;
    LocalStore store;
    FakeWorker worker;
    QPointer<CameraHost> host;
    QPointer<CCameraUI> camera;
    FakeFrameSource* source = nullptr;
};

}  // namespace kivtal::test
