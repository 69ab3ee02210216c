// The matters pane's 回收站 and the undo offered after a matter, its remarks or a
// matter group were deleted, on a real main window over a scratch store.
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "model/WallClock.h"
#include "net/LoginUser.h"
#include "store/MatterStore.h"
#include "support/TestClock.h"
#include "ui/controls/EventPlan.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/main/MattersPane.h"
#include "ui/main/TrashView.h"
#include "ui/main/UndoNotice.h"
#include "ui/support/AccessibleWalk.h"
#include "ui/support/HomeFixture.h"

namespace kivtal {
namespace {

const std::int32_t kToday = *WallClockToTime(WallClock{.year = 2026, .month = 5, .day = 20, .hour = 10});

class MattersTrash : public test::HomeFixture {
protected:
    int AddMatter(const std::string& text, int group = 0) {
        TalEvent m;
        m.description = text;
        m.start_time = kToday;
        m.end_time = kToday + 3600;
        m.group_id = group;
        EXPECT_EQ(MatterStore(store).AddMatter(m), StoreStatus::kOk);
        return m.event_id;
    }
    TalEvent Stored(int id) {
        TalEvent m;
        EXPECT_EQ(MatterStore(store).MatterById(id, m), 0);
        return m;
    }
    MattersPane& Pane() { return *home->Matters(); }
    QListWidget* Groups() { return Pane().GroupList(); }
    QString LastRow() { return Groups()->item(Groups()->count() - 1)->text().trimmed(); }

    test::TestClock clock_{kToday};
    test::ScopedClock scoped_{clock_};
};

TEST_F(MattersTrash, TheTrashListsDeletedMattersAndRestoresOneOrAChoice) {
    std::vector<int> ids{AddMatter("周会"), AddMatter("拜访客户")};
    for (int id : ids) {
        TalEvent m = Stored(id);
        ASSERT_EQ(MatterStore(store).DeleteMatter(m), StoreStatus::kOk);
    }
    Open();
    // Visibility is read as the user sees it: the matters page must be the one on screen.
    home->ShowMattersPage();
    for (int i = 0; i < kSlideSteps; ++i) home->SendMessage(WM_TIMER, kSlideTimerId);
    test::Pump();
    EXPECT_EQ(LastRow(), "回收站(2)");
    Groups()->setCurrentRow(Groups()->count() - 1);
    test::Pump();
    TrashView* trash = Pane().Trash();
    ASSERT_NE(trash, nullptr);
    EXPECT_TRUE(trash->isVisible());
    EXPECT_FALSE(Pane().Timeline()->isVisible());
    ASSERT_EQ(trash->Records().size(), 2u);
    const QStringList problems = test::AccessibleProblems(trash);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();

    const int first = trash->Records()[0].id;
    QTest::mouseClick(trash->List()->viewport(), Qt::LeftButton, {}, trash->RestoreLinkRect(0).center());
    test::Pump();
    EXPECT_EQ(Stored(first).event_state, 0);
    EXPECT_EQ(LastRow(), "回收站(1)");
    EXPECT_EQ(Groups()->currentRow(), Groups()->count() - 1) << "the trash stays chosen";
    EXPECT_EQ(Groups()->item(0)->data(Qt::AccessibleTextRole).toString(), "默认(1)");

    trash->List()->selectAll();
    QTest::mouseClick(trash->findChild<QPushButton*>(trash_view::kRestore), Qt::LeftButton);
    test::Pump();
    EXPECT_TRUE(trash->Records().empty());
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 2);

    Groups()->setCurrentRow(0);
    test::Pump();
    EXPECT_FALSE(trash->isVisible());
    EXPECT_TRUE(Pane().Timeline()->isVisible());
}

TEST_F(MattersTrash, AMatterDeletedInItsEditorIsOfferedForUndoWithItsRemarks) {
    const int id = AddMatter("周会");
    EventComment remark;
    remark.event_id = id;
    remark.c_content = "带上报表";
    ASSERT_EQ(MatterStore(store).AddRemark(remark), StoreStatus::kOk);
    LoginUser::Instance().update([](LoginUserState& s) { s.login_mode = LoginUserState::kModeOffline; });
    Open();

    WindowImplBase::SetModalObserver([](WindowImplBase& w) {
        auto* editor = qobject_cast<CAddMatterDlg*>(&w);
        if (!editor) return;
        WindowImplBase::SetModalObserver({});
        test::AnswerNextModal("_btn_ok");
        test::ClickControl(*editor, "delete_matter_btn");
    });
    home->SendMessage(WM_UI_MATTER_DETAILS, id);
    test::Pump();
    ASSERT_EQ(Stored(id).event_state, 1);
    ASSERT_TRUE(home->Undo().Showing());
    EXPECT_EQ(home->Undo().Text(), "已删除 事项“周会”");

    ASSERT_TRUE(home->Undo().Undo());
    EXPECT_EQ(Stored(id).event_state, 0);
    EventCommentList remarks;
    ASSERT_EQ(MatterStore(store).RemarksOf(id, remarks), 0);
    EXPECT_EQ(remarks.size(), 1u) << "the remark went and came back with its matter";
    EXPECT_EQ(LastRow(), "回收站(0)");
}

TEST_F(MattersTrash, ADeletedMatterGroupComesBackOnUndo) {
    EventGroup work;
    work.group_name = "工作";
    ASSERT_EQ(MatterStore(store).AddMatterGroup(work), StoreStatus::kOk);
    AddMatter("周会", work.group_id);
    Open();
    test::AnswerNextModal("_btn_ok");
    home->SendMessage(WM_UI_GROUP_DELETE, work.group_id, reinterpret_cast<std::intptr_t>(Groups()));
    test::Pump();
    EXPECT_EQ(Groups()->count(), 2);
    ASSERT_TRUE(home->Undo().Showing());
    EXPECT_EQ(home->Undo().Text(), "已删除 分组“工作”");
    ASSERT_TRUE(home->Undo().Undo());
    ASSERT_EQ(Groups()->count(), 3);
    EXPECT_EQ(Groups()->item(1)->data(Qt::AccessibleTextRole).toString(), "工作(1)");
}

}  // namespace
}  // namespace kivtal
