// Deleting from the main window offers an undo; the contacts pane's 回收站 lists what
// was deleted and brings it back. Both restore through the store as edits that sync.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>

#include "store/TrashStore.h"
#include "ui/main/TrashView.h"
#include "ui/main/UndoNotice.h"
#include "ui/support/AccessibleWalk.h"
#include "ui/support/ContactsFixture.h"

namespace kivtal::test {
namespace {

using Strings = std::vector<std::string>;

class TrashUndoTest : public ContactsFixture {
protected:
    UndoNotice& Notice() { return home->Undo(); }
    void Choose(const std::vector<int>& rows) {
        QItemSelectionModel* selection = List()->selectionModel();
        selection->clearSelection();
        for (int row : rows) selection->select(List()->model()->index(row, 0), QItemSelectionModel::Select);
        List()->setFocus(Qt::TabFocusReason);
        Pump();
    }
    void ChooseTrash() { ChooseGroup(Groups()->count() - 1); }
    QPushButton* RestoreButton() {
        return Pane().Trash() ? Pane().Trash()->findChild<QPushButton*>(trash_view::kRestore) : nullptr;
    }
};

TEST_F(TrashUndoTest, UndoRightAfterADeleteBringsTheContactBackAndSyncs) {
    const int id = AddContact("安雅", "ANYA", AddGroup("客户"), 0, "13911112222");
    AddContact("陈立", "CHENLI");
    const BusinessCard before = Stored(id);
    Open();
    EXPECT_FALSE(Notice().Showing());

    BoxAnswer box;
    AnswerBox("_btn_ok", box);
    MenuItem("menu_user_delete", id);
    EXPECT_EQ(Names(), (Strings{"陈立"}));
    ASSERT_TRUE(Notice().Showing());
    EXPECT_EQ(Notice().Text(), "已删除 安雅");
    EXPECT_EQ(GroupTexts().back(), "回收站(1)");

    // The question box has gone: the main window is the active one again.
    home->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(home.data()));
    QTest::keyClick(home.data(), Qt::Key_Z, Qt::ControlModifier);
    Pump();
    EXPECT_FALSE(Notice().Showing());
    EXPECT_EQ(Stored(id), before) << "every field, its group included";
    EXPECT_EQ(Names(), (Strings{"安雅", "陈立"}));
    EXPECT_EQ(GroupTexts(), (Strings{"全部(2)", "常用(0)", "客户(1)", "回收站(0)"}));
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 2) << "the delete and the undo";

    QTest::keyClick(home.data(), Qt::Key_Z, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(Names().size(), 2u) << "Ctrl+Z does nothing once the notice is gone";
}

TEST_F(TrashUndoTest, ASelectionIsDeletedAfterOneQuestionAndComesBackWithOneUndo) {
    const int a = AddContact("安雅", "ANYA");
    AddContact("陈立", "CHENLI");
    const int c = AddContact("高峰", "GAOFENG");
    Open();
    Choose({0, 2});

    BoxAnswer box;
    AnswerBox("_btn_cancel", box);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(box.title, "确定删除选中的2个联系人吗？");
    EXPECT_EQ(Names().size(), 3u);

    AnswerBox("_btn_ok", box);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(Names(), (Strings{"陈立"}));
    EXPECT_EQ(Stored(a).bc_state + Stored(c).bc_state, 2);
    ASSERT_TRUE(Notice().Showing());
    EXPECT_EQ(Notice().Text(), "已删除 2个联系人");

    ClickNamed(Notice().findChild<QPushButton*>(undo_notice::kButton));
    EXPECT_EQ(Names(), (Strings{"安雅", "陈立", "高峰"}));
    EXPECT_FALSE(Notice().Showing());
}

TEST_F(TrashUndoTest, TheTrashListsDeletedContactsAndRestoresOneOrAChoice) {
    const std::vector<int> ids{AddContact("安雅", "ANYA"), AddContact("陈立", "CHENLI"), AddContact("高峰", "GAOFENG")};
    ASSERT_EQ(ContactStore(store).DeleteContacts(ids), StoreStatus::kOk);
    Open();
    EXPECT_EQ(GroupTexts().back(), "回收站(3)");
    ChooseTrash();
    TrashView* trash = Pane().Trash();
    ASSERT_NE(trash, nullptr);
    EXPECT_TRUE(trash->isVisible());
    EXPECT_FALSE(List()->isVisible());
    ASSERT_EQ(trash->Records().size(), 3u);
    const QString row = trash->List()->model()->index(0, 0).data(Qt::AccessibleTextRole).toString();
    EXPECT_TRUE(row.contains("删除于 ")) << row.toStdString();
    const QStringList problems = AccessibleProblems(trash);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    EXPECT_FALSE(RestoreButton()->isEnabled()) << "nothing chosen yet";

    // The link at the end of a row restores that contact alone.
    const int first = trash->Records()[0].id;
    const QRect link = trash->RestoreLinkRect(0);
    QTest::mouseClick(trash->List()->viewport(), Qt::LeftButton, {}, link.center());
    Pump();
    EXPECT_EQ(Stored(first).bc_state, 0);
    EXPECT_EQ(trash->Records().size(), 2u);
    EXPECT_EQ(GroupTexts().front(), "全部(1)");
    EXPECT_EQ(GroupTexts().back(), "回收站(2)");
    EXPECT_EQ(Groups()->currentRow(), Groups()->count() - 1) << "the trash stays chosen";

    trash->List()->selectAll();
    Pump();
    EXPECT_EQ(RestoreButton()->text(), "恢复所选(2)");
    ClickNamed(RestoreButton());
    EXPECT_TRUE(trash->Records().empty());
    EXPECT_EQ(GroupTexts().front(), "全部(3)");
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 2);

    ChooseGroup(0);
    EXPECT_FALSE(trash->isVisible());
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(TrashUndoTest, ADeletedGroupComesBackWithItsContactsOnUndo) {
    const int team = AddGroup("Team");
    AddContact("安雅", "ANYA", team);
    Open();
    BoxAnswer box;
    AnswerBox("_btn_ok", box);
    home->SendMessage(WM_UI_GROUP_DELETE, team);
    Pump();
    ASSERT_TRUE(Notice().Showing());
    EXPECT_EQ(Notice().Text(), "已删除 分组“Team”");
    ASSERT_TRUE(Notice().Undo());
    EXPECT_EQ(GroupTexts(), (Strings{"全部(1)", "常用(0)", "Team(1)", "回收站(0)"}));
}

}  // namespace
}  // namespace kivtal::test
