// 查找重复联系人 from the contacts pane's settings menu, and the main window's offer after a
// sync that brought in exact twins: both merge through the store in one transaction,
// with one undo, and ask the worker for a sync.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

#include "store/MergeStore.h"
#include "ui/dialogs/DuplicatesWnd.h"
#include "ui/dialogs/DuplicatesWndControls.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/MenuWndControls.h"
#include "ui/main/TwinsNotice.h"
#include "ui/main/UndoNotice.h"
#include "ui/support/AccessibleWalk.h"
#include "ui/support/ContactsFixture.h"

namespace kivtal::test {
namespace {

using Strings = std::vector<std::string>;

class DuplicatesTest : public ContactsFixture {
protected:
    int Add(BusinessCard card) {
        card.bc_name_pinyin = card.bc_name;
        EXPECT_EQ(ContactStore(store).AddContact(card), StoreStatus::kOk);
        return card.bc_id;
    }
    BusinessCard Person(const std::string& name, const std::string& mobile, const std::string& card = "") {
        BusinessCard c;
        c.bc_name = name;
        c.cell_phone = mobile;
        if (!card.empty()) c.bank_accounts.push_back(UserBankInfo{.bank_name = "ICBC", .ubank_card = card});
        return c;
    }
    std::vector<std::string> LiveCards(int bcId) {
        std::vector<std::string> cards;
        for (const UserBankInfo& a : Stored(bcId).bank_accounts)
            if (a.ubank_state == 0) cards.push_back(a.ubank_card);
        return cards;
    }

    // The window on its own, shown and initialised.
    CDuplicatesWnd& OpenWindow() {
        window = new CDuplicatesWnd(store);
        EXPECT_TRUE(window->Create(nullptr, QStringLiteral("查找重复联系人")));
        window->ShowWindow(true);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.data()));
        Pump();
        return *window;
    }
    QListWidget* GroupList(WindowImplBase& w) { return w.FindControl<QListWidget>(duplicates_wnd::kGroups); }
    QTableWidget* Fields(WindowImplBase& w) { return w.FindControl<QTableWidget>(duplicates_wnd::kFields); }
    void Key(Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key);
        Pump();
    }

    QPointer<CDuplicatesWnd> window;
};

TEST_F(DuplicatesTest, TheSettingsMenuOpensTheWindowAndEnterMergesTheGroupThatThenSyncs) {
    const int clients = AddGroup("客户");
    BusinessCard a = Person("张伟", "13800138000", "6222");
    a.group_id = clients;
    const int first = Add(a);
    BusinessCard b = Person("张 伟", "+86 138-0013-8000", "6333");
    b.company_name = "蓝海科技";
    Add(b);
    AddContact("李娜", "LINA");
    Open();

    QString reasons;
    QStringList problems;
    int groupsListed = -1;
    bool emptyShown = false, undoOffered = false;
    AnswerNextModal(duplicates_wnd::kClose, [&](WindowImplBase& w) {
        Pump();
        groupsListed = GroupList(w)->count();
        reasons = w.FindControl<QLabel>(duplicates_wnd::kReasons)->text();
        problems = AccessibleProblems(&w);
        EXPECT_EQ(QApplication::focusWidget(), GroupList(w)) << "opens on the group list";
        QTest::keyClick(GroupList(w), Qt::Key_Return);
        Pump();
        emptyShown = w.FindControl(duplicates_wnd::kEmpty)->isVisible();
        undoOffered = static_cast<CDuplicatesWnd&>(w).Undo().Showing();
    });
    // Through the menu as a user opens it: the settings button, then the item.
    ClickControl(*home, contacts_pane::kSettingsButton);
    const std::vector<WindowImplBase*> menus = VisibleWindows(QStringLiteral("ZELMenuWnd"));
    ASSERT_EQ(menus.size(), 1u);
    ClickControl(*menus.front(), setting_menu::kFindDuplicates);
    Pump();

    EXPECT_EQ(groupsListed, 1);
    EXPECT_EQ(reasons, QStringLiteral("重复原因：手机或办公电话相同：13800138000"));
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    EXPECT_TRUE(emptyShown);
    EXPECT_TRUE(undoOffered);
    EXPECT_EQ(Names(), (Strings{"李娜", "张 伟"})) << "the newer name; the older contact's row is kept";
    const BusinessCard kept = Stored(first);
    EXPECT_EQ(kept.company_name, "蓝海科技");
    EXPECT_EQ(kept.group_id, clients);
    EXPECT_EQ(LiveCards(first), (Strings{"6222", "6333"}));
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);
}

