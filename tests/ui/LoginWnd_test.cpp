// The login window driven through its real controls, with worker results posted to it
// as the worker would, requests recorded by a fake worker link, and the remembered
// logins written to a scratch login database.
#include <QApplication>
#include <QCheckBox>
#include <QDataStream>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPushButton>
#include <QSharedMemory>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "net/AccountJobs.h"
#include "net/Identity.h"
#include "net/LoginUser.h"
#include "net/SyncThread.h"
#include "store/AccountStore.h"
#include "store/LoginSecrets.h"
#include "support/JobHarness.h"
#include "support/PrivateSecretService.h"
#include "ui/controls/ComboKiv.h"
#include "ui/dialogs/LoginWnd.h"
#include "ui/dialogs/UpdaterPort.h"
#include "ui/support/AccessibleWalk.h"
#include "ui/support/UiTestSupport.h"
#include "ui/toolkit/SkinLoader.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowRegistry.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

using test::Pump;
using test::PumpUntil;

const std::string kAliceDigest = "0123456789abcdef0123456789abcdef";

class FakeWorker : public WorkerLink {
public:
    void SetResultWindow(WindowHandle window) override { resultWindow = window; }
    void Post(WorkerRequest request) override { requests.push_back(std::move(request)); }

    int Count(unsigned message) const {
        return static_cast<int>(std::count_if(requests.begin(), requests.end(),
                                              [&](const WorkerRequest& r) { return r.message == message; }));
    }

    WindowHandle resultWindow = 0;
    std::vector<WorkerRequest> requests;
};

class FakeUpdater : public UpdaterPort {
public:
    struct Message {
        unsigned number;
        std::intptr_t wParam;
        std::intptr_t lParam;
        bool operator==(const Message&) const = default;
    };

    bool IsRunning() override { return running; }
    bool Launch(int& errorCode) override {
        ++launches;
        running = launchWorks;
        errorCode = launchWorks ? 0 : 2;
        return launchWorks;
    }
    void Post(unsigned number, std::intptr_t wParam, std::intptr_t lParam) override {
        if (running) messages.push_back({number, wParam, lParam});
    }
    bool ShareInstallerPath(const QString& path) override {
        sharedPath = path;
        return true;
    }

    bool running = false;
    bool launchWorks = true;
    int launches = 0;
    std::vector<Message> messages;
    QString sharedPath;
};

QString Text(CLoginWnd& window, const char* name) {
    QWidget* control = window.FindControl(name);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    return "<missing>";
}

bool Shown(CLoginWnd& window, const char* name) {
    QWidget* control = window.FindControl(name);
    return control && control->isVisibleTo(&window);
}

// The tip on screen in the login window's notice box, once it shows one.
QString WaitForTip(CLoginWnd& window) {
    PumpUntil([&] { return window.ProgressBox() && !window.ProgressBox()->IsAnimationView(); }, 3000);
    CLoginMsgBoxWnd* box = window.ProgressBox();
    if (!box) return "<no box>";
    auto* tip = box->FindControl<QLabel>("tip_msg");
    return tip && tip->isVisibleTo(box) ? tip->text() : "<tip hidden>";
}

class LoginWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The device id must not depend on the machine the tests run on.
        qputenv("KIVTAL_UNIQUE_ID", "TESTDEVICE0001");
        LoginUser::Instance().reset();
        ASSERT_EQ(store.EnsureLoginDb(), 0);
    }
    void TearDown() override { test::CloseAllWindows(); }

    // Remember a login; the last one remembered is the last login.
    void Remember(const std::string& name, const std::string& digest, int autoLogin) {
        LoginRecord record;
        record.login_user = name;
        record.login_pwd = digest;
        record.login_ways = 2;
        record.auto_login = autoLogin;
        record.last_login = 1;
        ASSERT_EQ(AccountStore(store).SaveLogin(record), 0);
    }

    CLoginWnd* Make(bool autoLoginAllowed, WorkerLink* link) {
        auto* window = new CLoginWnd(autoLoginAllowed,
                                     LoginWndServices{link, store, updater, dir.path() + "user/kivtalsetup.exe"});
        EXPECT_TRUE(window->Create(nullptr, "Kivtal"));
        return window;
    }

    // Shown and active, its "windowinit" handled.
    CLoginWnd* Open(bool autoLoginAllowed = true) {
        CLoginWnd* window = Make(autoLoginAllowed, &worker);
        window->CenterWindow();
        window->ShowWindow();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        Pump();
        return window;
    }

    // Runs the window modally; `during` runs inside the modal loop. A window that does
    // not close within a few seconds is closed with 99.
    int RunModal(CLoginWnd* window, const std::function<void(CLoginWnd&)>& during) {
        QPointer<CLoginWnd> guard(window);
        QTimer::singleShot(0, window, [window, during] { during(*window); });
        QTimer::singleShot(6000, window, [guard] {
            if (guard) guard->Close(99);
        });
        return window->ShowModal();
    }

    void TypePassword(CLoginWnd& window, const QString& password) {
        test::ClickControl(window, "password_show");
        ASSERT_TRUE(Shown(window, "input_password"));
        // Key by key, Chinese included, as an input method delivers them.
        for (const QChar c : password)
            QTest::sendKeyEvent(QTest::Click, window.FindControl("input_password"), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }

    test::TempDir dir;
    LocalStore store{StorePaths{dir.path() + "user/", "/nonexistent/doz2a_v3.db"}};
    FakeWorker worker;
    FakeUpdater updater;
};

TEST_F(LoginWndTest, AutomaticLoginSendsTheStoredDigestAndClosesWithZeroOnceCleared) {
    Remember("bob", "ffffffffffffffffffffffffffffffff", 0);
    Remember("alice", kAliceDigest, 1);
    CLoginWnd* window = Make(true, &worker);
    const int code = RunModal(window, [&](CLoginWnd& w) {
        EXPECT_EQ(worker.resultWindow, w.GetHandle());
        EXPECT_TRUE(PumpUntil([&] { return worker.Count(WM_REQ_LOGIN) == 1; }));
        const LoginUserState user = LoginUser::Instance().snapshot();
        EXPECT_EQ(user.login_name, "alice");
        EXPECT_EQ(user.password, kAliceDigest);
        EXPECT_EQ(user.auto_login, 1);
        EXPECT_EQ(user.unique_id, "TESTDEVICE0001");
        auto* combo = w.FindControl<ComboKiv>("account_btn");
        ASSERT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->itemText(0), "bob");
        EXPECT_EQ(combo->itemText(1), "alice");
        ASSERT_NE(w.ProgressBox(), nullptr);
        EXPECT_TRUE(w.ProgressBox()->IsAnimationView());
        // The worker's order after an online login: the version check first.
        w.PostMessage(WM_RES_CHECK_VER, VER_STARTED);
        w.PostMessage(WM_RES_CHECK_VER, VER_UP_TO_DATE);
        w.PostMessage(WM_RES_LOGIN, 0);
    });
    EXPECT_EQ(code, 0);
    Pump();
    EXPECT_TRUE(test::VisibleWindows("LoginMsgBox").empty());
}

// The window lists the accounts without their digests and asks the secret service
// only for the one an automatic login sends.
TEST_F(LoginWndTest, WithTheSecretServiceTheAutomaticLoginSendsTheDigestItKeeps) {
    if (!LoginSecrets::Built()) GTEST_SKIP() << "built without libsecret";
    if (!test::PrivateSecretService::Installed()) GTEST_SKIP() << "no dbus-daemon or gnome-keyring-daemon";
    test::PrivateSecretService service(dir.path());
    if (!service.running()) GTEST_SKIP() << "the keyring daemon did not start";
    Remember("bob", "ffffffffffffffffffffffffffffffff", 0);
    Remember("alice", kAliceDigest, 1);
    LoginRecordList rows;
    ASSERT_EQ(AccountStore(store).RememberedNames(rows), 0);
    ASSERT_EQ(rows.size(), 2u);

    CLoginWnd* window = Open();
    EXPECT_TRUE(PumpUntil([&] { return worker.Count(WM_REQ_LOGIN) == 1; }));
    EXPECT_EQ(LoginUser::Instance().snapshot().login_name, "alice");
    EXPECT_EQ(LoginUser::Instance().snapshot().password, kAliceDigest);
    EXPECT_EQ(window->FindControl<ComboKiv>("account_btn")->count(), 2);
}

