#pragma once
// The main window's scenes for kivtal-screens: the window over a demo user database
// (a profile, unread news, one advertisement), on each page, busy, and its tray menu.
#include <QCursor>
#include <QListWidget>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "store/ContentStore.h"
#include "ui/tools/ContactScenes.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"
#include "ui/main/HomePage.h"
#include "ui/main/HomePageControls.h"
#include "ui/main/MenuWnd.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/tools/MatterScenes.h"
#include "ui/main/MattersPane.h"
#include "ui/controls/Calendar.h"

namespace kivtal::screens {

enum class HomeScene { Contacts, Matters, MattersOtherDay, MattersGroup, Busy, TrayMenu };

// The main window shown on its contacts page, settled.
inline CHomePage* OpenHome(const std::function<void()>& settle);

inline std::string DemoAdPicture(const QString& folder) {
    return DemoPicture(folder, QStringLiteral("ad.png"), QSize(348, 220), "#e8f1fb", "#2b7cd3", 34,
                       QStringLiteral("人脉随身带\n同步更轻松"));
}

inline int& DemoRichMatter() {
    static int id = 0;
    return id;
}

inline LocalStore& DemoStore() {
    static QTemporaryDir dir;
    static LocalStore store(StorePaths{dir.path().toStdString() + "/user/", "/nonexistent/doz2a_v3.db"});
    static const bool filled = [&] {
        store.EnsureUserDb("demo");
        SqliteDb db;
        db.open(store.userDbPath());
        db.execute("INSERT INTO tb_user (login_name, username) VALUES ('demo', '张晓明');");
        ContentStore content(store);
        content.StoreNews(DemoNews(dir.path()));
        FillDemoContacts(store);
        TalAd ad;
        ad.ad_path = DemoAdPicture(dir.path());
        ad.ad_content = QStringLiteral("人脉随身带，同步更轻松").toStdString();
        content.StoreAds({ad});
        DemoRichMatter() = FillDemoMatters(store);
        return true;
    }();
    (void)filled;
    return store;
}

inline CHomePage* OpenHome(const std::function<void()>& settle) {
    auto* home = new CHomePage(DemoStore());
    home->Create(nullptr, kHomeTitle);
    home->move(40, 40);
    home->ShowWindow(true);
    settle();
    return home;
}

inline std::vector<QWidget*> ShowHome(HomeScene scene, const std::function<void()>& settle) {
    CHomePage* home = OpenHome(settle);
    std::vector<QWidget*> windows{home};
    if (scene == HomeScene::Matters || scene == HomeScene::MattersOtherDay || scene == HomeScene::MattersGroup) {
        home->ShowMattersPage();
        for (int i = 0; i < kSlideSteps; ++i) home->SendMessage(WM_TIMER, kSlideTimerId);
        settle();
        MattersPane* pane = home->Matters();
        if (pane && scene == HomeScene::MattersOtherDay) {
            // A day three days ahead (day view), then the next month in the calendar.
            const CalendarDate day = AddDays(TodayDate(), 3);
            pane->Calendar()->SelectIfShown(day);
            home->SendMessage(WM_UI_CALENDAR_PICK, day.Pack());
            pane->Calendar()->NextMonth();
            settle();
        } else if (pane && scene == HomeScene::MattersGroup) {
            pane->GroupList()->setCurrentRow(pane->GroupList()->count() - 1);
            settle();
        }
    } else if (scene == HomeScene::Busy) {
        if (QWidget* sync = home->FindControl(home_page::kBtnSync)) QMetaObject::invokeMethod(sync, "click");
        settle();
        settle();
        windows.push_back(home->Mask());
        if (home->Mask() && home->Mask()->NoticeBox()) windows.push_back(home->Mask()->NoticeBox());
    } else if (scene == HomeScene::TrayMenu) {
        CMenuWnd* menu = ShowMenu(*home, new CMenuWnd, home->geometry().bottomRight() - QPoint(40, 40));
        settle();
        if (menu) windows.push_back(menu);
    }
    return windows;
}

}  // namespace kivtal::screens
