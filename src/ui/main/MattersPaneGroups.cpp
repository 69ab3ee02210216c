// The matter groups: the store behind the pane's group list and the list's own look.
#include <QListWidget>

#include "store/MatterStore.h"
#include "store/TrashStore.h"
#include "ui/main/GroupList.h"
#include "ui/main/HomePage.h"
#include "ui/main/MattersPane.h"
#include "ui/main/MattersPaneControls.h"
#include "ui/toolkit/TypedText.h"

namespace kivtal {
namespace {

class MatterGroupBook final : public GroupBook {
public:
    explicit MatterGroupBook(LocalStore& store) : store_(store) {}

    int Add(const QString& name, int& groupId) override {
        EventGroup group;
        group.group_name = TypedUtf8(name);
        if (MatterStore(store_).AddMatterGroup(group) != StoreStatus::kOk) return 1;
        groupId = group.group_id;
        return 0;
    }
    Renamed Rename(int groupId, const QString& name) override {
        MatterStore matters(store_);
        EventGroup group;
        if (matters.MatterGroupById(groupId, group) != 0) return Renamed::kFailed;
        if (group.group_id != groupId || group.group_state != 0) return Renamed::kGone;
        group.group_name = TypedUtf8(name);
        return matters.ModifyMatterGroup(group) == StoreStatus::kOk ? Renamed::kSaved : Renamed::kFailed;
    }
    int Delete(int groupId, QString& name) override {
        MatterStore matters(store_);
        EventGroup group;
        if (matters.MatterGroupById(groupId, group) != 0 || group.group_id != groupId) return 1;
        if (matters.DeleteMatterGroup(group) != StoreStatus::kOk) return 1;
        name = QString::fromStdString(group.group_name);
        return 0;
    }
    bool Restore(int groupId) override { return TrashStore(store_).RestoreMatterGroup(groupId) == 0; }

private:
    LocalStore& store_;
};

GroupListKind MatterGroupsKind() {
    return {.row = {.label = matter_group_row::kLabel,
                    .rename = matter_group_row::kRename,
                    .remove = matter_group_row::kDelete,
                    .edit = matter_group_row::kEdit,
                    .editOk = matter_group_row::kEditOk,
                    .editCancel = matter_group_row::kEditCancel},
            .addButton = matters_pane::kAddGroup,
            .fixedNames = {kDefaultMatterGroup},
            .deleteText = QStringLiteral("分组删除后，组里的事项请到“默认”组中查找。")};
}

}  // namespace

void MattersPane::AttachGroups(QListWidget& list) {
    groupBook_ = std::make_unique<MatterGroupBook>(store_);
    groupList_ = new kivtal::GroupList(home_, list, MatterGroupsKind(), *groupBook_, home_.Undo());
    GroupListHooks hooks;
    hooks.editing = [this](int row) {
        if (row == -1) home_.OnGroupEditEnded();
    };
    hooks.stored = [this] { PostSync(); };
    hooks.deleted = [this](bool) { Refresh(); };
    hooks.stale = [this] { Refresh(); };
    groupList_->SetHooks(std::move(hooks));
}

int MattersPane::EditingRow() const { return groupList_ ? groupList_->EditingRow() : -1; }

}  // namespace kivtal
