// The capture control on a real window with the test frame source: the scanner
// missing, lost and back; shoot, retake and keep; the upload list with its progress,
// failures, retry, delete and the uploaded counter; the pictures on disk.
#include <QFile>
#include <QRegularExpression>
#include <QWheelEvent>
#include <QScrollBar>

#include "ui/support/CameraFixture.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

using test::BoxAnswer;
using test::CameraFixture;
using test::Pump;
using test::PumpUntil;

bool LiveShown(CCameraUI& camera) {
    QWidget* live = camera.findChild<QWidget*>("CameraWnd");
    return live && live->isVisible();
}

// Mean absolute difference per channel of two pictures of one size (JPEG is lossy).
double Difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); row += 7) {
        for (int col = 0; col < x.width(); col += 7) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * ((x.height() + 6) / 7) * ((x.width() + 6) / 7));
}

void ClickItemPart(CCameraUI& camera, int row, bool retry) {
    UploadListView* list = camera.List();
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    const QPoint at = (retry ? UploadListView::RetryArea(rect) : UploadListView::DeleteArea(rect)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

// --- The scanner ---

TEST_F(CameraFixture, MissingScannerIsToldAndEveryButtonAnswersWithTheMissingBox) {
    Build();
    source->SetScannerPresent(false);
    BoxAnswer notConnected;
    Show();
    EXPECT_EQ(notConnected.text, kScannerNotConnected);
    EXPECT_FALSE(camera->DeviceAvailable());
    EXPECT_FALSE(LiveShown(*camera));

    BoxAnswer missing(QStringLiteral("okbtn"));
    QTest::mouseClick(camera->findChild<QWidget*>("camera_shoot"), Qt::LeftButton);
    EXPECT_EQ(missing.text, kScannerMissing);
    EXPECT_FALSE(camera->Shooting());

    // Plugged in later: the live picture starts without user action.
    source->Plug();
    Pump();
    EXPECT_TRUE(camera->DeviceAvailable());
    EXPECT_TRUE(LiveShown(*camera));
}

TEST_F(CameraFixture, ScannerThatCannotBeOpenedIsReportedToTheOwner) {
    Build();
    source->SetOpenFails(true);
    BoxAnswer failed(QStringLiteral("okbtn"));
    Show();
    EXPECT_EQ(failed.text, kScannerOpenFailed);
    EXPECT_TRUE(PumpUntil([&] { return !host->messages.empty(); }));
    EXPECT_EQ(host->messages, std::vector<unsigned>{WM_CAM_LOST});
    EXPECT_FALSE(camera->DeviceAvailable());
}

TEST_F(CameraFixture, UnpluggedAndReplugedScannerComesBackLive) {
    Open();
    ASSERT_TRUE(LiveShown(*camera));
    const int runs = source->RunCount();
    {
        BoxAnswer lost(QStringLiteral("okbtn"));
        source->Unplug();
        EXPECT_EQ(lost.text, kScannerMissing);
    }
    EXPECT_FALSE(camera->DeviceAvailable());
    EXPECT_FALSE(LiveShown(*camera));
    EXPECT_TRUE(PumpUntil([&] { return !host->messages.empty(); }));
    EXPECT_EQ(host->messages.back(), WM_CAM_LOST);

    source->Plug();
    Pump();
    EXPECT_TRUE(camera->DeviceAvailable());
    EXPECT_TRUE(LiveShown(*camera));
    EXPECT_GT(source->RunCount(), runs);
    ShootFrame();  // and it takes pictures again
    EXPECT_TRUE(camera->ShotTaken());
}

// --- Shoot, retake, keep ---

// A picture unlike the source's own card, so the saved file can only be this frame.
QImage Gradient() {
    QImage image(1280, 960, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = qRgb(x * 255 / 1280, y * 255 / 960, 128);
    }
    return image;
}

TEST_F(CameraFixture, ShootKeepStoresTheShownFrameAndQueuesIt) {
    Open();
    const QImage frame = ShootFrame(Gradient());
    EXPECT_EQ(camera->Preview(), frame);  // the preview is the grabbed frame itself
    EXPECT_FALSE(source->Running());      // held while the preview is up
    const QString path = camera->PicturePath();
    EXPECT_TRUE(QRegularExpression("/cards/[0-9A-F]{8}-[0-9A-F]{4}-[0-9a-f]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.jpg$")
                    .match(path)
                    .hasMatch())
        << path.toStdString();
    EXPECT_EQ(QFile::permissions(QString::fromStdString(dir.path() + "user/cards")) & 0077, 0);

    QTest::mouseClick(camera->findChild<QWidget*>("camera_keep"), Qt::LeftButton);
    Pump();
    // Stored, mirrored, requested, listed, and live again.
    const ResultTable rows = Rows("SELECT img_id, img_path, img_state FROM tb_secretary_img;");
    ASSERT_EQ(rows.rows(), 1);
    EXPECT_EQ(rows.text(0, 1), path.toStdString());
    EXPECT_EQ(rows.integer(0, 2), 0);
    const SecretaryImgList queued = UploadQueue::Instance().Snapshot();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0], (SecretaryImg{rows.integer(0, 0), path.toStdString(), 0}));
    EXPECT_EQ(worker.Count(WM_REQ_SECRETARY_UPLOAD), 1);
    ASSERT_EQ(camera->Items().rowCount(), 1);
    EXPECT_EQ(camera->Items().At(0).imgId, rows.integer(0, 0));
    EXPECT_FALSE(camera->ShotTaken());
    EXPECT_TRUE(LiveShown(*camera));
    EXPECT_TRUE(source->Running());

    // The file is the frame that was shown.
    const QImage saved(path);
    ASSERT_EQ(saved.size(), frame.size());
    EXPECT_LT(Difference(saved, frame), 4.0);
    EXPECT_GT(Difference(saved, source->MakeFrame()), 20.0);  // not the frame before or after
}

