#pragma once
// A popup menu owned by a window: a column of item buttons named after their items
// ("menu_exit"). A click posts WM_UI_MENU_ITEM (wParam = the item's number of
// MenuItems.h, lParam = the menu's own value) to the owner and closes the menu; so
// does losing the focus, without posting.
#include <QPoint>

#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class CMenuWnd : public WindowImplBase {
    Q_OBJECT

public:
    // lParam goes with every item the menu posts (a contact id for a row's menu).
    explicit CMenuWnd(QString layout = QStringLiteral("menu.xml"), std::intptr_t lParam = 0);

    QString GetSkinFile() const override { return layout_; }
    QString GetWindowClassName() const override { return QStringLiteral("ZELMenuWnd"); }

protected:
    void Notify(const QString& type, QWidget* sender) override;
    int CaptionHeight() const override { return 0; }

private:
    QString layout_;
    std::intptr_t lParam_;
    WindowHandle owner_ = 0;

    friend CMenuWnd* ShowMenu(WindowImplBase&, CMenuWnd*, const QPoint&, Qt::Corner);
};

// Shows menu as a popup of owner with its corner (bottom-right unless told) at point
// (global coordinates), focused; takes ownership. nullptr when its layout cannot be
// loaded.
CMenuWnd* ShowMenu(WindowImplBase& owner, CMenuWnd* menu, const QPoint& point,
                   Qt::Corner corner = Qt::BottomRightCorner);

}  // namespace kivtal
