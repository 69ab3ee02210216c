#include "ui/main/GroupList.h"

#include <QLineEdit>
#include <QListWidget>

#include "ui/main/UndoNotice.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

const QString kNewGroupName = QStringLiteral("请输入组名");
const QString kTip = QStringLiteral("温馨提示");
constexpr int kRowHeight = 32;

// Rebuilding rows sets the current row: that is not the user's choice.
class FillGuard {
public:
    explicit FillGuard(bool& filling) : filling_(filling), was_(filling) { filling_ = true; }
    ~FillGuard() { filling_ = was_; }
    FillGuard(const FillGuard&) = delete;
    FillGuard& operator=(const FillGuard&) = delete;

private:
    bool& filling_;
    bool was_;
};

}  // namespace

GroupList::GroupList(WindowImplBase& window, QListWidget& list, GroupListKind kind, GroupBook& book, UndoNotice& undo)
    : QObject(&list), window_(window), list_(list), kind_(std::move(kind)), book_(book), undo_(undo) {}

// --- Rows ---

void GroupList::Clear() {
    FillGuard guard(filling_);
    list_.clear();
    trailing_ = 0;
    if (editingRow_ != -1) {
        editingRow_ = -1;
        if (hooks_.editing) hooks_.editing(-1);
    }
}

QListWidgetItem* GroupList::AddFixedRow(const QString& text, int tag, bool trailing) {
    FillGuard guard(filling_);
    auto* item = new QListWidgetItem(text, &list_);
    item->setData(Qt::UserRole, tag);
    item->setData(Qt::AccessibleTextRole, text.trimmed());
    item->setSizeHint(QSize(0, kRowHeight));
    if (trailing) ++trailing_;
    return item;
}

void GroupList::AddGroupRow(int groupId, const QString& name, int count) {
    FillGuard guard(filling_);
    auto* item = new QListWidgetItem;
    list_.insertItem(list_.count() - trailing_, item);
    item->setData(Qt::UserRole, groupId);
    item->setSizeHint(QSize(0, kRowHeight));
    auto* row = new GroupRow(kind_.row, groupId, name, count, &list_);
    item->setData(Qt::AccessibleTextRole, row->LabelText());
    list_.setItemWidget(item, row);
    window_.BindNotifications(row);
}

void GroupList::SetFixedText(int row, const QString& text) {
    if (QListWidgetItem* item = list_.item(row)) {
        item->setText(text);
        item->setData(Qt::AccessibleTextRole, text.trimmed());
    }
}

void GroupList::Select(int row) {
    FillGuard guard(filling_);
    list_.setCurrentRow(row);
}

int GroupList::SelectedTag(int fallback) const {
    const QListWidgetItem* item = list_.currentItem();
    return item ? item->data(Qt::UserRole).toInt() : fallback;
}

GroupRow* GroupList::RowAt(int row) const {
    if (row < 0 || row >= list_.count()) return nullptr;
    return qobject_cast<GroupRow*>(list_.itemWidget(list_.item(row)));
}

int GroupList::RowOfGroup(int groupId) const {
    for (int i = 0; i < list_.count(); ++i)
        if (const GroupRow* row = RowAt(i); row && row->GroupId() == groupId) return i;
    return -1;
}

GroupRow* GroupList::RowOfControl(QWidget* control) const {
    for (QWidget* w = control; w; w = w->parentWidget())
        if (auto* row = qobject_cast<GroupRow*>(w)) return row;
    return nullptr;
}