TEST_F(CameraFixture, LaterFramesDoNotChangeTheShotOrItsFile) {
    Open();
    const QImage frame = ShootFrame();
    const QString path = camera->PicturePath();
    const QByteArray bytes = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    source->Run();  // a device that keeps sending frames while the preview is up
    for (int i = 0; i < 3; ++i) source->PushFrame(QImage(1280, 960, QImage::Format_RGB32));
    Pump();
    EXPECT_EQ(camera->Preview(), frame);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
}

TEST_F(CameraFixture, RetakeDropsTheUnkeptPictureAndGoesLive) {
    Open();
    ShootFrame();
    ASSERT_EQ(CardFiles().size(), 1u);
    QTest::mouseClick(camera->findChild<QWidget*>("camera_retake"), Qt::LeftButton);
    EXPECT_TRUE(PumpUntil([&] { return !camera->ShotTaken(); }, 4000));
    EXPECT_TRUE(CardFiles().empty());
    EXPECT_TRUE(LiveShown(*camera));
    EXPECT_EQ(camera->Items().rowCount(), 0);
    EXPECT_EQ(Rows("SELECT count(*) FROM tb_secretary_img;").integer(0, 0), 0);
}

TEST_F(CameraFixture, KeepAfterTheScannerWasUnpluggedIsRefused) {
    Open();
    ShootFrame();
    {
        BoxAnswer lost(QStringLiteral("okbtn"));
        source->Unplug();
    }
    BoxAnswer refused(QStringLiteral("okbtn"));
    camera->Keep();
    EXPECT_EQ(refused.text, kScannerMissing);
    EXPECT_EQ(Rows("SELECT count(*) FROM tb_secretary_img;").integer(0, 0), 0);
    EXPECT_TRUE(UploadQueue::Instance().Snapshot().empty());
    EXPECT_TRUE(camera->ShotTaken());  // the preview stays for when the scanner is back
}

