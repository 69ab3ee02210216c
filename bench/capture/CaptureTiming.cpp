// Times card capture and prints the figures: shot to preview for a 1280x960 frame, the
// longest UI-thread stall while the kept picture is encoded, one 500 KB upload to the
// reference service on loopback, and 50 waiting cards uploaded through the real worker
// while the window keeps its event loop turning. Runs offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "../ui/StallMeter.h"
#include "e2e/ServiceProcess.h"
#include "net/AccountJobs.h"
#include "net/ContentJobs.h"
#include "net/Identity.h"
#include "net/LoginUser.h"
#include "net/ServiceForms.h"
#include "net/SyncThread.h"
#include "store/ContentStore.h"
#include "support/TempDir.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/dialogs/capture/CardPicture.h"
#include "ui/dialogs/capture/CardUploads.h"
#include "ui/dialogs/capture/FakeFrameSource.h"
#include "ui/main/HomePage.h"
#include "ui/StandardControls.h"
#include "ui/toolkit/WindowRegistry.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

using bench::TimedApp;

TimedApp* App() { return static_cast<TimedApp*>(QCoreApplication::instance()); }

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

using bench::StallMeter;

struct Summary {
    double median, worst;
};

Summary Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

// Noise keeps the JPEG large: about 500 KB at this size and quality.
QString WriteNoisyCard(const QString& path, QSize size, int quality) {
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 rnd(1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = qRgb(rnd() % 256, rnd() % 256, rnd() % 256);
    }
    QImageWriter writer(path, "jpg");
    writer.setQuality(quality);
    writer.write(image);
    return path;
}

struct Fixture {
    Fixture() : store(StorePaths{dir.path() + "user/", "/nonexistent/doz2a_v3.db"}) {
        store.EnsureUserDb("bench");
        service.op({"--add-account", "bench", "pw-bench"});
        service.start();
        config.apiUrl = config.webUrl = service.url();
        config.probeHosts = {"127.0.0.1"};
        store.EnsureLoginDb();
        LoginUser::Instance().update([](LoginUserState& s) {
            s.login_name = "bench";
            s.password = md5Hex(md5Hex("pw-bench"));
            s.unique_id = "bench-device";
        });
        JobContext login{
            net, store, LoginUser::Instance(), config, [](unsigned, std::intptr_t, std::intptr_t) {}, dir.path(), {}};
        loggedIn = RunLoginJob(login) == 0;
    }
    ~Fixture() { service.stop(); }

    test::TempDir dir;
    test::TempDir serviceDir;
    LocalStore store;
    e2e::ServiceProcess service{serviceDir.path()};
    ServiceConfig config;
    NetUtil net{std::vector<std::string>{"127.0.0.1"}};
    bool loggedIn = false;
};

struct Page {
    Page(Fixture& f, WorkerLink* link, int frameIntervalMs = 66) {
        widget.resize(700, 460);
        auto* layout = new QVBoxLayout(&widget);
        camera = new CCameraUI(&widget);
        auto owned = std::make_unique<FakeFrameSource>(QSize(1280, 960), frameIntervalMs);
        source = owned.get();
        camera->SetStore(f.store);
        camera->SetWorkerLink(link);
        camera->SetFrameSource(std::move(owned));
        layout->addWidget(camera);
        widget.show();
        PumpUntil([this] { return camera->Started(); });
    }
    QWidget widget;
    CCameraUI* camera = nullptr;
    FakeFrameSource* source = nullptr;
};

// A photograph-like frame: noise makes the JPEG encoder work as hard as on a real card.
QImage NoisyFrame(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 rnd(2);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x / 5 + rnd() % 24, y / 4 + rnd() % 24, 120 + rnd() % 24);
    }
    return image;
}

