// Every window on the smallest desktop served, 1366 x 768 (the test screen): each fits
// and opens on it, and one that grows stays on it.
#include <QScreen>
#include <functional>
#include <string>
#include <gtest/gtest.h>

#include "store/AccountStore.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/dialogs/DuplicatesWnd.h"
#include "ui/dialogs/SystemMsgWnd.h"
#include "ui/dialogs/UserSettingWnd.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/UserInforEditWnd.h"
#include "ui/support/HomeFixture.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/ScreenFit.h"

namespace kivtal {
namespace {

QRect Desktop() { return QGuiApplication::primaryScreen()->availableGeometry(); }

QRect GlobalRect(const QWidget& w) { return {w.mapToGlobal(QPoint(0, 0)), w.size()}; }

std::string Text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

TEST(ScreenFit, MovesAFrameTheLeastWayOntoTheDesktop) {
    const QRect desktop(0, 0, 1366, 728);
    const struct {
        const char* what;
        QRect frame, expected;
    } cases[] = {
        {"inside", QRect(100, 100, 600, 400), QRect(100, 100, 600, 400)},
        {"grown below the bottom", QRect(383, 238, 600, 622), QRect(383, 106, 600, 622)},
        {"off the right", QRect(1000, 50, 600, 300), QRect(766, 50, 600, 300)},
        {"off the top left", QRect(-40, -10, 300, 200), QRect(0, 0, 300, 200)},
        {"taller than the desktop: the caption stays", QRect(10, 300, 400, 900), QRect(10, 0, 400, 900)},
        {"exactly the desktop", desktop, desktop},
    };
    for (const auto& c : cases) EXPECT_EQ(Text(FitOnScreen(c.frame, desktop)), Text(c.expected)) << c.what;
    EXPECT_EQ(Text(FitOnScreen(QRect(5, 5, 10, 10), QRect())), Text(QRect(5, 5, 10, 10)));
}

class SmallDesktop : public test::HomeFixture {};

TEST_F(SmallDesktop, EveryWindowFitsAndOpensOnIt) {
    ASSERT_EQ(Desktop().size(), QSize(1366, 768));
    CHomePage& main = Open();
    const struct {
        const char* what;
        std::function<WindowImplBase*()> make;
    } windows[] = {
        {"main window", [&]() -> WindowImplBase* { return &main; }},
        {"matter editor", [&] { return new CAddMatterDlg(store, TalEvent{}, 0, MatterPage::NewMatter); }},
        {"contact editor", [&] { return CAddConnectionDlg::Open(store, &main, 0, 0); }},
        {"profile editor", [&] { return new CUserInforEditWnd(store, UserInfo{}); }},
        {"settings", [&] { return new CUserSettingWnd(store, main.GetHandle(), {}); }},
        {"news", [&] { return new CSystemMsgWnd(store, main.GetHandle()); }},
        {"duplicates", [&] { return new CDuplicatesWnd(store); }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.what);
        WindowImplBase* window = w.make();
        ASSERT_NE(window, nullptr);
        if (!window->FindControl(window->objectName()) && window->findChildren<QWidget*>().isEmpty())
            ASSERT_TRUE(window->Create(&main, QStringLiteral("窗口")));
        window->CenterWindow();
        window->ShowWindow(true);
        test::Pump();
        EXPECT_TRUE(Desktop().contains(window->frameGeometry())) << Text(window->frameGeometry());
    }
}

TEST_F(SmallDesktop, TheProfileEditorGrowingForItsFormKeepsSaveOnScreen) {
    auto* editor = new CUserInforEditWnd(store, UserInfo{});
    ASSERT_TRUE(editor->Create(nullptr, QStringLiteral("个人资料修改")));
    editor->CenterWindow();
    editor->ShowWindow(true);
    test::Pump();
    const int viewHeight = editor->height();
    test::ClickControl(*editor, "edit_btn");
    test::Pump();
    ASSERT_GT(editor->height(), viewHeight) << "the form is taller than the view";
    EXPECT_TRUE(Desktop().contains(editor->frameGeometry())) << Text(editor->frameGeometry());
    QWidget* save = editor->FindControl("Save_button");
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(Desktop().contains(GlobalRect(*save)));
}

}  // namespace
}  // namespace kivtal
