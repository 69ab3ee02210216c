#include "ui/main/MenuWnd.h"

#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/MenuItems.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowRegistry.h"

namespace kivtal {

CMenuWnd::CMenuWnd(QString layout, std::intptr_t lParam) : layout_(std::move(layout)), lParam_(lParam) {}

void CMenuWnd::Notify(const QString& type, QWidget* sender) {
    if (type != u"click") return;
    const std::intptr_t item = MenuItemCode(ControlName(sender));
    if (item < 0) return;
    // Closed before the owner sees the item, so an item that opens a modal window does
    // not leave the menu hanging over it.
    Close(1);
    WindowRegistry::Post(owner_, WM_UI_MENU_ITEM, item, lParam_);
}

CMenuWnd* ShowMenu(WindowImplBase& owner, CMenuWnd* menu, const QPoint& point, Qt::Corner corner) {
    if (!menu->Create(&owner, QStringLiteral("menu"))) {
        delete menu;
        return nullptr;
    }
    menu->owner_ = owner.GetHandle();
    // A popup closes itself on a click elsewhere, which is the focus loss the menu
    // closes on; it also stays above every other window while open.
    menu->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    menu->adjustSize();
    const bool right = corner == Qt::TopRightCorner || corner == Qt::BottomRightCorner;
    const bool bottom = corner == Qt::BottomLeftCorner || corner == Qt::BottomRightCorner;
    menu->move(point - QPoint(right ? menu->width() : 0, bottom ? menu->height() : 0));
    menu->ShowWindow(true);
    menu->activateWindow();
    menu->setFocus(Qt::PopupFocusReason);
    return menu;
}

}  // namespace kivtal
