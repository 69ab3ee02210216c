// The matter groups of the matters page: add, rename, cancel and delete.
#include <QLineEdit>
#include <QListWidget>
#include <cstdio>

#include "store/MatterStore.h"
#include "store/TrashStore.h"
#include "ui/main/HomePage.h"
#include "ui/main/MatterGroupRow.h"
#include "ui/main/MattersPane.h"
#include "ui/main/UndoNotice.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/TypedText.h"

namespace kivtal {
namespace {

const QString kNewGroupName = QStringLiteral("请输入组名");

}  // namespace

MatterGroupRow* MattersPane::RowWidget(int row) const {
    if (!groups_ || row < 1 || row >= groups_->count()) return nullptr;
    return qobject_cast<MatterGroupRow*>(groups_->itemWidget(groups_->item(row)));
}

int MattersPane::RowOfGroup(int groupId) const {
    for (int row = 1; groups_ && row < groups_->count(); ++row)
        if (MatterGroupRow* w = RowWidget(row); w && w->GroupId() == groupId) return row;
    return -1;
}

bool MattersPane::NameTaken(const QString& name, int exceptRow) const {
    if (name.compare(kDefaultMatterGroup, Qt::CaseInsensitive) == 0) return true;
    for (int row = 1; groups_ && row < groups_->count(); ++row)
        if (MatterGroupRow* w = RowWidget(row);
            w && row != exceptRow && w->Name().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void MattersPane::AddGroup() {
    if (!groups_) return;
    QString name = kNewGroupName;
    for (int n = 1; NameTaken(name, -1); ++n) name = kNewGroupName + QString::number(n);
    EventGroup group;
    group.group_name = TypedUtf8(name);
    if (MatterStore(store_).AddMatterGroup(group) != 0) {
        std::puts("添加分组失败");
        return;
    }
    std::puts("添加分组成功!");
    FinishOpenEdits();
    filling_ = true;
    auto* item = new QListWidgetItem;
    groups_->insertItem(NewGroupRowIndex(), item);
    item->setData(Qt::UserRole, group.group_id);
    item->setSizeHint(QSize(0, 32));
    auto* row = new MatterGroupRow(group.group_id, name, 0, groups_);
    groups_->setItemWidget(item, row);
    home_.BindNotifications(row);
    filling_ = false;
    StartEdit(groups_->row(item), true);
}

void MattersPane::StartEdit(int row, bool isNew) {
    MatterGroupRow* w = RowWidget(row);
    if (!w) return;
    FinishOpenEdits();
    {
        const QSignalBlocker block(groups_);
        groups_->setCurrentRow(row);
    }
    editingRow_ = row;
    w->StartEdit(isNew);
}

bool MattersPane::SaveEdit(bool checkDuplicate) {
    MatterGroupRow* w = RowWidget(editingRow_);
    if (!w) return false;
    const QString name = w->EditText();
    if (name.isEmpty()) {
        // An empty name is never stored: the edit stays open for a real one.
        ShowTalMsgBox(QString(), &home_, QStringLiteral("分组名称不能为空"));
        w->Edit()->setFocus();
        return false;
    }
    if (checkDuplicate && NameTaken(name, editingRow_)) {
        ShowTalMsgBox(QString(), &home_, QStringLiteral("该组名已存在！"));
        w->Edit()->setFocus();
        return false;
    }
    EventGroup group;
    MatterStore ms(store_);
    if (ms.MatterGroupById(w->GroupId(), group) == 0 && group.group_id == w->GroupId()) {
        group.group_name = TypedUtf8(name);
        if (ms.ModifyMatterGroup(group) == 0) {
            w->SetName(name);
            PostSync();
        }
    }
    w->EndEdit();
    editingRow_ = -1;
    return true;
}

void MattersPane::CancelEdit() {
    if (MatterGroupRow* w = RowWidget(editingRow_)) w->EndEdit();
    editingRow_ = -1;
}

void MattersPane::FinishOpenEdits() {
    for (int row = 1; groups_ && row < groups_->count(); ++row) {
        MatterGroupRow* w = RowWidget(row);
        if (!w || !w->Editing()) continue;
        editingRow_ = row;
        if (w->EditText().isEmpty() || !SaveEdit(false)) w->EndEdit();
    }
    editingRow_ = -1;
}

void MattersPane::DeleteGroup(int groupId, bool ask) {
    if (ask && ShowTalMsgBox(QStringLiteral("确定删除分组吗？"), &home_,
                             QStringLiteral("分组删除后，组里的事项请到“默认”组中查找。"), 1, 1) != kMsgBoxOk)
        return;
    EventGroup group;
    MatterStore ms(store_);
    if (ms.MatterGroupById(groupId, group) != 0 || group.group_id != groupId) return;
    if (ms.DeleteMatterGroup(group) != 0) return;
    const int row = RowOfGroup(groupId);
    if (row >= 0) delete groups_->takeItem(row);
    editingRow_ = -1;
    PostSync();
    Refresh();
    // A group cancelled while new was never the user's to miss.
    if (ask)
        home_.Undo().Offer(QStringLiteral("分组“%1”").arg(QString::fromStdString(group.group_name)),
                           [this, groupId] { return TrashStore(store_).RestoreMatterGroup(groupId) == 0; });
}

}  // namespace kivtal
