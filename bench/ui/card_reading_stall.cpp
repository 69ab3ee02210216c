// The UI thread while a card is read in the contact editor: the editor opened on the
// fake scanner, its card shot, kept and read by the recognition engine, as the user
// does it. Prints, per run, the longest gap between the ticks of a 5 ms timer on the UI
// thread from the shutter to the filled fields, and the slowest single event handled
// (to tell a slow handler from a thread the shared machine did not schedule); then
// min / median / max over the runs. A timed program, not a test.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "net/LoginUser.h"
#include "ui/controls/FindEdit.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/StandardControls.h"
#include "ScratchBook.h"
#include "StallMeter.h"

namespace kivtal {
namespace {

constexpr int kRuns = 5;

bench::TimedApp* App() { return static_cast<bench::TimedApp*>(QCoreApplication::instance()); }

// Runs the event loop as the program does, idle between events (a loop that spins
// would take a core from the reading thread), looking every 2 ms whether `done`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QEventLoop loop;
    QTimer look;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= timeoutMs) loop.quit();
    });
    look.start(2);
    if (!done()) loop.exec();
    return done();
}

bool Click(WindowImplBase& window, CCameraUI* camera, const char* name) {
    QWidget* host = camera ? static_cast<QWidget*>(camera) : &window;
    auto* button = host->findChild<QAbstractButton*>(name);
    if (!button) return false;
    button->click();
    return true;
}

struct Run {
    double shotStallMs = 0, readStallMs = 0, slowestEventMs = 0, totalMs = 0;
    QString slowestEvent, name;
    bool done = false;
};

Run ShootAndRead(LocalStore& store) {
    Run run;
    CAddConnectionDlg* editor = CAddConnectionDlg::Open(store, nullptr, 0, 0, true);
    if (!editor) return run;
    editor->SetNetworkProbe([] { return true; });
    editor->ShowWindow(true);
    auto* camera = editor->FindControl<CCameraUI>("KivMCamera");
    if (camera && PumpUntil([&] { return editor->Initialised() && camera->Started(); }, 20000)) {
        bench::StallMeter stall;
        QElapsedTimer clock;
        stall.Start();
        App()->Reset();
        clock.start();
        const bool shot = Click(*editor, nullptr, "begin_device") &&
                          PumpUntil([&] { return camera->ShotTaken() && !camera->Shooting(); }, 20000);
        run.shotStallMs = stall.LongestMs();
        stall.Start();
        run.done = shot && Click(*editor, camera, "camera_keep") &&
                   PumpUntil([&] { return camera->HoldsPicture() && !camera->ReadingRunning(); }, 60000);
        run.totalMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        run.readStallMs = stall.LongestMs();
        run.slowestEventMs = static_cast<double>(App()->slowestNs) / 1e6;
        run.slowestEvent = App()->slowest;
        if (auto* name = editor->FindControl<FindEdit>("base_name_edit")) run.name = name->GetText();
        camera->SendToDesk();
        camera->FailAllItems();  // nothing left for the editor to ask about on closing
    }
    editor->Close(0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return run;
}

void PrintSpread(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s min %7.1f ms   median %7.1f ms   max %7.1f ms   (%zu runs)\n", what, ms.front(),
                ms[ms.size() / 2], ms.back(), ms.size());
}

}  // namespace
}  // namespace kivtal

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KIVTAL_FAKE_SCANNER", "1");
    kivtal::bench::TimedApp app(argc, argv);
    kivtal::PrepareWindows();
    kivtal::bench::ScratchBook book;
    kivtal::LoginUser::Instance().update([](kivtal::LoginUserState& s) {
        s.login_name = "bench";
        s.login_mode = kivtal::LoginUserState::kModeOnline;
    });
    std::vector<double> shooting, reading, events, totals;
    for (int i = 0; i < kivtal::kRuns; ++i) {
        const kivtal::Run run = kivtal::ShootAndRead(book.store);
        if (!run.done) {
            std::printf("run %d: the card was not shot and read\n", i + 1);
            return 1;
        }
        std::printf(
            "run %d: longest UI stall %.1f ms shooting, %.1f ms reading; slowest event %.1f ms (%s); shutter to "
            "filled %.0f ms, name '%s'\n",
            i + 1, run.shotStallMs, run.readStallMs, run.slowestEventMs, qPrintable(run.slowestEvent), run.totalMs,
            qPrintable(run.name));
        shooting.push_back(run.shotStallMs);
        reading.push_back(run.readStallMs);
        events.push_back(run.slowestEventMs);
        totals.push_back(run.totalMs);
    }
    kivtal::PrintSpread("longest UI-thread stall, shutter to kept", shooting);
    kivtal::PrintSpread("longest UI-thread stall, kept to filled", reading);
    kivtal::PrintSpread("slowest single event", events);
    kivtal::PrintSpread("shutter to filled fields", totals);
    return 0;
}
