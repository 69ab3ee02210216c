#include "app/PelwickApp.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QThread>
#include <QUrl>
#include <cstdio>

#include "app/InstanceProbe.h"
#include "app/ProgramFile.h"
#include "app/StartupTiming.h"
#include "model/Diagnostics.h"
#include "net/DefaultWorker.h"
#include "net/SyncThread.h"
#include "store/LocalStore.h"
#include "ui/dialogs/LoginWnd.h"
#include "ui/dialogs/UpdaterPort.h"
#include "ui/main/HomePage.h"
#include "ui/toolkit/InstanceMark.h"
#include "ui/toolkit/RuntimeFolder.h"
#include "ui/StandardControls.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowRegistry.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

// The ending instance of a restart needs a moment to close; trying again at once would
// only keep a core busy.
constexpr unsigned long kRestartRetryMs = 50;
// An instance that has not ended after this long is not ending: the restart gives up.
constexpr int kRestartTries = 600;  // 30 s

// Said on standard error whatever the console mode: the program ends without a window,
// and this is the only trace of why.
void TellWhyNotStarting(const QString& why) {
    std::fprintf(stderr, "kivtal: %s; not starting.\n", why.toLocal8Bit().constData());
}

// Jobs call this on their own threads; the desktop is asked from the UI thread.
void OpenUrlOnUiThread(const std::string& address) {
    const QUrl url(QString::fromStdString(address));
    QMetaObject::invokeMethod(
        qApp, [url] { QDesktopServices::openUrl(url); }, Qt::QueuedConnection);
}

// Installs the worker for the windows and takes it down again on every path, letting
// the jobs still running (a logout at the end) finish first.
class WorkerScope {
public:
    WorkerScope() : worker_(DefaultWorkerSetup(MakeWindowResultPoster(), OpenUrlOnUiThread)), link_(worker_) {
        SetAppWorker(&link_);
    }
    ~WorkerScope() {
        SetAppWorker(nullptr);
        worker_.waitForJobs();
        worker_.stop();
    }
    WorkerScope(const WorkerScope&) = delete;
    WorkerScope& operator=(const WorkerScope&) = delete;

private:
    SyncThread worker_;
    SyncThreadLink link_;
};

// Runs window modally as the instance's marked window, so that a second start brings
// it forward. The mark goes with the loop: the closed window lingers until deleted.
int RunMarkedModal(WindowImplBase* window) {
    QPointer<WindowImplBase> guard(window);
    InstanceMark::Set(window);
    const int result = window->ShowModal();
    if (guard) InstanceMark::Clear(guard);
    return result;
}

}  // namespace

void OpenDebugConsole() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    SetDiagnosticsEnabled(true);
}

CPelwickApp::CPelwickApp(std::string commandLine)
    : commandLine_(std::move(commandLine)), mode_(DecideLaunchMode(commandLine_)) {}

bool CPelwickApp::InitInstance() {
    PrepareWindows();
    if (mode_.console) OpenDebugConsole();
    if (!SettleSingleInstance()) return false;
    DebugLine("当前程序参数:" + commandLine_);

    if (InstanceProbeRequested()) {
        if (RunInstanceProbe(instance_, mode_.restart)) LaunchRestart();
    } else {
        LocalStore::Instance().EnsureLoginDb();
        RunWindows();
    }
    AppUpdater().Post(WM_UPD_CLIENT_EXIT, 0, 0);
    return false;
}

bool CPelwickApp::SettleSingleInstance() {
    // Without a private folder there is no lock to take, now or later.
    if (const QString problem = RuntimeFolderProblem(); !problem.isEmpty()) {
        TellWhyNotStarting(problem);
        return false;
    }
    if (!mode_.restart) return instance_.Acquire() == 1;
    // The instance that launched this one is still ending; it lets go of the lock when
    // its process is gone.
    for (int tries = 1; instance_.Acquire() != 1; ++tries) {
        DebugLine("自启动 游标创建失败");
        if (tries == kRestartTries) {
            TellWhyNotStarting(QStringLiteral("the running instance did not end within %1 s")
                                   .arg(kRestartTries * kRestartRetryMs / 1000));
            return false;
        }
        QThread::msleep(kRestartRetryMs);
    }
    DebugLine("自启动，游标创建成功");
    return true;
}

void CPelwickApp::RunWindows() {
    WorkerScope worker;
    const int login = RunLoginWindow();
    if (login != 0) return;
    if (RunMainWindow()) LaunchRestart();
}

int CPelwickApp::RunLoginWindow() {
    auto* login = new CLoginWnd(mode_.autoLoginAllowed());
    if (!login->Create(nullptr, QStringLiteral("Kivtal"))) {
        delete login;
        return -1;
    }
    login->CenterWindow();
    StartupTiming::ReportFirstPaint(login, "login window", "main()", StartupTiming::ProgramStart());
    return RunMarkedModal(login);
}

bool CPelwickApp::RunMainWindow() {
    const auto accepted = std::chrono::steady_clock::now();
    QPointer<CHomePage> home = new CHomePage();
    if (!home->Create(nullptr, QStringLiteral("Kivtal v1.0"))) {
        delete home.data();
        return false;
    }
    home->CenterWindow();
    StartupTiming::ReportFirstPaint(home, "main window", "login accepted", accepted);
    RunMarkedModal(home);
    // Closing only schedules the window's deletion, so it can still be asked.
    return home && home->restartRequested();
}

}  // namespace kivtal