bool GroupList::NameTaken(const QString& name, const GroupRow* except) const {
    // The fixed rows' names are taken as well: a group called 全部 would read as the list of all.
    for (const QString& fixed : kind_.fixedNames)
        if (name.compare(fixed, Qt::CaseInsensitive) == 0) return true;
    for (int i = 0; i < list_.count(); ++i) {
        const GroupRow* row = RowAt(i);
        if (row && row != except && row->Name().compare(name, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

void GroupList::ShowMessage(const QString& text) { ShowTalMsgBox(kTip, &window_, text); }

// --- Choosing ---

bool GroupList::TakeChoice() {
    if (filling_) return false;
    const int editing = editingRow_;
    if (editing == -1) {
        FinishOpenEdits();
        return true;
    }
    if (list_.currentRow() != editing) AskSaveEdit();
    // The row being edited stays chosen, saved or not.
    if (editing < list_.count()) Select(editing);
    return false;
}

// --- Name edits ---

void GroupList::Add() {
    QString name = kNewGroupName;
    for (int n = 1; NameTaken(name, nullptr); ++n) name = kNewGroupName + QString::number(n);
    int groupId = 0;
    if (book_.Add(name, groupId) != 0) {
        ShowMessage(QStringLiteral("保存数据失败"));
        return;
    }
    FinishOpenEdits();
    AddGroupRow(groupId, name, 0);
    if (hooks_.named) hooks_.named(groupId, name);
    list_.scrollToItem(list_.item(RowOfGroup(groupId)));
    StartEdit(groupId, true);
}

void GroupList::StartEdit(int groupId, bool isNew) {
    // Finishing another edit may rebuild the rows: the row is looked up after it.
    FinishOpenEdits();
    const int rowIndex = RowOfGroup(groupId);
    GroupRow* row = RowAt(rowIndex);
    if (!row) return;
    Select(rowIndex);
    editingRow_ = rowIndex;
    if (hooks_.editing) hooks_.editing(rowIndex);
    row->StartEdit(isNew);
}

bool GroupList::Save(GroupRow* row, bool checkDuplicate) {
    if (!row) return false;
    const QString name = row->EditedText();
    if (name.isEmpty() || name == row->Name()) {
        // Nothing to write: an emptied name keeps the old one.
        EndEdit(row);
        return true;
    }
    if (checkDuplicate && NameTaken(name, row)) {
        ShowMessage(QStringLiteral("该组名已存在！"));
        row->Edit()->setFocus();
        return false;
    }
    switch (book_.Rename(row->GroupId(), name)) {
        case GroupBook::Renamed::kGone:
            // Deleted meanwhile, here or on another device: the rows are stale.
            EndEdit(row);
            ShowMessage(QStringLiteral("该分组已被删除"));
            if (hooks_.stale) hooks_.stale();
            return false;
        case GroupBook::Renamed::kFailed:
            // The typed name stays in the edit so that it can be corrected.
            ShowMessage(QStringLiteral("保存数据失败"));
            row->Edit()->setFocus();
            return false;
        case GroupBook::Renamed::kSaved: break;
    }
    row->SetName(name);
    if (QListWidgetItem* item = list_.item(RowOfGroup(row->GroupId())))
        item->setData(Qt::AccessibleTextRole, row->LabelText());
    EndEdit(row);
    if (hooks_.named) hooks_.named(row->GroupId(), name);
    if (hooks_.stored) hooks_.stored();
    return true;
}

void GroupList::EndEdit(GroupRow* row) {
    // Not editing before the strip hides: the focus it gives away must not ask to save.
    editingRow_ = -1;
    if (hooks_.editing) hooks_.editing(-1);
    row->EndEdit();
}

void GroupList::Cancel(GroupRow* row) {
    if (!row) return;
    // A row just added goes again: the user did not want it.
    if (row->IsNew()) Delete(row->GroupId(), false);
    else EndEdit(row);
}

void GroupList::FinishOpenEdits() {
    for (int i = 0; i < list_.count(); ++i) {
        QPointer<GroupRow> row = RowAt(i);
        if (!row || !row->Editing()) continue;
        // A name that cannot be saved is given up: another edit is about to begin.
        if (row->EditedText().isEmpty() || !Save(row, false))
            if (row && row->Editing()) EndEdit(row);
    }
}

bool GroupList::AskSaveEdit() {
    QPointer<GroupRow> row = RowAt(editingRow_);
    if (!row || asking_) return false;
    asking_ = true;
    const bool save = ShowTalMsgBox(kTip, &window_, QStringLiteral("是否保存分组名称？"), 1) == kMsgBoxOk;
    asking_ = false;
    if (save && Save(row, true)) return true;
    if (row && row->Editing()) row->Edit()->setFocus();
    return false;
}

void GroupList::OnFocus(QWidget* control) {
    // Adding a group and choosing a row finish the edit their own way; an untouched
    // name has nothing to save.
    GroupRow* editing = RowAt(editingRow_);
    if (asking_ || !editing || editing->OwnsStripControl(control) || control == &list_) return;
    if (control && control->objectName() == kind_.addButton) return;
    if (editing->EditedText() != editing->Name()) AskSaveEdit();
}

void GroupList::Delete(int groupId, bool ask) {
    if (ask && ShowTalMsgBox(QStringLiteral("确定删除分组吗？"), &window_, kind_.deleteText, 1, 1) != kMsgBoxOk) return;
    // The row going away is not saved first; every other open edit is.
    if (GroupRow* row = RowAt(RowOfGroup(groupId)); row && row->Editing()) EndEdit(row);
    FinishOpenEdits();
    QString name;
    if (book_.Delete(groupId, name) != 0) {
        ShowMessage(QStringLiteral("删除失败：本机数据库读写失败，请稍后再试。"));
        return;
    }
    const int rowIndex = RowOfGroup(groupId);
    const bool wasChosen = rowIndex >= 0 && rowIndex == list_.currentRow();
    if (rowIndex >= 0) {
        FillGuard guard(filling_);
        delete list_.takeItem(rowIndex);
    }
    if (hooks_.stored) hooks_.stored();
    if (hooks_.deleted) hooks_.deleted(wasChosen);
    // A group cancelled while new was never the user's to miss.
    if (ask) undo_.Offer(QStringLiteral("分组“%1”").arg(name), [this, groupId] { return book_.Restore(groupId); });
}

// --- Dispatch ---

bool GroupList::Notify(const QString& type, QWidget* sender) {
    if (type == u"setfocus") {
        OnFocus(sender);
        return false;
    }
    const QString name = sender ? sender->objectName() : QString();
    if (type == u"click" && name == kind_.addButton) {
        Add();
        return true;
    }
    GroupRow* row = sender && list_.isAncestorOf(sender) ? RowOfControl(sender) : nullptr;
    if (!row) return false;
    if (type == u"return" && name == kind_.row.edit) Save(row, true);
    else if (type == u"click" && name == kind_.row.editOk) Save(row, true);
    else if (type == u"click" && name == kind_.row.editCancel) Cancel(row);
    else return false;
    return true;
}

bool GroupList::HandleMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam) {
    if (number != WM_UI_GROUP_DELETE && number != WM_UI_GROUP_RENAME) return false;
    if (reinterpret_cast<QListWidget*>(lParam) != &list_) return false;
    const int groupId = static_cast<int>(wParam);
    if (number == WM_UI_GROUP_DELETE) Delete(groupId, true);
    else StartEdit(groupId, false);
    return true;
}

}  // namespace kivtal
