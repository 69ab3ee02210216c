// The contact groups: the store behind the pane's group list and the list's own look.
#include <QListWidget>

#include "store/ContactStore.h"
#include "store/TrashStore.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/GroupList.h"
#include "ui/main/HomePage.h"
#include "ui/toolkit/TypedText.h"

namespace kivtal {
namespace {

class ContactGroupBook final : public GroupBook {
public:
    explicit ContactGroupBook(LocalStore& store) : store_(store) {}

    int Add(const QString& name, int& groupId) override {
        CardGroup group;
        group.group_name = TypedUtf8(name);
        if (ContactStore(store_).AddGroup(group) != StoreStatus::kOk) return 1;
        groupId = group.group_id;
        return 0;
    }
    Renamed Rename(int groupId, const QString& name) override {
        ContactStore contacts(store_);
        CardGroup group;
        if (contacts.GroupById(groupId, group) != 0 || group.group_state != 0) return Renamed::kGone;
        group.group_name = TypedUtf8(name);
        return contacts.ModifyGroup(group) == StoreStatus::kOk ? Renamed::kSaved : Renamed::kFailed;
    }
    int Delete(int groupId, QString& name) override {
        ContactStore contacts(store_);
        CardGroup group;
        if (contacts.GroupById(groupId, group) != 0 || contacts.DeleteGroup(group) != StoreStatus::kOk) return 1;
        name = QString::fromStdString(group.group_name);
        return 0;
    }
    bool Restore(int groupId) override { return TrashStore(store_).RestoreContactGroup(groupId) == 0; }

private:
    LocalStore& store_;
};

GroupListKind ContactGroupsKind() {
    return {.row = {.label = group_row::kLabel,
                    .rename = group_row::kRename,
                    .remove = group_row::kDelete,
                    .edit = group_row::kEdit,
                    .editOk = group_row::kEditOk,
                    .editCancel = group_row::kEditCancel,
                    .iconsOnHover = true},
            .addButton = contacts_pane::kAddGroup,
            .fixedNames = {QStringLiteral("全部"), QStringLiteral("常用")},
            .deleteText = QStringLiteral("分组删除后，组里的联系人请到“全部”组中查找。")};
}

}  // namespace

void CContactsPane::AttachGroups(QListWidget& list) {
    groupBook_ = std::make_unique<ContactGroupBook>(store_);
    groupList_ = new GroupList(home_, list, ContactGroupsKind(), *groupBook_, home_.Undo());
    groupList_->SetHooks({
        .editing =
            [this](int row) {
                if (row == -1) home_.OnGroupEditEnded();
            },
        .named = [this](int groupId, const QString& name) { groupNames_[groupId] = name; },
        .stored = [this] { RequestSync(); },
        .deleted =
            [this](bool wasChosen) {
                if (!wasChosen) return;
                groupList_->Select(0);
                ReloadContacts();
            },
        .stale = [this] { Refresh(); },
    });
}

void CContactsPane::RequestSync() { home_.SyncAfterEdit(); }

}  // namespace kivtal
