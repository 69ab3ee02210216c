#include "ui/main/SysTray.h"

#include "ui/toolkit/UiMessages.h"

namespace kivtal {

CSysTray::CSysTray(WindowImplBase& window) : QObject(&window), window_(window) {}

void CSysTray::Setup(const QIcon& icon) {
    if (!IsAdded()) AddIcon(icon);
    SetTip(kTrayTip);
}

bool CSysTray::AddIcon(const QIcon& icon) {
    if (IsAdded() || icon.isNull()) return IsAdded();
    icon_ = new QSystemTrayIcon(icon, this);
    connect(icon_, &QSystemTrayIcon::activated, this, &CSysTray::OnActivated);
    icon_->show();
    return true;
}

bool CSysTray::SetTip(const QString& tip) {
    if (!IsAdded()) return false;
    icon_->setToolTip(tip);
    return true;
}

void CSysTray::RemoveIcon() {
    if (!IsAdded()) return;
    icon_->hide();
    delete icon_;
    icon_ = nullptr;
}

void CSysTray::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) window_.PostMessage(WM_UI_TRAY, kTrayIconId, kTrayLeftButtonDown);
    else if (reason == QSystemTrayIcon::Context) window_.PostMessage(WM_UI_TRAY, kTrayIconId, kTrayRightButtonUp);
}

}  // namespace kivtal
