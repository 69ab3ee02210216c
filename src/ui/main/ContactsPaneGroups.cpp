// Adding, renaming and deleting contact groups in the group list.
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>

#include "net/LoginUser.h"
#include "store/ContactStore.h"
#include "store/TrashStore.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/GroupRow.h"
#include "ui/main/HomePage.h"
#include "ui/main/UndoNotice.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/TypedText.h"

namespace kivtal {
namespace {

const QString kNewGroupName = QStringLiteral("请输入组名");
const QString kTip = QStringLiteral("温馨提示");

}  // namespace

GroupRow* CContactsPane::GroupRowAt(int row) const {
    if (!groups_ || row < 0 || row >= groups_->count()) return nullptr;
    return qobject_cast<GroupRow*>(groups_->itemWidget(groups_->item(row)));
}

GroupRow* CContactsPane::EditingGroupRow() const { return GroupRowAt(home_.EditingRow()); }

int CContactsPane::RowOfGroup(int groupId) const {
    if (!groups_) return -1;
    for (int i = 0; i < groups_->count(); ++i) {
        const GroupRow* row = GroupRowAt(i);
        if (row && row->GroupId() == groupId) return i;
    }
    return -1;
}

GroupRow* CContactsPane::RowOfControl(QWidget* control) const {
    for (QWidget* w = control; w; w = w->parentWidget())
        if (auto* row = qobject_cast<GroupRow*>(w)) return row;
    return nullptr;
}

bool CContactsPane::NameTaken(const QString& name, const GroupRow* except) const {
    // The fixed rows' names are taken as well: a group called 全部 would read as the list of all.
    for (const QString& fixed : {QStringLiteral("全部"), QStringLiteral("常用")})
        if (name.compare(fixed, Qt::CaseInsensitive) == 0) return true;
    for (int i = 0; groups_ && i < groups_->count(); ++i) {
        const GroupRow* row = GroupRowAt(i);
        if (row && row != except && row->Name().compare(name, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

void CContactsPane::AddGroup() {
    if (!groups_) return;
    QString name = kNewGroupName;
    for (int n = 1; NameTaken(name, nullptr); ++n) name = kNewGroupName + QString::number(n);
    CardGroup group;
    group.group_name = TypedUtf8(name);
    if (ContactStore(store_).AddGroup(group) != 0) return;
    FinishOpenEdits();
    auto* item = new QListWidgetItem;
    // Before 回收站, which stays the last row.
    groups_->insertItem(std::max(0, groups_->count() - 1), item);
    item->setData(Qt::UserRole, group.group_id);
    item->setSizeHint(QSize(0, 32));
    auto* row = new GroupRow(group, home_.GetHandle());
    groups_->setItemWidget(item, row);
    home_.BindNotifications(row);
    groupNames_[group.group_id] = name;
    groups_->scrollToItem(item);
    StartEdit(groups_->row(item), true);
}

void CContactsPane::StartEdit(int rowIndex, bool isNew) {
    GroupRow* row = GroupRowAt(rowIndex);
    if (!row) return;
    SelectGroupRow(rowIndex);
    home_.SetEditingRow(rowIndex);
    row->StartEdit(isNew);
}

bool CContactsPane::SaveEdit(GroupRow* row, bool checkDuplicate) {
    if (!row) return false;
    const QString name = row->EditedText();
    if (name.isEmpty() || name == row->Name()) {
        // Nothing to write: an emptied name keeps the old one.
        EndEdit(row);
        return true;
    }
    if (checkDuplicate && NameTaken(name, row)) {
        ShowTalMsgBox(kTip, &home_, QStringLiteral("该组名已存在！"));
        row->Edit()->setFocus();
        return false;
    }
    ContactStore contacts(store_);
    CardGroup group;
    if (contacts.GroupById(row->GroupId(), group) != 0 || group.group_state != 0) {
        // Deleted meanwhile, here or on another device: the row is stale.
        EndEdit(row);
        ShowTalMsgBox(kTip, &home_, QStringLiteral("该分组已被删除"));
        Refresh();
        return false;
    }
    group.group_name = TypedUtf8(name);
    if (contacts.ModifyGroup(group) != 0) {
        // The typed name stays in the edit so that it can be corrected.
        ShowTalMsgBox(kTip, &home_, QStringLiteral("保存数据失败"));
        row->Edit()->setFocus();
        return false;
    }
    row->SetName(name);
    groupNames_[row->GroupId()] = name;
    EndEdit(row);
    RequestSync();
    return true;
}

void CContactsPane::EndEdit(GroupRow* row) {
    // Not editing before the strip hides: the focus it gives away must not ask to save.
    home_.SetEditingRow(-1);
    row->EndEdit();
    home_.OnGroupEditEnded();
}

void CContactsPane::CancelEdit(GroupRow* row) {
    if (!row) return;
    if (row->IsNew()) {
        DeleteGroup(row->GroupId(), false);
        return;
    }
    EndEdit(row);
}

void CContactsPane::FinishOpenEdits() {
    for (int i = 0; groups_ && i < groups_->count(); ++i) {
        GroupRow* row = GroupRowAt(i);
        if (row && row->Editing() && !row->EditedText().isEmpty()) SaveEdit(row, false);
        else if (row && row->Editing()) EndEdit(row);
    }
}

bool CContactsPane::AskSaveEdit() {
    GroupRow* row = EditingGroupRow();
    if (!row || asking_) return false;
    asking_ = true;
    const bool save = ShowTalMsgBox(kTip, &home_, QStringLiteral("是否保存分组名称？"), 1) == kMsgBoxOk;
    asking_ = false;
    if (save && SaveEdit(row, true)) return true;
    if (home_.EditingRow() != -1 && row->Editing()) row->Edit()->setFocus();
    return false;
}

void CContactsPane::DeleteGroup(int groupId, bool ask) {
    if (ask && ShowTalMsgBox(QStringLiteral("确定删除分组吗？"), &home_,
                             QStringLiteral("分组删除后，组里的联系人请到“全部”组中查找。"), 1, 1) != kMsgBoxOk)
        return;
    // The row going away is not saved first; every other open edit is.
    if (GroupRow* row = GroupRowAt(RowOfGroup(groupId)); row && row->Editing()) EndEdit(row);
    FinishOpenEdits();
    ContactStore contacts(store_);
    CardGroup group;
    if (contacts.GroupById(groupId, group) != 0) return;
    if (contacts.DeleteGroup(group) != 0) return;
    const int rowIndex = RowOfGroup(groupId);
    const bool wasChosen = groups_ && rowIndex == groups_->currentRow();
    if (rowIndex >= 0) {
        rebuilding_ = true;
        delete groups_->takeItem(rowIndex);
        rebuilding_ = false;
    }
    home_.SetEditingRow(-1);
    home_.OnGroupEditEnded();
    RequestSync();
    if (wasChosen) {
        SelectGroupRow(0);
        ReloadContacts();
    }
    // A group cancelled while new was never the user's to miss.
    if (ask)
        home_.Undo().Offer(QStringLiteral("分组“%1”").arg(QString::fromStdString(group.group_name)),
                           [this, groupId] { return TrashStore(store_).RestoreContactGroup(groupId) == 0; });
}

void CContactsPane::RequestSync() {
    if (LoginUser::Instance().snapshot().login_mode == LoginUserState::kModeOffline) return;
    home_.Post(WorkerRequest::Sync(SYNC_BY_OPER_EFFECT));
}

}  // namespace kivtal