TEST_F(DuplicatesTest, AValueChosenWithTheKeyboardIsTheOneKeptAndTheMergeIsUndoneAsAWhole) {
    BusinessCard a = Person("王强", "13900000000");
    a.position = "经理";
    const int first = Add(a);
    BusinessCard b = Person("王强", "139 0000 0000");
    b.position = "总监";
    const int second = Add(b);
    const BusinessCard before = Stored(first);
    CDuplicatesWnd& w = OpenWindow();
    EXPECT_TRUE(AccessibleProblems(&w).isEmpty()) << AccessibleProblems(&w).join('\n').toStdString();

    // Tab to the table; its first row is the name, which both agree on; then the position.
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Fields(w));
    EXPECT_EQ(Fields(w)->verticalHeaderItem(1)->text(), QStringLiteral("职位"));
    EXPECT_EQ(Fields(w)->item(1, 1)->checkState(), Qt::Checked) << "the newer value by default";
    EXPECT_EQ(Fields(w)->item(0, 0)->flags() & Qt::ItemIsUserCheckable, 0) << "nothing to choose";
    Key(Qt::Key_Down);
    Key(Qt::Key_Space);
    EXPECT_EQ(Fields(w)->item(1, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(Fields(w)->item(1, 1)->checkState(), Qt::Unchecked);
    Key(Qt::Key_Space);
    EXPECT_EQ(Fields(w)->item(1, 0)->checkState(), Qt::Checked) << "a field always keeps one value";

    Key(Qt::Key_Return);
    EXPECT_EQ(Stored(first).position, "经理");
    EXPECT_EQ(Stored(second).bc_state, 1);
    ASSERT_TRUE(w.Undo().Showing());
    EXPECT_EQ(w.Undo().Text(), QStringLiteral("已删除 1 个重复联系人"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(Stored(first), before);
    EXPECT_EQ(Stored(second).bc_state, 0);
    EXPECT_EQ(GroupList(w)->count(), 1) << "listed again";
}

TEST_F(DuplicatesTest, AnIgnoredGroupStaysHiddenWhenTheWindowOpensAgain) {
    Add(Person("刘洋", "13700000000"));
    Add(Person("刘 洋", "13700000000"));
    Add(Person("赵敏", "13600000000"));
    Add(Person("Zhao Min", "136-0000-0000"));
    CDuplicatesWnd& w = OpenWindow();
    ASSERT_EQ(GroupList(w)->count(), 2);
    ClickControl(w, duplicates_wnd::kIgnore);
    EXPECT_EQ(GroupList(w)->count(), 1);
    EXPECT_EQ(GroupList(w)->item(0)->text(), QStringLiteral("赵敏 / Zhao Min"));
    w.Close(1);
    Pump();

    CDuplicatesWnd& again = OpenWindow();
    EXPECT_EQ(GroupList(again)->count(), 1);
    ClickControl(again, duplicates_wnd::kIgnore);
    EXPECT_TRUE(again.FindControl(duplicates_wnd::kEmpty)->isVisible());
    EXPECT_FALSE(again.FindControl(duplicates_wnd::kMerge)->isEnabled());
    EXPECT_EQ(Stored(1).bc_state, 0);
}

TEST_F(DuplicatesTest, TwinsBroughtInByASyncAreOfferedOnceAndMergedWithOneUndo) {
    const BusinessCard twin = Person("陈静", "13500000000", "6222");
    Add(twin);
    Add(twin);
    Add(Person("周杰", "13400000000"));
    Add(Person("周杰", "13400000000"));
    Add(Person("黄磊", "13300000000"));
    Open();
    TwinsNotice& notice = home->Twins();
    EXPECT_FALSE(notice.isVisible());

    home->SendMessage(WM_RES_SYNC, 0);
    Pump();
    ASSERT_TRUE(notice.isVisible());
    EXPECT_EQ(notice.Text(), QStringLiteral("同步带来了 2 个与本机联系人完全相同的联系人。"));
    for (const QString& problem : AccessibleProblems(home.data()))
        EXPECT_FALSE(problem.contains(QLatin1String(twins_notice::kNotice))) << problem.toStdString();
    const int syncs = worker.Count(WM_REQ_SYNC);
    ClickNamed(notice.findChild<QWidget*>(twins_notice::kMerge));
    EXPECT_FALSE(notice.isVisible());
    EXPECT_EQ(Names(), (Strings{"周杰", "陈静", "黄磊"}));
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), syncs + 1);
    ASSERT_TRUE(home->Undo().Showing());

    ClickNamed(home->Undo().findChild<QWidget*>(undo_notice::kButton));
    EXPECT_EQ(Names().size(), 5u);
    home->SendMessage(WM_RES_SYNC, 0);
    Pump();
    EXPECT_FALSE(notice.isVisible()) << "nothing came in; these were offered already";

    Add(Person("黄磊", "13300000000"));
    home->SendMessage(WM_RES_SYNC, 0);
    Pump();
    EXPECT_TRUE(notice.isVisible()) << "a new twin";
}

}  // namespace
}  // namespace kivtal::test
