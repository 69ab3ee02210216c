#include "ui/dialogs/LoginWnd.h"

#include <QAbstractButton>
#include <QTimer>
#include <algorithm>

#include "model/Diagnostics.h"
#include "net/AccountJobs.h"
#include "net/Identity.h"
#include "net/LoginUser.h"
#include "store/AccountStore.h"
#include "store/LocalStore.h"
#include "ui/controls/ComboKiv.h"
#include "ui/dialogs/LoginTexts.h"
#include "ui/dialogs/LoginWndControls.h"
#include "ui/dialogs/UpdaterPort.h"
#include "ui/toolkit/AfterFirstPaint.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

// The notice box sits a little below the window's centre, clear of the fields.
constexpr int kNoticeDropPixels = 25;

LoginWndServices AppServices() {
    LocalStore& store = LocalStore::Instance();
    return LoginWndServices{AppWorker(), store, AppUpdater(), store.dataDir() + "kivtalsetup.exe"};
}

QString FailureText(int result) {
    if (result == kLoginRefused) return kTipWrongPassword;
    if (result == kLoginNoNetwork) return kTipNoNetwork;
    return kTipServiceFailed;
}

}  // namespace

CLoginWnd::CLoginWnd(bool autoLoginAllowed) : CLoginWnd(autoLoginAllowed, AppServices()) {}

CLoginWnd::CLoginWnd(bool autoLoginAllowed, LoginWndServices services)
    : autoLoginAllowed_(autoLoginAllowed), services_(std::move(services)) {}

CLoginWnd::~CLoginWnd() {
    if (CLoginMsgBoxWnd* box = ProgressBox()) box->Close(1);
}

CLoginMsgBoxWnd* CLoginWnd::ProgressBox() const {
    CLoginMsgBoxWnd* box = progress_.data();
    return box && !box->IsClosing() ? box : nullptr;
}

void CLoginWnd::OnFinalMessage() {
    if (CLoginMsgBoxWnd* box = ProgressBox()) box->Close(1);
    progress_ = nullptr;
}

void CLoginWnd::Notify(const QString& type, QWidget* sender) {
    if (type == u"windowinit") {
        Initialise();
        return;
    }
    const QString name = ControlName(sender);
    if (type == u"click") {
        OnClick(name);
    } else if (type == u"killfocus") {
        if (name == login_wnd::kInputAccount) LeaveAccountEditing();
        else if (name == login_wnd::kInputPassword) LeavePasswordEditing();
    } else if (type == u"setfocus") {
        if (name == login_wnd::kAccountShow) OnAccountLabelFocus();
        else if (name == login_wnd::kPasswordShow) EnterPasswordEditing();
    } else if (type == u"return" && name == login_wnd::kInputPassword) {
        SendLogin(false);
    }
}

void CLoginWnd::OnClick(const QString& name) {
    if (name == login_wnd::kBtnMin) showMinimized();
    else if (name == login_wnd::kBtnClose) Close(1);
    else if (name == login_wnd::kAccountShow) EnterAccountByUser();
    else if (name == login_wnd::kAccountBtn) EnterAccountEditing(false);
    else if (name == login_wnd::kPasswordShow) EnterPasswordEditing();
    else if (name == login_wnd::kLoginBtn) SendLogin(false);
    else if (name == login_wnd::kRegistBtn) PostToWorker(WorkerRequest::Plain(WM_REQ_OPEN_REGISTER));
    else if (name == login_wnd::kFindPassword) PostToWorker(WorkerRequest::Plain(WM_REQ_OPEN_PASSWORD));
}

void CLoginWnd::OnAccountLabelFocus() {
    // The label takes the focus by itself when the window first shows.
    if (!accountFocusSeen_) {
        accountFocusSeen_ = true;
        return;
    }
    EnterAccountByUser();
}

void CLoginWnd::EnterAccountByUser() {
    // A click on the label that already holds the focus (it does from the start)
    // brings no focus change, yet it is the user turning to the account all the same:
    // a password kept for another account must go either way.
    EnterAccountEditing(true);
    ClearPassword();
}

