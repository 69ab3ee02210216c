#include "ui/dialogs/DuplicatesWnd.h"

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <unordered_map>

#include "duplicates/DefaultMerge.h"
#include "duplicates/MergeChoices.h"
#include "store/ContactStore.h"
#include "store/MergeStore.h"
#include "ui/dialogs/DuplicateChoiceTable.h"
#include "ui/dialogs/DuplicatesWndControls.h"
#include "ui/main/UndoNotice.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"  // MaskDlg.h holds a QPointer to it
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {

namespace {

const QString kStoreFailed = QStringLiteral("本机数据库读写失败，请稍后再试。");

QString ReasonsText(const duplicates::DuplicateGroup& group) {
    QStringList parts;
    for (const duplicates::GroupReason& r : group.reasons)
        parts << QStringLiteral("%1：%2").arg(QString::fromUtf8(duplicates::ReasonText(r.reason)),
                                              QString::fromStdString(r.value));
    return parts.join(QStringLiteral("；"));
}

}  // namespace

CDuplicatesWnd::CDuplicatesWnd(LocalStore& store) : store_(store) {}

void CDuplicatesWnd::InitWindow() {
    std::map<int, QString> groupNames;
    CardGroupList groups;
    if (ContactStore(store_).ContactGroupNames(groups) == 0)
        for (const CardGroup& g : groups) groupNames[g.group_id] = QString::fromStdString(g.group_name);
    if (auto* fields = FindControl<QTableWidget>(duplicates_wnd::kFields))
        table_ = new DuplicateChoiceTable(fields, std::move(groupNames));
    if (auto* list = FindControl<QListWidget>(duplicates_wnd::kGroups))
        connect(list, &QListWidget::currentRowChanged, this, [this](int row) { ShowGroup(row); });
    undo_ = new UndoNotice(this);
    undo_->SetAfterUndo([this] {
        changed_ = true;
        Reload();
    });
    Reload();
}

void CDuplicatesWnd::Notify(const QString& type, QWidget* sender) {
    if (type == u"windowinit") {
        if (QWidget* list = FindControl(duplicates_wnd::kGroups)) list->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (type != u"click") return;
    const QString name = ControlName(sender);
    if (name == duplicates_wnd::kMerge) Merge();
    else if (name == duplicates_wnd::kIgnore) Ignore();
    else if (name == duplicates_wnd::kClose || name == duplicates_wnd::kBtnClose)
        Close(changed_ ? kDuplicatesMerged : 1);
}

std::vector<QString> CDuplicatesWnd::EnterButtons() const { return {duplicates_wnd::kMerge}; }
std::vector<QString> CDuplicatesWnd::EscapeButtons() const { return {duplicates_wnd::kClose}; }

void CDuplicatesWnd::Reload(int row) {
    auto* list = FindControl<QListWidget>(duplicates_wnd::kGroups);
    if (list == nullptr || table_ == nullptr) return;
    if (duplicates::FindInStore(store_, {}, contacts_, groups_) != 0) {
        ShowTalMsgBox(QString(), this, kStoreFailed);
        groups_.clear();
    }
    std::unordered_map<int, const BusinessCard*> byId;
    for (const BusinessCard& c : contacts_) byId[c.bc_id] = &c;
    {
        const QSignalBlocker block(list);
        list->clear();
        for (const duplicates::DuplicateGroup& g : groups_) {
            QStringList names;
            for (int id : g.bcIds) names << QString::fromStdString(byId.at(id)->bc_name);
            auto* item = new QListWidgetItem(names.join(QStringLiteral(" / ")), list);
            item->setToolTip(ReasonsText(g));
        }
    }
    const bool any = !groups_.empty();
    for (const LayoutControl& c : {duplicates_wnd::kMerge, duplicates_wnd::kIgnore})
        if (QWidget* button = FindControl(c)) button->setEnabled(any);
    if (QWidget* empty = FindControl(duplicates_wnd::kEmpty)) empty->setVisible(!any);
    if (!any) {
        ShowGroup(-1);
        return;
    }
    list->setCurrentRow(std::min(row, list->count() - 1));
    ShowGroup(list->currentRow());
}

BusinessCardList CDuplicatesWnd::GroupCards(int row) const {
    BusinessCardList cards;
    for (int id : groups_[static_cast<std::size_t>(row)].bcIds)
        for (const BusinessCard& c : contacts_)
            if (c.bc_id == id) cards.push_back(c);
    return cards;
}

void CDuplicatesWnd::ShowGroup(int row) {
    auto* reasons = FindControl<QLabel>(duplicates_wnd::kReasons);
    if (row < 0 || row >= static_cast<int>(groups_.size())) {
        shown_.clear();
        table_->Clear();
        if (reasons) reasons->clear();
        return;
    }
    shown_ = GroupCards(row);
    if (reasons) reasons->setText(QStringLiteral("重复原因：") + ReasonsText(groups_[static_cast<std::size_t>(row)]));
    std::unordered_map<int, int> editTimes;
    MergeStore(store_).EditTimes(editTimes);  // without them every contact counts as old alike
    keeper_ = duplicates::DefaultKeeper(shown_);
    table_->Show(shown_, keeper_, duplicates::DefaultChoices(shown_, duplicates::EditedAt(shown_, editTimes), keeper_));
}

void CDuplicatesWnd::Merge() {
    if (shown_.size() < 2) return;
    const auto* list = FindControl<QListWidget>(duplicates_wnd::kGroups);
    const int row = list ? list->currentRow() : 0;
    const MergePlan plan = duplicates::ChosenPlan(shown_, keeper_, table_->Choices());
    MergeUndo done;
    const int result = MergeStore(store_).Merge({plan}, done);
    if (result == MergeStore::kNotLive) {
        ShowTalMsgBox(QString(), this, QStringLiteral("这组联系人已被修改或删除，请重新查看。"));
    } else if (result != 0) {
        ShowTalMsgBox(QString(), this, kStoreFailed);
        return;
    } else {
        changed_ = true;
        const QString what = QStringLiteral("%1 个重复联系人").arg(plan.otherIds.size());
        undo_->Offer(what, [this, done] { return MergeStore(store_).Undo(done) == 0; });
    }
    Reload(row);
}

void CDuplicatesWnd::Ignore() {
    const auto* list = FindControl<QListWidget>(duplicates_wnd::kGroups);
    if (list == nullptr || list->currentRow() < 0) return;
    const int row = list->currentRow();
    if (MergeStore(store_).IgnoreGroup(groups_[static_cast<std::size_t>(row)].bcIds) != 0) {
        ShowTalMsgBox(QString(), this, kStoreFailed);
        return;
    }
    Reload(row);
}

bool OpenDuplicatesWindow(WindowImplBase& owner, CMaskDlg* mask, LocalStore& store) {
    MaskCover cover(mask);
    auto* window = new CDuplicatesWnd(store);
    if (!window->Create(&owner, QStringLiteral("查找重复联系人"))) {
        delete window;
        return false;
    }
    window->CenterWindow();
    return window->ShowModal() == kDuplicatesMerged;
}

}  // namespace kivtal