// The digest and the progress box of an automatic login wait for the window's first
// paint: until then the window shows the account and the mask.
TEST_F(LoginWndTest, TheAutomaticLoginWaitsUntilTheWindowIsPainted) {
    Remember("alice", kAliceDigest, 1);
    CLoginWnd* window = Make(true, &worker);
    window->ShowWindow();
    EXPECT_EQ(window->ProgressBox(), nullptr);
    EXPECT_EQ(Text(*window, "account_show"), "alice");
    EXPECT_EQ(Text(*window, "password_show"), "●●●●●●");
    EXPECT_EQ(Text(*window, "input_password"), "");

    EXPECT_TRUE(PumpUntil([&] { return worker.Count(WM_REQ_LOGIN) == 1; }));
    EXPECT_EQ(Text(*window, "input_password"), QString::fromStdString(kAliceDigest));
    EXPECT_EQ(LoginUser::Instance().snapshot().password, kAliceDigest);
    EXPECT_NE(window->ProgressBox(), nullptr);
}

TEST_F(LoginWndTest, RestartModeFillsTheFieldsAndSendsTheUntouchedDigestUnchanged) {
    Remember("alice", kAliceDigest, 1);
    CLoginWnd* window = Open(false);
    EXPECT_EQ(worker.requests.size(), 0u);
    EXPECT_EQ(Text(*window, "account_show"), "alice");
    EXPECT_EQ(Text(*window, "password_show"), "●●●●●●");
    EXPECT_EQ(Text(*window, "input_password"), QString::fromStdString(kAliceDigest));
    EXPECT_TRUE(window->FindControl<QCheckBox>("auto_login")->isChecked());

    test::ClickControl(*window, "login_btn");
    Pump();
    EXPECT_EQ(worker.Count(WM_REQ_LOGIN), 1);
    EXPECT_EQ(LoginUser::Instance().snapshot().password, kAliceDigest);
}

TEST_F(LoginWndTest, ATypedPasswordIsSentAsTheDoubleDigestAndOnlyOnceWhileSending) {
    Remember("alice", kAliceDigest, 0);
    CLoginWnd* window = Open();
    EXPECT_EQ(Text(*window, "account_show"), "alice");
    EXPECT_EQ(Text(*window, "password_show"), "请输入密码");
    EXPECT_FALSE(window->FindControl<QCheckBox>("auto_login")->isChecked());

    TypePassword(*window, "秘密pass1");
    QTest::keyClick(window->FindControl("input_password"), Qt::Key_Return);
    test::ClickControl(*window, "login_btn");
    Pump();
    EXPECT_EQ(worker.Count(WM_REQ_LOGIN), 1);
    const LoginUserState user = LoginUser::Instance().snapshot();
    EXPECT_EQ(user.login_name, "alice");
    EXPECT_EQ(user.password, md5Hex(md5Hex("秘密pass1")));
    EXPECT_EQ(user.auto_login, 0);
}

TEST_F(LoginWndTest, PlaceholdersAndEmptyFieldsAreNeverSent) {
    CLoginWnd* window = Open();
    EXPECT_EQ(Text(*window, "account_show"), "请输入账号");
    EXPECT_EQ(Text(*window, "password_show"), "请输入密码");
    // The edits themselves holding the placeholder texts count as empty too.
    window->FindControl<QLineEdit>("input_account")->setText("请输入账号");
    window->FindControl<QLineEdit>("input_password")->setText("secret");
    test::ClickControl(*window, "login_btn");
    EXPECT_EQ(WaitForTip(*window), "用户账号和密码不能为空");
    window->PostMessage(WM_TIMER, kLoginTipTimer);
    Pump();
    EXPECT_EQ(window->ProgressBox(), nullptr);

    window->FindControl<QLineEdit>("input_account")->setText("alice");
    window->FindControl<QLineEdit>("input_password")->setText("请输入密码");
    test::ClickControl(*window, "login_btn");
    Pump();
    EXPECT_EQ(worker.Count(WM_REQ_LOGIN), 0);
    EXPECT_FALSE(window->IsClosing());
}