// A picture is queued with its file or not at all.
TEST_F(CameraFixture, FailedStoreInsertLeavesNoFileAndNoEntry) {
    Open();
    Exec("CREATE TRIGGER no_cards BEFORE INSERT ON tb_secretary_img BEGIN SELECT RAISE(ABORT,'full'); END;");
    ShootFrame();
    BoxAnswer failed;
    camera->Keep();
    EXPECT_EQ(failed.text, kPictureAddFailed);
    EXPECT_TRUE(CardFiles().empty());
    EXPECT_TRUE(UploadQueue::Instance().Snapshot().empty());
    EXPECT_EQ(camera->Items().rowCount(), 0);
    EXPECT_EQ(worker.Count(WM_REQ_SECRETARY_UPLOAD), 0);
    EXPECT_TRUE(LiveShown(*camera));
}

TEST_F(CameraFixture, PictureRemovedBeforeKeepIsNotQueued) {
    Open();
    ShootFrame();
    ASSERT_TRUE(QFile::remove(camera->PicturePath()));
    BoxAnswer failed;
    camera->Keep();
    EXPECT_EQ(failed.text, kPictureAddFailed);
    EXPECT_EQ(Rows("SELECT count(*) FROM tb_secretary_img;").integer(0, 0), 0);
    EXPECT_TRUE(UploadQueue::Instance().Snapshot().empty());
}

TEST_F(CameraFixture, ClosingRemovesTheUnkeptShotAndKeepsTheQueuedOnes) {
    Open();
    KeepShot();
    const std::vector<std::string> kept = CardFiles();
    ASSERT_EQ(kept.size(), 1u);
    ShootFrame();
    ASSERT_EQ(CardFiles().size(), 2u);
    host->Close(1);
    Pump();
    EXPECT_TRUE(camera.isNull());
    EXPECT_EQ(CardFiles(), kept);
}

TEST_F(CameraFixture, ClosingRightAfterAKeepLeavesThePictureForItsUpload) {
    Open();
    KeepShot();
    const std::vector<std::string> kept = CardFiles();
    host->Close(1);
    Pump();
    EXPECT_EQ(kept.size(), 1u);
    EXPECT_EQ(CardFiles(), kept);
}

TEST_F(CameraFixture, UnpluggedBeforeTheShotArrivesCancelsIt) {
    Open();
    camera->Shoot();
    {
        BoxAnswer lost(QStringLiteral("okbtn"));
        source->Unplug();
    }
    EXPECT_FALSE(camera->Shooting());
    source->Plug();
    Pump();
    EXPECT_TRUE(LiveShown(*camera));
    ShootFrame();
    EXPECT_TRUE(camera->ShotTaken());
}

// --- The upload list ---

TEST_F(CameraFixture, UploadedItemsLeaveTheListAndCountOnceEach) {
    Exec("UPDATE tb_hardware_info SET upload_times=5;");
    Open();
    EXPECT_EQ(ControlText(camera->findChild<QWidget*>("camera_uploaded")), "已上传5张");
    const int first = KeepShot();
    const int second = KeepShot();
    EXPECT_TRUE(camera->UploadInProgress());
    EXPECT_TRUE(PumpUntil([&] { return camera->Items().At(1).progress == 100; }, 4000));
    // Both finish inside one counter animation: neither is lost.
    camera->SetItemState(first, kItemUploaded);
    camera->SetItemState(second, kItemUploaded);
    EXPECT_TRUE(PumpUntil([&] { return camera->UploadedCount() == 7; }, 4000));
    EXPECT_EQ(camera->Items().rowCount(), 0);
    EXPECT_FALSE(camera->UploadInProgress());
    EXPECT_EQ(ControlText(camera->findChild<QWidget*>("camera_uploaded")), "已上传7张");
    EXPECT_TRUE(PumpUntil([&] { return Rows("SELECT upload_times FROM tb_hardware_info;").integer(0, 0) == 7; }));
}

