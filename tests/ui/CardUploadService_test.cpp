// Card capture end to end: the control, the main window as the result window, the real
// worker and its upload pass, and the reference service on loopback.
#include <QDirIterator>
#include <QFile>

#include "e2e/ServiceProcess.h"
#include "net/AccountJobs.h"
#include "net/ContentJobs.h"
#include "net/Identity.h"
#include "net/LoginUser.h"
#include "net/SyncThread.h"
#include "ui/support/CameraFixture.h"
#include "ui/toolkit/WindowRegistry.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

using test::Pump;
using test::PumpUntil;

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CardUploadService : public test::CameraFixture {
protected:
    void SetUp() override {
        ASSERT_EQ(service.op({"--add-account", "zhao", "pw-zhao"}), 0);
        ASSERT_TRUE(service.start()) << e2e::ReadFile(service.outPath());
        config.apiUrl = config.webUrl = service.url();
        config.probeHosts = {"127.0.0.1"};
        ASSERT_EQ(store.EnsureLoginDb(), 0);
        LoginUser::Instance().reset();
        LoginUser::Instance().update([](LoginUserState& s) {
            s.login_name = "zhao";
            s.password = md5Hex(md5Hex("pw-zhao"));
            s.unique_id = "capture-device";
        });
        JobContext login{
            net, store, LoginUser::Instance(), config, [](unsigned, std::intptr_t, std::intptr_t) {}, dir.path(), {}};
        ASSERT_EQ(RunLoginJob(login), 0);

        WorkerJobs jobs;
        jobs.uploadPass = [](JobContext& ctx) { RunCardUploadPass(ctx, UploadQueue::Instance()); };
        syncThread = std::make_unique<SyncThread>(WorkerSetup{net, store, LoginUser::Instance(), config, dir.path(),
                                                              MakeWindowResultPoster(), std::move(jobs)});
        link = std::make_unique<SyncThreadLink>(*syncThread);
        home = new CHomePage(store);
        home->SetWorkerLink(link.get());
        ASSERT_TRUE(home->Create(nullptr, kHomeTitle));
        home->ShowWindow(true);
        ASSERT_TRUE(PumpUntil([this] { return syncThread->resultWindow() == home->GetHandle(); }));
    }
    void TearDown() override {
        syncThread->stop();
        LoginUser::Instance().reset();
    }

    // The pictures the service has taken, by their bytes.
    std::vector<QByteArray> ServiceCards() const {
        std::vector<QByteArray> cards;
        QDirIterator it(QString::fromStdString(folder.path() + "cards"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) cards.push_back(Bytes(it.next()));
        return cards;
    }
    int StoredState(int imgId) {
        return Rows("SELECT img_state FROM tb_secretary_img WHERE img_id=" + std::to_string(imgId) + ";").integer(0, 0);
    }
    int StoredCounter() { return Rows("SELECT upload_times FROM tb_hardware_info;").integer(0, 0); }

    test::TempDir folder;
    e2e::ServiceProcess service{folder.path()};
    ServiceConfig config;
    NetUtil net{std::vector<std::string>{"127.0.0.1"}};
    std::unique_ptr<SyncThread> syncThread;
    std::unique_ptr<SyncThreadLink> link;
    QPointer<CHomePage> home;
};

TEST_F(CardUploadService, KeptCardReachesTheServiceByteForByteAndIsCounted) {
    Open(link.get());
    ShootFrame();
    const QByteArray picture = Bytes(camera->PicturePath());
    camera->Keep();
    ASSERT_EQ(camera->Items().rowCount(), 1);
    const int id = camera->Items().At(0).imgId;

    ASSERT_TRUE(PumpUntil([&] { return camera->UploadedCount() == 1; }, 10000));
    EXPECT_EQ(ServiceCards(), std::vector<QByteArray>{picture});
    EXPECT_EQ(camera->Items().rowCount(), 0);
    EXPECT_EQ(StoredState(id), 1);
    EXPECT_TRUE(PumpUntil([&] { return StoredCounter() == 1; }));
    EXPECT_TRUE(UploadQueue::Instance().Snapshot().empty());
}

TEST_F(CardUploadService, CardRefusedWhileTheServiceIsDownIsRetriedOnceItIsBack) {
    Open(link.get());
    const int port = service.port();
    service.stop();
    ShootFrame();
    camera->Keep();
    const int id = camera->Items().At(0).imgId;
    ASSERT_TRUE(PumpUntil([&] { return camera->Items().At(0).state == kItemFailed; }, 10000));
    EXPECT_EQ(StoredState(id), 2);
    EXPECT_FALSE(camera->UploadInProgress());

    ASSERT_TRUE(service.start(port));
    const QRect row = camera->List()->visualRect(camera->List()->model()->index(0, 0));
    QTest::mouseClick(camera->List()->viewport(), Qt::LeftButton, {}, UploadListView::RetryArea(row).center());
    ASSERT_TRUE(PumpUntil([&] { return camera->UploadedCount() == 1; }, 10000));
    EXPECT_EQ(ServiceCards().size(), 1u);
    EXPECT_EQ(StoredState(id), 1);
    EXPECT_TRUE(PumpUntil([&] { return StoredCounter() == 1; }));
}

TEST_F(CardUploadService, PictureDeletedByHandWhileWaitingFailsInsteadOfGoingUpEmpty) {
    test::FakeWorker held;  // the request waits here while the file disappears
    Open(&held);
    ShootFrame();
    camera->Keep();
    const int id = camera->Items().At(0).imgId;
    ASSERT_TRUE(QFile::remove(QString::fromStdString(UploadQueue::Instance().Snapshot()[0].img_path)));
    link->Post(held.requests.at(0));
    ASSERT_TRUE(PumpUntil([&] { return camera->Items().At(0).state == kItemFailed; }, 10000));
    EXPECT_TRUE(ServiceCards().empty());
    EXPECT_EQ(StoredState(id), 2);
    EXPECT_EQ(camera->UploadedCount(), 0);
}

}  // namespace
}  // namespace kivtal
