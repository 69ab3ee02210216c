// The tray, the menu commands and the ways the main window ends the program.
#include <QCursor>

#include "store/AccountStore.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/HomePage.h"
#include "ui/main/HomePageControls.h"
#include "ui/main/MattersPane.h"
#include "ui/main/MattersPaneControls.h"
#include "ui/main/MenuWnd.h"
#include "ui/main/MenuWndControls.h"
#include "ui/main/SysTray.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"  // MaskDlg.h holds a QPointer to it

namespace kivtal {

void CHomePage::OnTray(std::intptr_t mouseMessage) {
    if (mouseMessage == kTrayLeftButtonDown) {
        if (isMinimized()) showNormal();
        ShowWindow(true);
        activateWindow();
    } else if (mouseMessage == kTrayRightButtonUp) {
        ShowMenu(*this, new CMenuWnd(QStringLiteral("menu.xml")), QCursor::pos());
    }
}

void CHomePage::InitWindow() {
    // Each pane takes its part of the layout; the window only places the parts.
    contacts_->Attach(PanePart(*this, contacts_pane::kPart));
    matters_ = std::make_unique<MattersPane>(*this, store_, PanePart(*this, matters_pane::kPart));
    // The tray menu's items are also the window's own: a right click on the caption bar
    // opens them, so a desktop without a tray still offers "menu_exit".
    QWidget* caption = FindControl(home_page::kCaptionBar);
    if (!caption) return;
    caption->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(caption, &QWidget::customContextMenuRequested, this, [this, caption](const QPoint& at) {
        ShowMenu(*this, new CMenuWnd(QStringLiteral("menu.xml")), caption->mapToGlobal(at), Qt::TopLeftCorner);
    });
}

bool CHomePage::DesktopHasTray() const { return trayProbe_ ? trayProbe_() : QSystemTrayIcon::isSystemTrayAvailable(); }

void CHomePage::OnMenuItem(const QString& item, std::intptr_t lParam) {
    if (contacts_->OnMenuItem(item, lParam)) return;
    if (item == menu_wnd::kExit) {
        Post(WorkerRequest::Plain(WM_REQ_LOGOUT));
    } else if (item == menu_wnd::kRegist) {
        restart_ = true;
        Post(WorkerRequest::Plain(WM_REQ_LOGOUT));
    } else if (item == menu_wnd::kRecharge || item == u"menu_money") {
        Post(WorkerRequest::Plain(WM_REQ_OPEN_CHARGE));
    } else if (item == setting_menu::kUserSetting) {
        Post(WorkerRequest::Plain(WM_REQ_OPEN_SAFE));
    } else if (item == setting_menu::kReport) {
        Post(WorkerRequest::Plain(WM_REQ_OPEN_ABOUT));
    } else if (item == setting_menu::kUserMsg) {
        OpenProfileEditor();
    } else if (item == u"menu_addMatter") {
        if (matters_) matters_->NewMatter();
    }
}

void CHomePage::OnCloseButton() {
    UserSettings settings;  // its defaults stand when the table is empty
    if (AccountStore(store_).ReadSettings(settings) != 0) return;
    if (settings.exit_ways != 0) {
        Post(WorkerRequest::Plain(WM_REQ_LOGOUT));
        return;
    }
    // 0: the program stays in the tray. Without a tray a hidden window could be
    // neither found nor ended, so it goes to the task bar instead.
    if (DesktopHasTray()) ShowWindow(false);
    else showMinimized();
}

void CHomePage::OnFinalMessage() {
    if (mask_) mask_->Close(1);
    tray_->RemoveIcon();
}

}  // namespace kivtal
