#pragma once
// The login window's scenes for kivtal-screens: fresh (placeholders), a remembered
// account (masked password), the password being typed, and a tip in the notice box.
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <vector>

#include "store/AccountStore.h"
#include "store/LocalStore.h"
#include "ui/dialogs/LoginWnd.h"
#include "ui/dialogs/LoginWndControls.h"
#include "ui/dialogs/UpdaterPort.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal::screens {

enum class LoginScene { Fresh, Remembered, Typing, Tip };

// A scratch login database per scene, so that scenes never touch the user's own.
inline LocalStore& LoginDemoStore(bool remembered) {
    static QTemporaryDir dir;
    static LocalStore fresh(StorePaths{dir.path().toStdString() + "/fresh/", "/nonexistent/doz2a_v3.db"});
    static LocalStore kept(StorePaths{dir.path().toStdString() + "/kept/", "/nonexistent/doz2a_v3.db"});
    static const bool filled = [] {
        fresh.EnsureLoginDb();
        kept.EnsureLoginDb();
        LoginRecord record;
        record.login_user = "zhangxm@kivtal.example";
        record.login_pwd = "0123456789abcdef0123456789abcdef";
        record.auto_login = 1;
        record.last_login = 1;
        AccountStore(kept).SaveLogin(record);
        return true;
    }();
    (void)filled;
    return remembered ? kept : fresh;
}

inline std::vector<QWidget*> ShowLogin(LoginScene scene, const std::function<void()>& settle) {
    LocalStore& store = LoginDemoStore(scene != LoginScene::Fresh);
    // Restart mode: the scenes fill the fields but never send anything.
    auto* login = new CLoginWnd(false, LoginWndServices{nullptr, store, AppUpdater(), {}});
    login->Create(nullptr, QStringLiteral("Kivtal"));
    login->move(40, 40);
    login->ShowWindow(true);
    login->activateWindow();
    settle();
    std::vector<QWidget*> windows{login};
    if (scene == LoginScene::Typing) {
        if (QWidget* label = login->FindControl(login_wnd::kPasswordShow)) label->setFocus(Qt::MouseFocusReason);
        if (auto* edit = login->FindControl<QLineEdit>(login_wnd::kInputPassword)) edit->setText("secret12");
        settle();
    } else if (scene == LoginScene::Tip) {
        login->PostMessage(WM_LOGIN_EMPTY_INPUT);
        settle();
        QThread::msleep(kLoginSettleMs + 100);
        settle();
        if (login->ProgressBox()) windows.push_back(login->ProgressBox());
    }
    return windows;
}

}  // namespace kivtal::screens