// The empty-input tip waits a second before it shows; a login sent meanwhile opens its
// progress box, which that stale tip must not take over (its timer would close the box
// during the login and let a second one be sent).
TEST_F(LoginWndTest, AStaleTipNeverLandsInTheNextAttemptsProgressBox) {
    CLoginWnd* window = Open();
    test::ClickControl(*window, "login_btn");  // empty: the tip is on its way
    Pump();
    ASSERT_EQ(window->ProgressBox(), nullptr);
    window->FindControl<QLineEdit>("input_account")->setText("alice");
    window->FindControl<QLineEdit>("input_password")->setText("secret");
    test::ClickControl(*window, "login_btn");
    Pump();
    ASSERT_NE(window->ProgressBox(), nullptr);
    ASSERT_EQ(worker.Count(WM_REQ_LOGIN), 1);

    QTest::qWait(kLoginSettleMs + 300);
    ASSERT_NE(window->ProgressBox(), nullptr);
    EXPECT_TRUE(window->ProgressBox()->IsAnimationView());
    EXPECT_FALSE(window->IsTimerRunning(kLoginTipTimer));
    test::ClickControl(*window, "login_btn");
    Pump();
    EXPECT_EQ(worker.Count(WM_REQ_LOGIN), 1);

    // The attempt's own result still shows its tip.
    window->PostMessage(WM_RES_LOGIN, -3);
    EXPECT_EQ(WaitForTip(*window), "用户密码或账号错误。");
}

TEST_F(LoginWndTest, TheMaskHasSixBulletsWhateverThePasswordLength) {
    for (int length : {1, 30}) {
        SCOPED_TRACE(length);
        CLoginWnd* window = Open();
        TypePassword(*window, QString(length, u'x'));
        window->FindControl("login_btn")->setFocus();
        Pump();
        EXPECT_FALSE(Shown(*window, "input_password"));
        EXPECT_EQ(Text(*window, "password_show"), "●●●●●●");
        EXPECT_EQ(Text(*window, "input_password").size(), length);
        window->Close(1);
    }
}

TEST_F(LoginWndTest, FailuresShowTheirTipAndTheTipTimerEndsItWithoutClosing) {
    struct Case {
        int result;
        const char* tip;
    };
    const Case cases[] = {
        {-3, "用户密码或账号错误。"},
        {-5, "当前网络无法连接，请检查网络后再试！"},
        {-7, "服务器返回失败，请稍后再试!"},
        {1, "服务器返回失败，请稍后再试!"},
    };
    CLoginWnd* window = Open();
    window->PostMessage(WM_RES_CHECK_VER, VER_UP_TO_DATE);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        window->PostMessage(WM_RES_LOGIN, c.result);
        EXPECT_EQ(WaitForTip(*window), c.tip);
        EXPECT_TRUE(window->IsTimerRunning(kLoginTipTimer));
        window->PostMessage(WM_TIMER, kLoginTipTimer);
        Pump();
        EXPECT_EQ(window->ProgressBox(), nullptr);
        EXPECT_FALSE(window->IsTimerRunning(kLoginTipTimer));
        EXPECT_FALSE(window->IsClosing());
        EXPECT_EQ(window->StoredResult(), c.result);
    }
}

TEST_F(LoginWndTest, AResultBeforeTheVersionClearanceShowsTheBusyTipAndIsActedOnAtClearance) {
    CLoginWnd* window = Make(true, &worker);
    const int code = RunModal(window, [](CLoginWnd& w) {
        w.PostMessage(WM_RES_LOGIN, 0);
        EXPECT_EQ(WaitForTip(w), "服务器繁忙，请稍后再试!");
        EXPECT_FALSE(w.IsClosing());
        w.PostMessage(WM_RES_CHECK_VER, VER_NO_NETWORK);
    });
    EXPECT_EQ(code, 0);
}

