#pragma once
// The login window: remembered accounts, the masked password, automatic login, the
// progress and tip box, and the wait for the version check before the main window may
// open. Run with ShowModal(): 0 = logged in, 1 = end the program.
#include <QPointer>
#include <string>

#include "model/Records.h"
#include "net/WorkerRequest.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class LocalStore;
class UpdaterPort;
class WorkerLink;

// Login result codes the window acts on (WM_RES_LOGIN wParam).
inline constexpr int kLoginNoResultYet = -1234;
// The tip timer: how long a tip or failure stays on screen.
inline constexpr std::uintptr_t kLoginTipTimer = 130;
inline constexpr int kLoginTipMs = 3000;
// The pause before a tip is shown and before the window closes after the first sync.
inline constexpr int kLoginSettleMs = 1000;
// The remembered login is taken up once the window is painted, or after this long if it
// is not (a window that is not exposed is not painted).
inline constexpr int kRememberedLoginWaitMs = 200;

struct LoginWndServices {
    WorkerLink* worker = nullptr;  // nullptr: requests go nowhere
    LocalStore& store;
    UpdaterPort& updater;
    std::string installerPath;  // where the version check puts the installer
};

class CLoginWnd : public WindowImplBase {
    Q_OBJECT

public:
    // With the process's worker, store and updater. autoLoginAllowed is false when the
    // program restarts itself: the fields are filled but nothing is sent.
    explicit CLoginWnd(bool autoLoginAllowed);
    CLoginWnd(bool autoLoginAllowed, LoginWndServices services);
    ~CLoginWnd() override;

    QString GetSkinFile() const override { return QStringLiteral("LoginWnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELLoginWindow"); }

    // The notice box showing progress or a tip; nullptr when none is shown.
    CLoginMsgBoxWnd* ProgressBox() const;
    int StoredResult() const { return storedResult_; }
    bool VersionCleared() const { return versionCleared_; }
    bool ResultsIgnored() const { return resultsIgnored_; }

protected:
    void InitWindow() override;
    void Notify(const QString& type, QWidget* sender) override;
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    void OnFinalMessage() override;

private:
    // Flow (LoginWnd.cpp).
    void Initialise();
    void OnClick(const QString& name);
    void OnAccountLabelFocus();
    void FocusAccount();
    // The remembered login's digest, into the fields, and the automatic login.
    void UseRememberedLogin();
    void EnterAccountByUser();
    void SendLogin(bool stored);
    void OpenProgressBox();
    void ShowTip(QString text);
    void ShowTipNow(const QString& text);
    CLoginMsgBoxWnd* OpenNoticeBox(const QString& title);
    void OnTipTimer();
    void OnLoginResult(int result);
    void OnFirstSyncDone();
    void OnVersionResult(int code, std::intptr_t detail);
    void OnVersionCleared();
    void OnUpdaterStart();
    void OnInstallerReady();
    void OnAccountPicked(std::intptr_t picker);
    void PostToWorker(WorkerRequest request);
    bool ReadyToOpen() const;

    // Fields (LoginWndFields.cpp).
    void FillAccountList(const LoginRecordList& logins);
    void FillFields(const QString& account, const QString& password);
    void ShowPasswordLabel(bool masked);
    void ClearPassword();
    void EnterAccountEditing(bool focus);
    void LeaveAccountEditing();
    void EnterPasswordEditing();
    void LeavePasswordEditing();
    void HideField(QWidget* field);
    // A field's frame and icon: highlighted while editing, plain at rest.
    void StyleField(const char* page, const char* pic, const char* picImage, bool editing);
    QString FieldText(const char* name) const;
    void SetAttribute(const char* control, const char* attribute, const char* value);

    const bool autoLoginAllowed_;
    LoginWndServices services_;
    QPointer<CLoginMsgBoxWnd> progress_;
    int storedResult_ = kLoginNoResultYet;
    bool versionCleared_ = false;
    bool resultsIgnored_ = false;
    bool accountFocusSeen_ = false;  // the label's first focus is the window's own
    int tipAttempt_ = 0;             // counts progress boxes opened; a tip shows only in its own
    // The updater could not be started, so nobody will install or tell us to go on.
    bool updaterUnavailable_ = false;
    // The remembered account and password digest the fields were filled with; sending
    // them untouched sends the digest as it is instead of digesting it again.
    QString rememberedAccount_;
    QString rememberedDigest_;
};

}  // namespace kivtal
