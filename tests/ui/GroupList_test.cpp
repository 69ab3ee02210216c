// The contact groups and the matter groups are one kind of list: the same name rules,
// the same answers to a stale row, and icons that post their message naming the list.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "ui/main/MattersPane.h"
#include "ui/main/PageSlide.h"
#include "ui/support/ContactsFixture.h"
#include "ui/toolkit/ControlAccess.h"

namespace kivtal {
namespace {

using test::AnswerBox;
using test::BoxAnswer;
using test::Pump;

struct ListCase {
    const char* what;
    const char* list;
    const char* fixedName;  // a fixed row's name, which no group may take
    const char* label;
    const char* edit;
    const char* ok;
    const char* table;
    bool mattersPage;
    std::function<int(LocalStore&, const std::string&)> addGroup;
};

const ListCase kLists[] = {
    {"contact groups", "table_list", "全部", "group_label", "group_edit", "group_edit_ok", "tb_bc_group", false,
     [](LocalStore& store, const std::string& name) {
         CardGroup group;
         group.group_name = name;
         EXPECT_EQ(ContactStore(store).AddGroup(group), StoreStatus::kOk);
         return group.group_id;
     }},
    {"matter groups", "matter_group_list", "默认", "matter_group_label", "matter_group_edit", "MatterGroup_edit_ok",
     "tb_event_group", true,
     [](LocalStore& store, const std::string& name) {
         EventGroup group;
         group.group_name = name;
         EXPECT_EQ(MatterStore(store).AddMatterGroup(group), StoreStatus::kOk);
         return group.group_id;
     }},
};

class GroupListTest : public test::HomeFixture {
protected:
    QListWidget* List(const ListCase& c) { return home->FindControl<QListWidget>(c.list); }
    std::intptr_t ListParam(const ListCase& c) { return reinterpret_cast<std::intptr_t>(List(c)); }
    QWidget* InRow(const ListCase& c, int groupId, const char* name) {
        QListWidget* list = List(c);
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toInt() == groupId)
                if (QWidget* row = list->itemWidget(list->item(i))) return row->findChild<QWidget*>(name);
        return nullptr;
    }
    void OpenOn(const ListCase& c) {
        Open();
        if (!c.mattersPage) return;
        home->ShowMattersPage();
        for (int i = 0; i < kSlideSteps; ++i) home->SendMessage(WM_TIMER, kSlideTimerId);
        Pump();
    }
    // Opens the name edit of a group and types text into it.
    QLineEdit* Rename(const ListCase& c, int groupId, const QString& text) {
        home->SendMessage(WM_UI_GROUP_RENAME, groupId, ListParam(c));
        auto* edit = qobject_cast<QLineEdit*>(InRow(c, groupId, c.edit));
        EXPECT_NE(edit, nullptr);
        if (edit) edit->setText(text);
        return edit;
    }
    bool Editing(const ListCase& c) {
        return c.mattersPage ? home->Matters()->EditingRow() != -1 : home->Contacts().EditingRow() != -1;
    }
    void Save(const ListCase& c, int groupId) {
        QWidget* ok = InRow(c, groupId, c.ok);
        ASSERT_NE(ok, nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
        Pump();
    }
};

TEST_F(GroupListTest, BothListsRefuseTakenNamesKeepAnEmptiedNameAndDropAStaleRow) {
    for (const ListCase& c : kLists) {
        SCOPED_TRACE(c.what);
        const int team = c.addGroup(store, "Team");
        OpenOn(c);

        BoxAnswer box;
        AnswerBox("btn_ok", box);
        Rename(c, team, QString::fromUtf8(c.fixedName));
        Save(c, team);
        EXPECT_EQ(box.text, "该组名已存在！");
        EXPECT_TRUE(Editing(c));

        // An emptied name is no name: the old one stays, nothing is written or synced.
        qobject_cast<QLineEdit*>(InRow(c, team, c.edit))->clear();
        Save(c, team);
        EXPECT_FALSE(Editing(c));
        EXPECT_EQ(ControlText(InRow(c, team, c.label)), "Team(0)");
        EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);

        // Deleted by a sync while the name was edited: told, and the row goes.
        Rename(c, team, QStringLiteral("New"));
        Exec(std::string("UPDATE ") + c.table + " SET group_state = 1;");
        AnswerBox("btn_ok", box);
        Save(c, team);
        EXPECT_EQ(box.text, "该分组已被删除");
        EXPECT_FALSE(Editing(c));
        EXPECT_EQ(InRow(c, team, c.edit), nullptr);
        EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);

        test::CloseAllWindows();
        worker.requests.clear();
    }
}

TEST_F(GroupListTest, TheRenameIconOpensTheEditOfItsOwnList) {
    for (const ListCase& c : kLists) {
        SCOPED_TRACE(c.what);
        const int id = c.addGroup(store, "Team");
        OpenOn(c);
        auto* rename = qobject_cast<QPushButton*>(InRow(c, id, c.mattersPage ? "matter_group_rename" : "group_rename"));
        ASSERT_NE(rename, nullptr);
        EXPECT_FALSE(rename->accessibleName().isEmpty());
        rename->click();
        ASSERT_TRUE(test::PumpUntil([&] { return Editing(c); }));
        EXPECT_EQ(qobject_cast<QLineEdit*>(InRow(c, id, c.edit))->text(), "Team");
        EXPECT_FALSE(c.mattersPage ? home->Contacts().EditingRow() != -1 : home->Matters()->EditingRow() != -1)
            << "the other list is not editing";
        test::CloseAllWindows();
    }
}

TEST_F(GroupListTest, ContactGroupIconsShowOnlyUnderTheMouse) {
    const int team = kLists[0].addGroup(store, "Team");
    Open();
    QWidget* rename = InRow(kLists[0], team, "group_rename");
    ASSERT_NE(rename, nullptr);
    QWidget* row = rename->parentWidget();
    EXPECT_FALSE(rename->isVisible());
    QTest::mouseMove(home->windowHandle(), row->mapTo(home.data(), QPoint(10, row->height() / 2)));
    EXPECT_TRUE(test::PumpUntil([&] { return rename->isVisible(); }));
    QTest::mouseMove(home->windowHandle(), QPoint(home->width() / 2, home->height() - 5));
    EXPECT_TRUE(test::PumpUntil([&] { return !rename->isVisible(); }));
}

}  // namespace
}  // namespace kivtal