TEST_F(LoginWndTest, FirstLoginSyncsIgnoresLaterResultsAndClosesAfterTheSync) {
    CLoginWnd* window = Make(true, &worker);
    const int code = RunModal(window, [&](CLoginWnd& w) {
        w.PostMessage(WM_RES_CHECK_VER, VER_UP_TO_DATE);
        w.PostMessage(WM_RES_LOGIN, kLoginFirstOnMachine);
        ASSERT_TRUE(PumpUntil([&] { return w.ResultsIgnored(); }));
        ASSERT_EQ(worker.Count(WM_REQ_SYNC), 1);
        EXPECT_EQ(worker.requests.back().reason, SYNC_BY_USER);
        w.PostMessage(WM_RES_LOGIN, 0);
        w.PostMessage(WM_RES_LOGIN, kLoginRefused);
        w.PostMessage(WM_RES_SYNC, 0);
        Pump();
        // The window waits a moment after the sync before it closes.
        EXPECT_FALSE(w.IsClosing());
        EXPECT_EQ(w.StoredResult(), kLoginFirstOnMachine);
    });
    EXPECT_EQ(code, 0);
}

TEST_F(LoginWndTest, PickingAnAccountEmptiesThePassword) {
    Remember("bob", "ffffffffffffffffffffffffffffffff", 0);
    Remember("alice", kAliceDigest, 1);
    CLoginWnd* window = Open(false);
    auto* combo = window->FindControl<ComboKiv>("account_btn");
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    Pump();
    EXPECT_EQ(Text(*window, "account_show"), "bob");
    EXPECT_EQ(Text(*window, "input_account"), "bob");
    EXPECT_EQ(Text(*window, "input_password"), "");
    EXPECT_EQ(Text(*window, "password_show"), "请输入密码");
    EXPECT_TRUE(Shown(*window, "account_show"));
}

TEST_F(LoginWndTest, ClickingTheAccountLabelClearsARememberedOrTypedPassword) {
    Remember("alice", kAliceDigest, 1);
    CLoginWnd* window = Open(false);
    test::ClickControl(*window, "account_show");
    Pump();
    EXPECT_TRUE(Shown(*window, "input_account"));
    EXPECT_FALSE(Shown(*window, "account_show"));
    EXPECT_TRUE(window->FindControl("input_account")->hasFocus());
    EXPECT_EQ(Text(*window, "input_account"), "alice");
    EXPECT_EQ(Text(*window, "input_password"), "");
    EXPECT_EQ(Text(*window, "password_show"), "请输入密码");

    TypePassword(*window, "typed");
    test::ClickControl(*window, "account_show");
    EXPECT_EQ(Text(*window, "input_password"), "");
    EXPECT_EQ(Text(*window, "password_show"), "请输入密码");
}

TEST_F(LoginWndTest, TheWindowBecomingActiveAgainKeepsTheRememberedPassword) {
    Remember("alice", kAliceDigest, 1);
    CLoginWnd* window = Open(false);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    // The focus goes back to the account label, which is no click of the user's.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Pump();
    EXPECT_EQ(Text(*window, "password_show"), "●●●●●●");
    EXPECT_EQ(Text(*window, "input_password"), QString::fromStdString(kAliceDigest));
}

TEST_F(LoginWndTest, ButtonsPostTheirRequestsAndCloseEndsWithOne) {
    CLoginWnd* window = Make(true, &worker);
    const int code = RunModal(window, [&](CLoginWnd& w) {
        test::ClickControl(w, "regist_btn");
        test::ClickControl(w, "find_password");
        w.PostMessage(WM_LOGIN_CHECK_VER);
        Pump();
        ASSERT_EQ(worker.requests.size(), 3u);
        EXPECT_EQ(worker.requests[0].message, WM_REQ_OPEN_REGISTER);
        EXPECT_EQ(worker.requests[1].message, WM_REQ_OPEN_PASSWORD);
        EXPECT_EQ(worker.requests[2].message, WM_REQ_CHECK_VER);
        test::ClickControl(w, "btn_close");
    });
    EXPECT_EQ(code, 1);
}

