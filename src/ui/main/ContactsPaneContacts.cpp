// What the pane does to one contact: the common mark, the editor, the contact menu,
// moving to a group, deleting; and the windows the pane opens under the mask.
#include <QListWidget>

#include "store/ContactStore.h"
#include "ui/dialogs/ChangeGroupWnd.h"
#include "ui/dialogs/UserSettingWnd.h"
#include "ui/main/ContactListView.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/HomePage.h"
#include "ui/main/MenuWnd.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"  // MaskDlg.h holds a QPointer to it
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {
namespace {

// Lays the mask over the main window while a modal window of the pane runs.
class MaskCover {
public:
    explicit MaskCover(CMaskDlg* mask) : mask_(mask) {
        if (mask_) mask_->CoverOwner();
    }
    ~MaskCover() {
        if (mask_) mask_->ShowWindow(false);
    }
    MaskCover(const MaskCover&) = delete;
    MaskCover& operator=(const MaskCover&) = delete;

private:
    QPointer<CMaskDlg> mask_;
};

}  // namespace

void CContactsPane::OnRowPart(RowPart part, int contactId) {
    switch (part) {
    case RowPart::Common: ToggleCommon(contactId); break;
    case RowPart::Name:
    case RowPart::CellPhone: OpenEditor(contactId); break;
    case RowPart::Menu:
        if (rows_.MenuOpenContact() == contactId) rows_.SetMenuOpen(0);
        else OpenContactMenu(contactId);
        break;
    default: break;
    }
}

void CContactsPane::ToggleCommon(int contactId) {
    ContactStore contacts(store_);
    BusinessCard card;
    if (contacts.ContactById(contactId, card) != 0) return;
    card.common_use = card.common_use == 1 ? 0 : 1;
    if (contacts.ModifyContact(card) != 0) return;
    RequestSync();
    rows_.SetCommon(contactId, card.common_use == 1);
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
    if (!list_) return;
    const QRect button = list_->GlobalPartRect(contactId, RowPart::Menu);
    if (button.isEmpty()) return;
    CMenuWnd* menu = ShowMenuAt(home_, new CMenuWnd(QStringLiteral("UserMenu.xml"), contactId),
                                button.topLeft() + QPoint(-70, 13));
    if (!menu) return;
    rows_.SetMenuOpen(contactId);
    connect(menu, &QObject::destroyed, this, [this, contactId] {
        if (rows_.MenuOpenContact() == contactId) rows_.SetMenuOpen(0);
    });
}

void CContactsPane::OpenMenuBelow(const char* control, const QString& layout, const QPoint& offset) {
    QWidget* anchor = home_.FindControl(control);
    if (!anchor) return;
    // With no offset the menu drops below the control.
    const QPoint at = offset.isNull() ? anchor->mapToGlobal(QPoint(0, anchor->height()))
                                      : anchor->mapToGlobal(QPoint(0, 0)) + offset;
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

void CContactsPane::DeleteContact(int contactId) {
    if (ShowTalMsgBox(QStringLiteral("确定删除该联系人吗？"), &home_, QStringLiteral("删除后，该联系人将无法恢复。"), 1,
                      1) != kMsgBoxOk)
        return;
    ContactStore contacts(store_);
    BusinessCard card;
    if (rows_.RowOfContact(contactId) >= 0 && contacts.ContactById(contactId, card) == 0 &&
        contacts.DeleteContact(card) == 0) {
        rows_.Remove(contactId);
        RequestSync();
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
