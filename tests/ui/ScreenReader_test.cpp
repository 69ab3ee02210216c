// What a screen reader finds in the main window, the matters pane, the editors, settings,
// news and the message boxes: every interactive control named, roles that fit, hidden
// pages not showing, one focused control.
#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "store/ContentStore.h"
#include "store/MatterStore.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/dialogs/SystemMsgWnd.h"
#include "ui/dialogs/UserSettingWnd.h"
#include "ui/editors/UserInforEditWnd.h"
#include "ui/main/MattersPane.h"
#include "ui/support/AccessibleWalk.h"
#include "ui/support/HomeFixture.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {
namespace {

class ScreenReader : public test::HomeFixture {
protected:
    template <class Window>
    Window* Show(Window* w) {
        EXPECT_TRUE(w->Create(nullptr, QStringLiteral("窗口")));
        w->ShowWindow(true);
        test::Pump();
        return w;
    }
};

TEST_F(ScreenReader, TheMainWindowNamesItsButtonsAndTheMattersPane) {
    NewsList news(1);
    news[0] = {.news_title = "新", .news_content = "内容", .create_time = 1700000000, .news_server_id = 1};
    ASSERT_EQ(ContentStore(store).StoreNews(news), 0);
    EventGroup work;
    work.group_name = "工作";
    ASSERT_EQ(MatterStore(store).AddMatterGroup(work), StoreStatus::kOk);
    CHomePage& home = Open();
    const auto nodes = test::WalkAccessible(&home);
    const struct {
        const char* object;
        const char* name;
    } named[] = {{"logo", "官方网站"},
                 {"btn_cogradient", "同步数据"},
                 {"msg_tip", "系统消息，1条未读"},
                 {"btn_min", "最小化"},
                 {"btn_close", "关闭"}};
    for (const auto& n : named) {
        const test::AccessibleNode* node = test::FindAccessible(nodes, n.object);
        ASSERT_NE(node, nullptr) << n.object;
        EXPECT_EQ(node->name, QString::fromUtf8(n.name)) << n.object;
    }
    // The matters page is hidden behind the contacts page: nothing of it is showing.
    const test::AccessibleNode* matters = nullptr;
    for (const auto& node : nodes)
        if (node.objectName == "matter_page") matters = &node;
    ASSERT_NE(matters, nullptr);
    EXPECT_FALSE(matters->shown);

    home.ShowMattersPage();
    for (int i = 0; i < kSlideSteps; ++i) home.SendMessage(WM_TIMER, kSlideTimerId);
    test::Pump();
    QListWidget* groups = home.Matters()->GroupList();
    for (int row = 0; row < groups->count(); ++row) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(groups);
        ASSERT_NE(list, nullptr);
        bool found = false;
        for (int i = 0; i < list->childCount(); ++i)
            found = found || list->child(i)->text(QAccessible::Name) == (row == 0 ? "默认(0)" : "工作(0)");
        EXPECT_TRUE(found) << "row " << row;
    }
    // Every list reports its current row focused, whatever has the focus: that line is the
    // toolkit's, not this window's.
    QStringList problems = test::AccessibleProblems(&home);
    problems.removeIf([](const QString& p) { return p.startsWith(QStringLiteral("more than one focused")); });
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST_F(ScreenReader, EditorsSettingsAndNewsLeaveNothingUnnamed) {
    const struct {
        const char* what;
        std::function<WindowImplBase*()> open;
    } windows[] = {
        {"matter editor", [&] { return Show(new CAddMatterDlg(store, TalEvent{}, 0, MatterPage::NewMatter)); }},
        {"profile editor",
         [&] {
             auto* w = Show(new CUserInforEditWnd(store, UserInfo{}));
             test::ClickControl(*w, "edit_btn");
             return w;
         }},
        {"settings", [&] { return Show(new CUserSettingWnd(store, 0, {})); }},
        {"news", [&] { return Show(new CSystemMsgWnd(store, 0)); }},
    };
    for (const auto& w : windows) {
        WindowImplBase* window = w.open();
        test::Pump();
        const QStringList problems = test::AccessibleProblems(window);
        EXPECT_TRUE(problems.isEmpty()) << w.what << ":\n" << problems.join('\n').toStdString();
    }
}

TEST_F(ScreenReader, AQuestionBoxNamesItsTextAndButtons) {
    CHomePage& main = Open();
    QStringList problems{"not reached"};
    WindowImplBase::SetModalObserver([&](WindowImplBase& box) {
        WindowImplBase::SetModalObserver({});
        QTimer::singleShot(0, &box, [&problems, &box] {
            problems = test::AccessibleProblems(&box);
            box.Close(kMsgBoxCancel);
        });
    });
    ShowTalMsgBox(QString(), &main, QStringLiteral("确定删除吗？"), 1);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

}  // namespace
}  // namespace kivtal