TEST_F(LoginWndTest, TheUpdaterGetsTheProgressAndTheInstallerEndsTheProgram) {
    updater.running = true;
    CLoginWnd* window = Make(true, &worker);
    const int code = RunModal(window, [&](CLoginWnd& w) {
        w.PostMessage(WM_RES_CHECK_VER, VER_DOWNLOADING);
        w.PostMessage(WM_RES_CHECK_VER, VER_PROGRESS, 40);
        w.PostMessage(WM_RES_CHECK_VER, VER_DOWNLOAD_FAILED);
        Pump();
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(updater.launches, 0);
        w.PostMessage(WM_RES_CHECK_VER, VER_INSTALLER_READY);
    });
    EXPECT_EQ(code, 1);
    const std::vector<FakeUpdater::Message> expected = {
        {WM_UPD_PROGRESS, 40, 0}, {WM_UPD_PROGRESS, -1, 0}, {WM_UPD_PROGRESS, 0, 1}};
    EXPECT_EQ(updater.messages, expected);
    EXPECT_EQ(updater.sharedPath, QString::fromStdString(dir.path() + "user/kivtalsetup.exe"));
}

TEST_F(LoginWndTest, AnUpdaterThatCannotStartLeavesTheLoginGoingInSight) {
    updater.launchWorks = false;
    CLoginWnd* window = Make(true, &worker);
    const int code = RunModal(window, [&](CLoginWnd& w) {
        w.PostMessage(WM_RES_CHECK_VER, VER_DOWNLOADING);
        Pump();
        EXPECT_EQ(updater.launches, 1);
        EXPECT_TRUE(w.isVisible());
        w.PostMessage(WM_RES_LOGIN, 0);
        Pump();
        EXPECT_FALSE(w.VersionCleared());
        // Without an updater the downloaded installer is nobody's: go on logging in.
        w.PostMessage(WM_RES_CHECK_VER, VER_INSTALLER_READY);
    });
    EXPECT_EQ(code, 0);
}

TEST_F(LoginWndTest, TheUpdaterResumingTheLoginCountsAsClearance) {
    updater.running = true;
    CLoginWnd* window = Make(true, &worker);
    const int code = RunModal(window, [&](CLoginWnd& w) {
        w.PostMessage(WM_RES_CHECK_VER, VER_DOWNLOADING);
        w.PostMessage(WM_RES_LOGIN, 0);
        w.PostMessage(WM_RES_CHECK_VER, VER_DOWNLOAD_FAILED);
        Pump();
        EXPECT_FALSE(w.IsClosing());
        w.PostMessage(WM_LOGIN_RESUME);
    });
    EXPECT_EQ(code, 0);
}

TEST(LocalUpdaterPort, TalksToTheUpdaterSocketAndSharesTheInstallerPath) {
    LocalUpdaterPort port("/nonexistent/update.exe");
    int error = 0;
    EXPECT_FALSE(port.Launch(error));
    ASSERT_FALSE(UpdaterServerPath().isEmpty());
    QLocalServer::removeServer(UpdaterServerPath());
    EXPECT_FALSE(port.IsRunning());

    QLocalServer server;
    ASSERT_TRUE(server.listen(UpdaterServerPath()));
    std::vector<std::tuple<quint32, qint64, qint64>> received;
    QObject::connect(&server, &QLocalServer::newConnection, [&] {
        while (QLocalSocket* socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, [socket, &received] {
                if (socket->bytesAvailable() < 20) return;
                QDataStream in(socket);
                in.setVersion(QDataStream::Qt_6_0);
                quint32 number = 0;
                qint64 wParam = 0, lParam = 0;
                in >> number >> wParam >> lParam;
                received.emplace_back(number, wParam, lParam);
            });
        }
    });
    EXPECT_TRUE(port.IsRunning());
    port.Post(WM_UPD_PROGRESS, -1, 0);
    ASSERT_TRUE(PumpUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received.back(), std::make_tuple(quint32(WM_UPD_PROGRESS), qint64(-1), qint64(0)));

    // A path longer than the block allows is cut, keeping its terminator.
    const QString path = "/opt/用户/" + QString(300, u'a');
    ASSERT_TRUE(port.ShareInstallerPath(path));
    QSharedMemory reader;
    reader.setNativeKey(UpdaterSharedBlockKey());
    ASSERT_TRUE(reader.attach(QSharedMemory::ReadOnly));
    EXPECT_GE(reader.size(), kUpdaterSharedBlockSize);
    const auto* text = static_cast<const char16_t*>(reader.constData());
    EXPECT_EQ(QString::fromUtf16(text), path.left(kUpdaterPathLimit - 1));
}

