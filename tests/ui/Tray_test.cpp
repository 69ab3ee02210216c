// The tray icon of the main window and its popup menu, on real windows.
#include <QCursor>
#include <QSystemTrayIcon>
#include <QTest>

#include "ui/main/MenuWnd.h"
#include "ui/main/SysTray.h"
#include "ui/support/HomeFixture.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/MenuItems.h"
#include "ui/toolkit/NoticeBox.h"

namespace kivtal {
namespace {

using test::HomeFixture;
using test::Pump;
using test::PumpUntil;
using test::VisibleWindows;

TEST_F(HomeFixture, TrayIconIsAddedOnceAndRepeatedInitOnlyResetsTheTip) {
    CHomePage& home = Open();
    ASSERT_TRUE(home.Tray()->IsAdded());
    QSystemTrayIcon* icon = home.Tray()->Icon();
    EXPECT_EQ(icon->toolTip(), "Kivtal");
    EXPECT_FALSE(icon->icon().isNull());
    CMaskDlg* mask = home.Mask();

    icon->setToolTip("changed");
    home.PostMessage(WM_UI_HOME_INIT);
    Pump();
    EXPECT_EQ(home.findChildren<QSystemTrayIcon*>().size(), 1);
    EXPECT_EQ(home.Tray()->Icon(), icon);
    EXPECT_EQ(icon->toolTip(), "Kivtal");
    EXPECT_EQ(home.Mask(), mask);
}

TEST(SysTray, WithoutAnIconNothingIsAddedAndTheTipIsRefused) {
    test::TempDir dir;
    LocalStore store(StorePaths{dir.path(), "/nonexistent/ref.db"});
    CHomePage home(store);  // any window: the tray needs one to report to
    CSysTray tray(home);
    tray.Setup(QIcon());
    EXPECT_FALSE(tray.IsAdded());
    EXPECT_FALSE(tray.SetTip("Kivtal"));
}

TEST_F(HomeFixture, LeftClickOnTheTrayShowsTheHiddenWindow) {
    CHomePage& home = Open();
    test::ClickControl(home, "btn_close");  // exit_ways 0: into the tray
    ASSERT_FALSE(home.isVisible());
    emit home.Tray()->Icon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(PumpUntil([&] { return home.isVisible(); }));
}

TEST_F(HomeFixture, RightClickOpensTheMenuAtTheCursorAndItsItemsReachTheWindow) {
    CHomePage& home = Open();
    QCursor::setPos(600, 500);
    emit home.Tray()->Icon()->activated(QSystemTrayIcon::Context);
    ASSERT_TRUE(PumpUntil([] { return VisibleWindows("ZELMenuWnd").size() == 1; }));
    WindowImplBase* menu = VisibleWindows("ZELMenuWnd").front();
    EXPECT_EQ(menu->geometry().bottomRight() + QPoint(1, 1), QCursor::pos());

    test::ClickControl(*menu, "menu_regist");
    EXPECT_TRUE(menu->IsClosing());
    EXPECT_TRUE(PumpUntil([&] { return worker.Count(WM_REQ_LOGOUT) == 1; }));
    EXPECT_TRUE(home.restartRequested());
    EXPECT_TRUE(VisibleWindows("ZELMenuWnd").empty());
}

TEST_F(HomeFixture, MenuItemsTravelAsValuesAndUnknownOnesAreIgnored) {
    EXPECT_EQ(MenuItemName(MenuItemCode("menu_exit")), "menu_exit");
    EXPECT_EQ(MenuItemCode("no_such_item"), -1);
    EXPECT_TRUE(MenuItemName(-1).isEmpty());
    EXPECT_TRUE(MenuItemName(100000).isEmpty());

    CHomePage& home = Open();
    home.PostMessage(WM_UI_MENU_ITEM, 100000);
    home.PostMessage(WM_UI_MENU_ITEM, -1);
    Pump();
    EXPECT_TRUE(worker.requests.empty());
    EXPECT_FALSE(home.IsClosing());
}

TEST_F(HomeFixture, AMenuWhoseOwnerHasClosedPostsNothing) {
    CHomePage& home = Open();
    CMenuWnd* menu = ShowMenu(home, new CMenuWnd, QPoint(400, 400));
    ASSERT_NE(menu, nullptr);
    const QPointer<CMenuWnd> alive(menu);
    home.Close(1);  // the menu, owned by the window, goes with it
    Pump();
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(worker.Count(WM_REQ_LOGOUT), 0);
}

// A desktop without a status area: hiding the window would leave a program nobody
// can reach or end.
TEST_F(HomeFixture, WithoutATrayCloseMinimisesAndTheWindowsOwnMenuEndsTheProgram) {
    trayShown = false;
    CHomePage& home = Open();  // exit_ways 0
    test::ClickControl(home, "btn_close");
    EXPECT_TRUE(home.isVisible());
    EXPECT_TRUE(home.isMinimized());
    EXPECT_FALSE(home.IsClosing());
    EXPECT_EQ(worker.Count(WM_REQ_LOGOUT), 0);

    home.showNormal();  // back from the task bar
    QWidget* caption = home.FindControl("app_name");
    ASSERT_NE(caption, nullptr);
    QTest::mouseClick(home.windowHandle(), Qt::RightButton, {}, caption->mapTo(&home, caption->rect().center()));
    ASSERT_TRUE(PumpUntil([] { return VisibleWindows("ZELMenuWnd").size() == 1; }));
    for (const char* item : {"menu_recharge", "menu_regist", "menu_exit"})
        EXPECT_NE(VisibleWindows("ZELMenuWnd").front()->FindControl(item), nullptr) << item;
    test::ClickControl(*VisibleWindows("ZELMenuWnd").front(), "menu_exit");
    EXPECT_TRUE(PumpUntil([&] { return worker.Count(WM_REQ_LOGOUT) == 1; }));
}

TEST_F(HomeFixture, FinalTeardownRemovesTheTrayIconAndTheMask) {
    CHomePage& home = Open();
    const QPointer<CMaskDlg> mask(home.Mask());
    home.PostMessage(WM_RES_LOGOUT, 0);
    ASSERT_TRUE(PumpUntil([&] { return home.IsClosing(); }));
    EXPECT_FALSE(home.Tray()->IsAdded());
    Pump();
    EXPECT_TRUE(mask.isNull());
}

}  // namespace
}  // namespace kivtal