// The frame is pushed right after the shutter; a camera adds up to one frame
// interval before its next frame (33 ms at 30 fps, 66 ms at 15 fps).
void ShotFigures(Fixture& f) {
    Page page(f, nullptr, 0);
    const QImage frame = NoisyFrame({1280, 960});
    StallMeter stall;
    std::vector<double> toPreview, encodingStall, shootCall;
    for (int i = 0; i < 20; ++i) {
        PumpUntil([&] { return page.camera->Preview().isNull() && !page.camera->Shooting(); });
        QElapsedTimer clock;
        stall.Start();
        clock.start();
        page.camera->Shoot();
        shootCall.push_back(clock.nsecsElapsed() / 1e6);
        page.source->PushFrame(frame);
        PumpUntil([&] { return !page.camera->Preview().isNull(); });
        page.camera->repaint();
        toPreview.push_back(clock.nsecsElapsed() / 1e6);
        PumpUntil([&] { return !page.camera->PicturePath().isEmpty(); });
        encodingStall.push_back(stall.LongestMs());
        PumpUntil([&] { return page.camera->ShotTaken(); });
        page.camera->Keep();
    }
    std::vector<double> repaints;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer paint;
        paint.start();
        page.widget.repaint();
        repaints.push_back(paint.nsecsElapsed() / 1e6);
    }
    QElapsedTimer clock;
    clock.start();
    const QString path = SaveCardPicture(frame, CardsFolder(f.store));
    const double inlineMs = clock.nsecsElapsed() / 1e6;
    const Summary p = Summarise(toPreview), s = Summarise(encodingStall), c = Summarise(shootCall);
    std::printf(
        "shot to preview painted (1280x960 frame in hand): median %.1f ms, worst %.1f ms (the shutter click itself: "
        "median %.1f ms)\n",
        p.median, p.worst, c.median);
    std::printf("one full repaint of the capture page: median %.1f ms\n", Summarise(repaints).median);
    std::printf(
        "longest UI-thread stall from shot to picture written: median %.1f ms, worst %.1f ms (encoding on the UI "
        "thread would block %.1f ms)\n",
        s.median, s.worst, inlineMs);
    QFile::remove(path);
}

void UploadFigure(Fixture& f) {
    const QString path = WriteNoisyCard(QString::fromStdString(f.dir.path() + "big.jpg"), {640, 600}, 97);
    const qint64 bytes = QFileInfo(path).size();
    const std::string prefix = CardUploadPrefix(LoginUser::Instance().snapshot());
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        std::string reply;
        QElapsedTimer clock;
        clock.start();
        const int rc = f.net.uploadCardImage(f.config.apiUrl + kCardUploadPath, reply, prefix, path.toStdString());
        times.push_back(clock.nsecsElapsed() / 1e6);
        if (rc != NetUtil::kOk || reply.find("\"error\":\"0\"") == std::string::npos)
            std::printf("upload failed: %d %s\n", rc, reply.c_str());
    }
    const Summary t = Summarise(times);
    std::printf("upload of a %lld KB card to kivtal-service on loopback: median %.1f ms, worst %.1f ms\n", bytes / 1024,
                t.median, t.worst);
}

void FiftyCardsFigure(Fixture& f) {
    WorkerJobs jobs;
    jobs.uploadPass = [](JobContext& ctx) { RunCardUploadPass(ctx, UploadQueue::Instance()); };
    SyncThread worker(WorkerSetup{f.net, f.store, LoginUser::Instance(), f.config, f.dir.path(),
                                  MakeWindowResultPoster(), std::move(jobs)});
    SyncThreadLink link(worker);
    auto* home = new CHomePage(f.store);
    home->SetWorkerLink(&link);
    home->Create(nullptr, kHomeTitle);
    home->ShowWindow(true);
    PumpUntil([&] { return worker.resultWindow() == home->GetHandle(); });

    UploadQueue::Instance().Clear();
    CardUploads queue(f.store, UploadQueue::Instance(), {});
    const QImage card = FakeFrameSource().MakeFrame();
    for (int i = 0; i < 50; ++i) queue.Keep(SaveCardPicture(card, CardsFolder(f.store)).toStdString());
    Page page(f, &link);
    const int before = page.camera->UploadedCount();
    StallMeter stall;
    QElapsedTimer clock;
    stall.Start();
    App()->Reset();
    clock.start();
    link.Post(WorkerRequest::Plain(WM_REQ_SECRETARY_UPLOAD));
    const bool done = PumpUntil(
        [&] { return page.camera->Items().rowCount() == 0 && page.camera->UploadedCount() == before + 50; }, 60000);
    std::printf(
        "50 waiting cards (%s): all uploaded and counted in %.0f ms; longest UI-thread stall %.1f ms; "
        "slowest single event handled %.1f ms (%s)\n",
        done ? "done" : "NOT DONE", clock.nsecsElapsed() / 1e6, stall.LongestMs(), App()->slowestNs / 1e6,
        qPrintable(App()->slowest));
    worker.stop();
    home->Close(0);
}

}  // namespace
}  // namespace kivtal

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    kivtal::bench::TimedApp app(argc, argv);
    kivtal::PrepareWindows();
    kivtal::Fixture fixture;
    if (!fixture.loggedIn) {
        std::printf("could not log in to kivtal-service\n");
        return 1;
    }
    kivtal::ShotFigures(fixture);
    kivtal::UploadFigure(fixture);
    kivtal::FiftyCardsFigure(fixture);
    return 0;
}