void CLoginWnd::Initialise() {
    computeUniqueId(LoginUser::Instance());
    if (services_.worker) services_.worker->SetResultWindow(GetHandle());
    AccountStore accounts(services_.store);
    LoginRecordList logins;
    accounts.RememberedNames(logins);
    FillAccountList(logins);
    const auto marked =
        std::find_if(logins.begin(), logins.end(), [](const LoginRecord& l) { return l.last_login == 1; });
    const LoginRecord last = marked == logins.end() ? LoginRecord{} : *marked;
    if (last.auto_login != 1) {
        if (auto* option = FindControl<QAbstractButton>(login_wnd::kAutoLogin)) option->setChecked(false);
        FillFields(QString::fromStdString(last.login_user), {});
        FocusAccount();
        return;
    }
    rememberedAccount_ = QString::fromStdString(last.login_user);
    FillFields(rememberedAccount_, {});
    ShowPasswordLabel(true);
    // The label keeps the focus: turning to the account would clear the kept password.
    if (QWidget* label = FindControl(login_wnd::kAccountShow)) label->setFocus(Qt::OtherFocusReason);
    // The digest (a round trip to the desktop's secret service) and the login it starts
    // wait until the window has been seen, and a turn more, so that whatever else waits
    // for that paint goes first.
    AfterFirstPaint(
        this, [this] { QTimer::singleShot(0, this, [this] { UseRememberedLogin(); }); }, kRememberedLoginWaitMs);
}

void CLoginWnd::UseRememberedLogin() {
    if (IsClosing()) return;
    LoginRecord last;
    const bool found = AccountStore(services_.store).LastLogin(last) == 0;
    rememberedDigest_ = found && QString::fromStdString(last.login_user) == rememberedAccount_
                            ? QString::fromStdString(last.login_pwd)
                            : QString();
    LoginUser::Instance().update([&](LoginUserState& u) { u.password = rememberedDigest_.toStdString(); });
    FillFields(rememberedAccount_, rememberedDigest_);
    if (autoLoginAllowed_) SendLogin(true);
}

// Without a kept password the window opens with the account's edit taking the keys.
void CLoginWnd::FocusAccount() {
    accountFocusSeen_ = true;
    activateWindow();
    EnterAccountEditing(true);
}

void CLoginWnd::SendLogin(bool stored) {
    if (ProgressBox()) return;
    const QString account = FieldText(login_wnd::kInputAccount.name);
    const QString password = FieldText(login_wnd::kInputPassword.name);
    if (account.isEmpty() || password.isEmpty() || account == kAccountPlaceholder || password == kPasswordPlaceholder) {
        PostMessage(WM_LOGIN_EMPTY_INPUT);
        return;
    }
    // A remembered password is the digest itself: digesting it again would make the
    // service refuse a password the user never changed.
    const bool remembered =
        stored || (!rememberedDigest_.isEmpty() && password == rememberedDigest_ && account == rememberedAccount_);
    const std::string digest = remembered ? rememberedDigest_.toStdString() : md5Hex(md5Hex(password.toStdString()));
    auto* option = FindControl<QAbstractButton>(login_wnd::kAutoLogin);
    const int autoLogin = option && option->isChecked() ? 1 : 0;
    LoginUser::Instance().update([&](LoginUserState& u) {
        u.auto_login = autoLogin;
        u.password = digest;
        u.login_name = account.toStdString();
    });
    PostMessage(WM_LOGIN_SEND);
    OpenProgressBox();
}

CLoginMsgBoxWnd* CLoginWnd::OpenNoticeBox(const QString& title) {
    CLoginMsgBoxWnd* box = CreateNoticeBox(this, title);
    if (box) box->move(box->pos() + QPoint(0, kNoticeDropPixels));
    progress_ = box;
    return box;
}

void CLoginWnd::OpenProgressBox() {
    // A tip still waiting from an earlier attempt belongs to that attempt: landing in
    // this box, its timer would close the box while this login is in flight.
    ++tipAttempt_;
    KillTimer(kLoginTipTimer);
    CLoginMsgBoxWnd* box = OpenNoticeBox(kNoticeCaption);
    if (!box) return;
    box->ShowAnimationView();
    box->ShowWindow(true);
}

void CLoginWnd::ShowTip(QString text) {
    if (text.isEmpty()) text = kTipServerBusy;
    // A pause, not a block: the window keeps painting and taking messages meanwhile.
    QTimer::singleShot(kLoginSettleMs, this, [this, text, attempt = tipAttempt_] {
        if (!IsClosing() && attempt == tipAttempt_) ShowTipNow(text);
    });
}

void CLoginWnd::ShowTipNow(const QString& text) {
    CLoginMsgBoxWnd* box = ProgressBox();
    if (!box) box = OpenNoticeBox(kTipTitle);
    if (box) {
        box->ShowMessageView();
        box->SetTipText(text);
        box->ShowWindow(true);
    }
    SetTimer(kLoginTipTimer, kLoginTipMs);
}

void CLoginWnd::OnTipTimer() {
    KillTimer(kLoginTipTimer);
    if (CLoginMsgBoxWnd* box = ProgressBox()) box->Close(1);
    progress_ = nullptr;
    if (ReadyToOpen()) Close(0);
}

