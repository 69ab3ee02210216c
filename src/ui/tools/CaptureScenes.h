#pragma once
// The capture control's scenes for kivtal-screens: the control on a page of its own
// with the test frame source: no scanner, the live picture, the preview after a shot,
// and the upload list with failed, uploading and waiting pictures.
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <functional>
#include <vector>

#include "net/ContentJobs.h"
#include "store/ContentStore.h"
#include "store/LocalStore.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/dialogs/capture/FakeFrameSource.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal::screens {

enum class CaptureScene { NoScanner, Live, Preview, Uploads };

inline LocalStore& CaptureStore() {
    static QTemporaryDir dir;
    static LocalStore store(StorePaths{dir.path().toStdString() + "/user/", "/nonexistent/doz2a_v3.db"});
    static const bool made = [] {
        store.EnsureUserDb("demo");
        ContentStore(store).SetUploadCounter(12);
        return true;
    }();
    (void)made;
    return store;
}

inline void WaitFor(const std::function<bool()>& done, const std::function<void()>& settle) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) settle();
}

inline void ShootOnce(CCameraUI& camera, FakeFrameSource& source, const std::function<void()>& settle) {
    camera.Shoot();
    source.PushFrame(source.MakeFrame());
    WaitFor([&] { return camera.ShotTaken() && !camera.PicturePath().isEmpty(); }, settle);
}

inline std::vector<QWidget*> ShowCapture(CaptureScene scene, const std::function<void()>& settle) {
    UploadQueue::Instance().Clear();
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("capture_page"));
    page->setWindowTitle(QStringLiteral("名片扫描"));
    page->setStyleSheet(QStringLiteral("#capture_page { background:#ffffff; }"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    auto* camera = new CCameraUI(page);
    auto source = std::make_unique<FakeFrameSource>(QSize(1280, 960), scene == CaptureScene::Live ? 66 : 0);
    FakeFrameSource* fake = source.get();
    fake->SetScannerPresent(scene != CaptureScene::NoScanner);
    camera->SetStore(CaptureStore());
    camera->SetFrameSource(std::move(source));
    layout->addWidget(camera);
    page->resize(700, 460);
    page->move(40, 40);
    // The missing-scanner box is modal; answer it here and show the same box again
    // below without blocking, over the page.
    WindowImplBase::SetModalObserver([](WindowImplBase& box) {
        WindowImplBase::SetModalObserver({});
        box.Close(1);
    });
    page->show();
    WaitFor([&] { return camera->Started(); }, settle);
    settle();
    WindowImplBase::SetModalObserver({});
    std::vector<QWidget*> windows{page};
    if (scene == CaptureScene::NoScanner) {
        ShowTalMsgBox(QString(), nullptr, kScannerNotConnected);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<CTalMsgBox*>(w);
            if (box && box->isVisible()) {
                box->move(page->geometry().center() - QPoint(box->width() / 2, box->height() / 2));
                windows.push_back(box);
            }
        }
    } else if (scene == CaptureScene::Live) {
        settle();
        settle();
    } else if (scene == CaptureScene::Preview) {
        ShootOnce(*camera, *fake, settle);
    } else if (scene == CaptureScene::Uploads) {
        for (int i = 0; i < 4; ++i) {
            ShootOnce(*camera, *fake, settle);
            camera->Keep();
        }
        // A shot the camera did not keep in time leaves no item to mark: the scene then
        // shows the shots it has rather than crash the whole run.
        if (const auto& items = camera->Items().Items(); !items.empty())
            camera->SetItemState(items.front().imgId, kItemFailed);
        fake->PushFrame(fake->MakeFrame());
    }
    settle();
    return windows;
}

}  // namespace kivtal::screens
