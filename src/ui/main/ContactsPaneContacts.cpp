// What the pane does to one contact: the common mark, the editor, the contact menu,
// moving to a group; and the windows the pane opens under the mask (deleting:
// ContactsPaneTrash.cpp).
#include <QListWidget>

#include "store/ContactStore.h"
#include "ui/dialogs/ChangeGroupWnd.h"
#include "ui/dialogs/UserSettingWnd.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/ControlData.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/HomePage.h"
#include "ui/main/MenuWnd.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"  // MaskDlg.h holds a QPointer to it
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {

bool CContactsPane::OnRowNotify(const QString& type, QWidget* sender) {
    if (!list_) return false;
    if (type == u"itemclick" && sender == list_) {
        // Return or Space on a row, or a click beside its parts: the contact opens.
        if (list_->CurrentTag() != kNoTag) OpenEditor(static_cast<int>(list_->CurrentTag()));
        return true;
    }
    if (type != u"click" || sender->parentWidget() != list_) return false;
    const QString part = ControlName(sender);
    const int contactId = static_cast<int>(ControlTag(sender));
    if (part == kCommonPart) ToggleCommon(contactId);
    else if (part == kNamePart || part == kPhonePart) OpenEditor(contactId);
    else if (part == kMenuPart) {
        if (rows_->MenuOpenContact() == contactId) {
            rows_->SetMenuOpen(0);
            list_->viewport()->update();
        } else {
            OpenContactMenu(contactId);
        }
    }
    return true;
}

void CContactsPane::ToggleCommon(int contactId) {
    ContactStore contacts(store_);
    BusinessCard asRead;
    if (contacts.ContactById(contactId, asRead) != 0) return;
    BusinessCard card = asRead;
    card.common_use = card.common_use == 1 ? 0 : 1;
    if (contacts.SaveContactEdit(asRead, card) != StoreStatus::kOk) return;
    RequestSync();
    const int row = rows_->SetCommon(contactId, card.common_use == 1);
    if (search_) {
        // The rows a search shows next keep the new mark too.
        for (ContactRow& kept : searchRows_)
            if (kept.id == contactId) kept.common = card.common_use == 1;
    }
    if (list_ && row >= 0) list_->RefreshRow(row);
    // The counts change in place: the chosen group and its list stay where they are.
    UpdateGroupCounts();
}

void CContactsPane::OpenEditor(int contactId, int page) {
    if (!openEditor_) return;
    {
        MaskCover cover(home_.Mask());
        openEditor_(contactId, contactId == 0 ? SelectedGroupTag() : 0, page);
    }
    home_.RefreshPanes();
}

void CContactsPane::OpenContactMenu(int contactId) {
    const QRect button = GlobalPartRect(contactId, kMenuPart);
    if (button.isEmpty()) return;
    CMenuWnd* menu =
        ShowMenuAt(home_, new CMenuWnd(QStringLiteral("UserMenu.xml"), contactId), button.topLeft() + QPoint(-70, 13));
    if (!menu) return;
    rows_->SetMenuOpen(contactId);
    if (list_) list_->viewport()->update();
    connect(menu, &QObject::destroyed, this, [this, contactId] {
        if (rows_->MenuOpenContact() != contactId) return;
        rows_->SetMenuOpen(0);
        if (list_) list_->viewport()->update();
    });
}

void CContactsPane::OpenMenuBelow(const char* control, const QString& layout, const QPoint& offset) {
    QWidget* anchor = part_.Find(control);
    if (!anchor) return;
    // With no offset the menu drops below the control.
    const QPoint at =
        offset.isNull() ? anchor->mapToGlobal(QPoint(0, anchor->height())) : anchor->mapToGlobal(QPoint(0, 0)) + offset;
    ShowMenuAt(home_, new CMenuWnd(layout), at);
}

void CContactsPane::MoveToGroup(int contactId) {
    {
        MaskCover cover(home_.Mask());
        auto* window = new CChangeGroupWnd(store_, contactId);
        if (window->Create(&home_, QStringLiteral("移动分组"))) {
            window->CenterWindow();
            if (window->ShowModal() == kChangeGroupMoved) RequestSync();
        } else {
            delete window;
        }
    }
    home_.RefreshPanes();
}

void CContactsPane::OpenSettings() {
    MaskCover cover(home_.Mask());
    auto* window = new CUserSettingWnd(store_, home_.GetHandle(), [this] { RequestSync(); });
    if (!window->Create(&home_, QStringLiteral("软件设置"))) {
        delete window;
        return;
    }
    window->CenterWindow();
    window->ShowModal();
}

}  // namespace kivtal