TEST_F(CameraFixture, UploadStillClimbingInTheCounterIsStoredWhenTheEditorCloses) {
    Open();
    const int id = KeepShot();
    EXPECT_TRUE(PumpUntil([&] { return camera->Items().At(0).progress == 100; }, 4000));
    camera->SetItemState(id, kItemUploaded);
    EXPECT_TRUE(PumpUntil([&] { return camera->Items().rowCount() == 0; }, 4000));
    host->Close(1);
    Pump();
    EXPECT_EQ(Rows("SELECT upload_times FROM tb_hardware_info;").integer(0, 0), 1);
}

TEST_F(CameraFixture, FailedItemStaysUntilRetriedAndRetryQueuesItAgain) {
    Open();
    const int id = KeepShot();
    // What the upload pass does to a picture the service refused.
    UploadQueue::Instance().SetState(id, UploadQueue::kFailed);
    Exec("UPDATE tb_secretary_img SET img_state=2;");
    camera->SetItemState(id, kItemFailed);
    Pump();
    EXPECT_EQ(UploadListModel::ItemText(camera->Items().At(0)), QStringLiteral("名片 %1 上传失败").arg(id));
    EXPECT_FALSE(camera->UploadInProgress());

    ClickItemPart(*camera, 0, true);
    EXPECT_EQ(camera->Items().At(0).state, kItemWaiting);
    EXPECT_EQ(UploadQueue::Instance().Snapshot()[0].img_state, UploadQueue::kWaiting);
    EXPECT_EQ(Rows("SELECT img_state FROM tb_secretary_img;").integer(0, 0), 0);
    EXPECT_EQ(worker.Count(WM_REQ_SECRETARY_UPLOAD), 2);
}

TEST_F(CameraFixture, RetryOfAPictureThatIsNotFailedIsRefused) {
    Open();
    const int id = KeepShot();
    camera->SetItemState(id, kItemFailed);  // shown failed, but still waiting in the queue
    BoxAnswer refused;
    ClickItemPart(*camera, 0, true);
    EXPECT_EQ(refused.text, kRetryRefused);
    EXPECT_EQ(worker.Count(WM_REQ_SECRETARY_UPLOAD), 1);
}

TEST_F(CameraFixture, DeleteTakesTheItemOutOfListAndQueue) {
    Open();
    KeepShot();
    const int kept = KeepShot();
    ClickItemPart(*camera, 0, false);
    ASSERT_EQ(camera->Items().rowCount(), 1);
    EXPECT_EQ(camera->Items().At(0).imgId, kept);
    ASSERT_EQ(UploadQueue::Instance().Snapshot().size(), 1u);
    EXPECT_EQ(UploadQueue::Instance().Snapshot()[0].img_id, kept);
    EXPECT_EQ(camera->UploadedCount(), 0);  // deleting is not uploading
}

TEST_F(CameraFixture, WheelScrollsTheListOnlyBeyondThreeItems) {
    Open();
    for (int i = 0; i < 3; ++i) KeepShot();
    UploadListView* list = camera->List();
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(20, 20), list->viewport()->mapToGlobal(QPointF(20, 20)), {}, {0, delta}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(list->viewport(), &e);
    };
    list->verticalScrollBar()->setValue(0);
    wheel(-120);
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
    for (int i = 0; i < 3; ++i) KeepShot();
    list->verticalScrollBar()->setValue(0);
    wheel(-120);
    EXPECT_EQ(list->verticalScrollBar()->value(), UploadListView::kWheelStep);
    wheel(120);
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
}

TEST_F(CameraFixture, PicturesStillQueuedAppearWhenTheControlOpensAgain) {
    Open();
    const int id = KeepShot();
    UploadQueue::Instance().SetState(id, UploadQueue::kFailed);
    host->Close(1);
    Pump();
    Open();
    ASSERT_EQ(camera->Items().rowCount(), 1);
    EXPECT_EQ(camera->Items().At(0).imgId, id);
    EXPECT_EQ(camera->Items().At(0).state, kItemFailed);
}

}  // namespace
}  // namespace kivtal