bool CLoginWnd::ReadyToOpen() const {
    return versionCleared_ && (storedResult_ == 0 || storedResult_ == kLoginFirstOnMachine);
}

void CLoginWnd::OnLoginResult(int result) {
    if (resultsIgnored_ || result == kLoginNoResultYet) return;
    storedResult_ = result;
    if (result != 0 && result != kLoginFirstOnMachine) {
        ShowTip(FailureText(result));
    } else if (!versionCleared_) {
        ShowTip({});
    } else if (result == 0) {
        Close(0);
    } else {
        PostToWorker(WorkerRequest::Sync(SYNC_BY_USER));
        resultsIgnored_ = true;
    }
}

void CLoginWnd::OnFirstSyncDone() {
    QTimer::singleShot(kLoginSettleMs, this, [this] {
        if (!IsClosing() && storedResult_ == kLoginFirstOnMachine) Close(0);
    });
}

void CLoginWnd::OnVersionCleared() {
    versionCleared_ = true;
    // A login result that came before the clearance is acted on now.
    PostMessage(WM_RES_LOGIN, storedResult_);
}

void CLoginWnd::OnUpdaterStart() {
    int error = 0;
    if (!services_.updater.IsRunning() && !services_.updater.Launch(error)) {
        DebugLine("打开升级程序失败---错误代码：" + std::to_string(error) + "!");
        // Nobody would install the download or tell this window to go on: stay in
        // sight and treat the offer as if there were none.
        updaterUnavailable_ = true;
        return;
    }
    hide();
}

void CLoginWnd::OnInstallerReady() {
    if (updaterUnavailable_) {
        OnVersionCleared();
        return;
    }
    if (services_.updater.IsRunning()) {
        services_.updater.ShareInstallerPath(QString::fromStdString(services_.installerPath));
        services_.updater.Post(WM_UPD_PROGRESS, 0, 1);
    }
    Close(1);
}

void CLoginWnd::OnVersionResult(int code, std::intptr_t detail) {
    UpdaterPort& updater = services_.updater;
    switch (code) {
        case VER_DOWNLOADING: OnUpdaterStart(); break;
        case VER_PROGRESS:
            if (updater.IsRunning()) updater.Post(WM_UPD_PROGRESS, detail, 0);
            break;
        case VER_INSTALLER_READY: OnInstallerReady(); break;
        case VER_DOWNLOAD_FAILED:
            if (updaterUnavailable_) OnVersionCleared();
            else if (updater.IsRunning()) updater.Post(WM_UPD_PROGRESS, -1, 0);
            break;
        case VER_NO_NETWORK:
        case VER_BAD_REPLY:
        case VER_UP_TO_DATE: OnVersionCleared(); break;
        default: break;
    }
}

void CLoginWnd::OnAccountPicked(std::intptr_t picker) {
    auto* combo = FindControl<ComboKiv>(login_wnd::kAccountBtn);
    if (!combo || ComboKiv::FromMessage(picker) != combo) return;
    const int index = combo->currentIndex();
    LoginRecordList logins;
    AccountStore(services_.store).RememberedNames(logins);
    // The list may have changed since the drop-down was filled.
    if (index < 0 || index >= static_cast<int>(logins.size())) return;
    FillFields(QString::fromStdString(logins[index].login_user), {});
    LeaveAccountEditing();
}

void CLoginWnd::PostToWorker(WorkerRequest request) {
    if (!services_.worker) {
        DebugLine("no worker to post the request to");
        return;
    }
    // Results go to whichever window asked last.
    services_.worker->SetResultWindow(GetHandle());
    services_.worker->Post(std::move(request));
}

std::intptr_t CLoginWnd::HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                             bool& handled) {
    handled = true;
    switch (number) {
        case WM_RES_LOGIN: OnLoginResult(static_cast<int>(wParam)); break;
        case WM_RES_SYNC: OnFirstSyncDone(); break;
        case WM_RES_CHECK_VER: OnVersionResult(static_cast<int>(wParam), lParam); break;
        case WM_COMBO_PICKED: OnAccountPicked(lParam); break;
        case WM_LOGIN_EMPTY_INPUT: ShowTip(kTipEmptyInput); break;
        case WM_LOGIN_SEND: PostToWorker(WorkerRequest::Plain(WM_REQ_LOGIN)); break;
        case WM_LOGIN_CHECK_VER: PostToWorker(WorkerRequest::Plain(WM_REQ_CHECK_VER)); break;
        case WM_LOGIN_RESUME: OnVersionCleared(); break;
        case WM_TIMER:
            if (static_cast<std::uintptr_t>(wParam) == kLoginTipTimer) OnTipTimer();
            else handled = false;
            break;
        default: handled = false; break;
    }
    return 0;
}

}  // namespace kivtal