// The real worker and login job against a scripted service on 127.0.0.1.
class LoginWndWorkerTest : public LoginWndTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LoginWndWorkerTest, TheLoginJobOpensTheWayOnlineAndOffline) {
    const bool online = GetParam();
    test::JobHarness h;
    h.net.online = online;
    h.store.EnsureLoginDb();
    const std::string digest = md5Hex(md5Hex("pw123"));
    LoginRecord remembered;
    remembered.login_user = "carol";
    remembered.login_pwd = digest;
    remembered.last_login = 1;
    ASSERT_EQ(AccountStore(h.store).SaveLogin(remembered), 0);
    h.service.script("/Login/login", test::Reply::Ok(R"({"error":"0","random_key":"rk","user_id":"77"})"));
    h.service.script("/Update/check", test::Reply::Ok(R"({"error":"0","new_ver":"3"})"));

    WorkerJobs jobs;
    jobs.login = [](JobContext& ctx) { RunLoginJob(ctx); };
    jobs.checkVersion = [](JobContext& ctx) { RunVersionCheckJob(ctx); };
    SyncThread thread(WorkerSetup{h.net, h.store, LoginUser::Instance(), h.config, h.dir.path() + "dl/",
                                  MakeWindowResultPoster(), jobs});
    SyncThreadLink link(thread);

    auto* window = new CLoginWnd(true, LoginWndServices{&link, h.store, updater, {}});
    ASSERT_TRUE(window->Create(nullptr, "Kivtal"));
    const int code = RunModal(window, [&](CLoginWnd& w) {
        TypePassword(w, "pw123");
        test::ClickControl(w, "login_btn");
    });
    thread.stop();
    EXPECT_EQ(code, 0);
    const auto logins = h.bodies("/Login/login");
    if (online) {
        ASSERT_EQ(logins.size(), 1u);
        EXPECT_EQ(logins[0], "username=carol&password=" + digest + "&unique_id=TESTDEVICE0001&visitor=1");
        EXPECT_EQ(LoginUser::Instance().snapshot().login_mode, LoginUserState::kModeOnline);
    } else {
        EXPECT_TRUE(logins.empty());
        EXPECT_EQ(LoginUser::Instance().snapshot().login_mode, LoginUserState::kModeOffline);
    }
}

INSTANTIATE_TEST_SUITE_P(Network, LoginWndWorkerTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Online" : "Offline"; });

}  // namespace
}  // namespace kivtal

namespace kivtal {
namespace {

QString FocusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

TEST_F(LoginWndTest, TheKeyboardAloneLogsIn) {
    CLoginWnd* window = Open(false);
    // The account field has the focus on open, and typing goes into it.
    ASSERT_TRUE(PumpUntil([] { return FocusName() == "input_account"; })) << FocusName().toStdString();
    QTest::keyClicks(QApplication::focusWidget(), "alice");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(PumpUntil([] { return FocusName() == "input_password"; })) << FocusName().toStdString();
    QTest::keyClicks(QApplication::focusWidget(), "secret");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(PumpUntil([&] { return worker.Count(WM_REQ_LOGIN) == 1; }));
    EXPECT_EQ(Text(*window, "input_account"), "alice");
    EXPECT_TRUE(test::AccessibleProblems(window).isEmpty())
        << test::AccessibleProblems(window).join('\n').toStdString();
}

}  // namespace
}  // namespace kivtal
