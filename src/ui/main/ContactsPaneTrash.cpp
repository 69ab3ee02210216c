// The contacts pane's trash (回收站, the group list's last row), deleting the chosen
// contacts, and the undo the main window offers after a delete.
#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QListWidget>
#include <algorithm>

#include "model/Clock.h"
#include "store/ContactStore.h"
#include "store/TrashStore.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/GroupList.h"
#include "ui/main/HomePage.h"
#include "ui/main/TrashView.h"
#include "ui/main/UndoNotice.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {
namespace {

QString TrashRowText(LocalStore& store) {
    int count = 0;
    if (TrashStore(store).CountDeletedContacts(TrashStore::WindowStart(NowSeconds()), count) != 0)
        return QStringLiteral("回收站");
    return QStringLiteral("回收站(%1)").arg(count);
}

}  // namespace

TrashView* CContactsPane::Trash() const { return trash_; }

void CContactsPane::AddTrashRow() { groupList_->AddFixedRow(TrashRowText(store_), kTrashTag, true); }

void CContactsPane::UpdateTrashCount() {
    if (!groups_ || groups_->count() == 0) return;
    const int last = groups_->count() - 1;
    if (groups_->item(last)->data(Qt::UserRole).toInt() == kTrashTag)
        groupList_->SetFixedText(last, TrashRowText(store_));
}

void CContactsPane::ShowTrash(bool shown) {
    if (shown && !trash_) {
        QWidget* page = list_ ? list_->parentWidget() : nullptr;
        auto* layout = page ? qobject_cast<QBoxLayout*>(page->layout()) : nullptr;
        if (!layout) return;
        trash_ = new TrashView(store_, kContactTrash, page);
        layout->insertWidget(layout->indexOf(list_) + 1, trash_, 1);
        trash_->SetOnRestored([this] {
            RequestSync();
            // The counts of 全部, the groups and the trash all change; the trash stays chosen.
            RebuildGroups();
            SelectGroupRow(groups_ ? groups_->count() - 1 : 0);
        });
    }
    if (!trash_) return;
    if (shown) {
        for (const LayoutControl& c : {contacts_pane::kHeader, contacts_pane::kContactList, contacts_pane::kGroupEmpty,
                                       contacts_pane::kContactsEmpty, contacts_pane::kLetterBar})
            if (QWidget* control = part_.Find(c)) control->hide();
        trash_->Reload();
    } else if (QWidget* letters = part_.Find(contacts_pane::kLetterBar)) {
        letters->show();
    }
    trash_->setVisible(shown);
}

std::vector<int> CContactsPane::ChosenContacts() const {
    std::vector<int> ids;
    if (!list_) return ids;
    QModelIndexList chosen = list_->selectionModel()->selectedRows();
    std::sort(chosen.begin(), chosen.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : chosen) ids.push_back(static_cast<int>(rows_->RowTag(index.row())));
    if (ids.empty() && list_->CurrentTag() > 0) ids.push_back(static_cast<int>(list_->CurrentTag()));
    return ids;
}

void CContactsPane::DeleteContacts(std::vector<int> ids) {
    std::erase_if(ids, [this](int id) { return id <= 0 || rows_->RowOfContact(id) < 0; });
    if (ids.empty()) return;
    const QString title = ids.size() == 1 ? QStringLiteral("确定删除该联系人吗？")
                                          : QStringLiteral("确定删除选中的%1个联系人吗？").arg(ids.size());
    if (ShowTalMsgBox(title, &home_, QStringLiteral("删除后可在回收站中找回，保留30天。"), 1, 1) != kMsgBoxOk) return;
    const QString what = ids.size() == 1 ? rows_->RowAt(rows_->RowOfContact(ids[0]))->name
                                         : QStringLiteral("%1个联系人").arg(ids.size());
    if (ContactStore(store_).DeleteContacts(ids) != StoreStatus::kOk) {
        ShowTalMsgBox(QString(), &home_, QStringLiteral("删除失败：本机数据库读写失败，请稍后再试。"));
        return;
    }
    for (int id : ids) rows_->Remove(id);
    ShowRowsChanged();
    RequestSync();
    home_.RefreshPanes();
    home_.Undo().Offer(what, [this, ids] { return TrashStore(store_).RestoreContacts(ids) == 0; });
}

}  // namespace kivtal
