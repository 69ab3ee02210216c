// The main window's frame on a real window: init, page slide, sync busy display,
// advertisements, the news counter and the ways the program ends.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTextEdit>
#include <cstdio>
#include <memory>

#include "model/RecordValues.h"
#include "net/SyncRun.h"
#include "store/ContactStore.h"
#include "store/ContentStore.h"
#include "store/MatterStore.h"
#include "ui/controls/GifButton.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/MattersPane.h"
#include "ui/main/MattersPaneControls.h"
#include "ui/support/HomeFixture.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/MenuItems.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/SkinLoader.h"

namespace kivtal {
namespace {

using test::HomeFixture;
using test::kTestWebSite;
using test::Pump;
using test::PumpUntil;

QString Text(CHomePage& home, const char* name) { return ControlText(home.FindControl(name)); }
bool Shown(CHomePage& home, const char* name) {
    QWidget* control = home.FindControl(name);
    return control && control->isVisibleTo(&home);
}
void Click(CHomePage& home, const char* name) { test::ClickControl(home, name); }

TEST(HomeLayouts, EveryMenuItemHasANumber) {
    // The control names themselves are checked with every other layout in SkinLayouts.
    for (const char* name : {"menu_exit", "menu_regist"}) EXPECT_GE(MenuItemCode(name), 0) << name;
}

TEST_F(HomeFixture, InitialisesTheFrameAndBecomesTheResultWindow) {
    CHomePage& home = Open();
    EXPECT_EQ(home.windowTitle(), "Kivtal v1.0");
    EXPECT_EQ(worker.resultWindow, home.GetHandle());
    EXPECT_EQ(Text(home, "number_show"), "正式版本 1.0");
    EXPECT_EQ(Text(home, "user_name"), "tester");  // no profile: the login name
    EXPECT_TRUE(Shown(home, "user_empty"));
    EXPECT_FALSE(Shown(home, "user_list"));
    EXPECT_FALSE(home.MattersPageShown());
    ASSERT_NE(home.Mask(), nullptr);
    EXPECT_EQ(home.Mask()->windowTitle(), "蒙版");
    EXPECT_FALSE(home.Mask()->isVisible());
    EXPECT_EQ(home.ColumnMask(), 6);
    EXPECT_TRUE(worker.requests.empty());
}

TEST_F(HomeFixture, UserNamePrefersTheProfileName) {
    Exec("INSERT INTO tb_user (login_name, username) VALUES ('tester', '张三');");
    CHomePage& home = Open();
    EXPECT_EQ(Text(home, "user_name"), "张三");
    EXPECT_EQ(home.FindControl("user_name")->toolTip(), "张三");
}

TEST_F(HomeFixture, SmallButtonsPostTheirRequestsAndOpenTheirWindows) {
    CHomePage& home = Open();
    int capture = 0;
    HomeHooks hooks;
    hooks.startCardCapture = [&] { ++capture; };
    home.SetHooks(hooks);
    Click(home, "logo");
    Click(home, "Feedback");
    Click(home, "startSEC");
    QString newsTitle;
    bool masked = false;
    test::AnswerNextModal("btn_close", [&](WindowImplBase& news) {
        newsTitle = news.windowTitle();
        masked = home.Mask()->isVisible();
    });
    Click(home, "msg_tip");
    EXPECT_EQ(worker.Count(WM_REQ_OPEN_HOME), 1);
    EXPECT_EQ(worker.Count(WM_REQ_OPEN_ABOUT), 1);
    EXPECT_EQ(capture, 1);
    EXPECT_EQ(newsTitle, "系统消息");
    EXPECT_TRUE(masked);
    EXPECT_FALSE(home.Mask()->isVisible());
}

// --- Page switch ---

int FixedWidth(CHomePage& home, const char* page) { return home.FindControl(page)->maximumWidth(); }
// The width a page has once the layout applied it.
int Width(CHomePage& home, const char* page) {
    Pump();
    return home.FindControl(page)->width();
}

void Tick(CHomePage& home) { home.SendMessage(WM_TIMER, kSlideTimerId); }

// Each pane owns a part of the layout and finds every control it uses in it, none in
// the other pane's part: the window only places the parts.
TEST_F(HomeFixture, EachPaneFindsItsControlsInItsOwnPartOfTheLayout) {
    CHomePage& home = Open();
    const struct {
        const char* pane;
        const PanePart& own;
        const PanePart& other;
        LayoutControls controls;
    } panes[] = {{"contacts", home.Contacts().Part(), home.Matters()->Part(), kContactsPaneControls},
                 {"matters", home.Matters()->Part(), home.Contacts().Part(), kMattersPaneControls}};
    for (const auto& p : panes) {
        ASSERT_NE(p.own.Page(), nullptr) << p.pane;
        ASSERT_NE(p.own.Side(), nullptr) << p.pane;
        for (const LayoutControl& c : p.controls.controls) {
            EXPECT_NE(p.own.Find(c), nullptr) << p.pane << ": " << c.name;
            EXPECT_EQ(p.other.Find(c), nullptr) << p.pane << ": " << c.name << " in the other part";
        }
    }
}

TEST_F(HomeFixture, SlideMovesSeventyThenTenPixelsAndEndsWithTheMattersPage) {
    CHomePage& home = Open();
    const QSize size = home.size();
    Click(home, "door_left_button");
    ASSERT_TRUE(home.SlideRunning());
    EXPECT_EQ(home.FindControl("add_event")->property("focused").toBool(), true);
    EXPECT_EQ(home.FindControl("add_Connection")->property("focused").toBool(), false);
    EXPECT_TRUE(Shown(home, "door_right"));
    EXPECT_TRUE(Shown(home, "matter_group_page"));
    EXPECT_FALSE(Shown(home, "door_left"));
    EXPECT_FALSE(Shown(home, "myplan_page"));

    const int arrivingAfter[] = {70, 140, 210, 280, 350, 420, 490, 500, 510, 520, 530, 540, 550};
    for (int expected : arrivingAfter) {
        Tick(home);
        EXPECT_EQ(FixedWidth(home, "matter_page"), expected);
        EXPECT_EQ(FixedWidth(home, "userList_page") + FixedWidth(home, "matter_page"), 562);
        EXPECT_TRUE(Shown(home, "userList_page"));
        EXPECT_FALSE(home.MattersPageShown());
    }
    Tick(home);
    EXPECT_FALSE(home.SlideRunning());
    EXPECT_TRUE(home.MattersPageShown());
    EXPECT_EQ(Width(home, "matter_page"), 562);
    EXPECT_EQ(FixedWidth(home, "matter_page"), QWIDGETSIZE_MAX);  // follows the window again
    EXPECT_EQ(FixedWidth(home, "userList_page"), 0);
    EXPECT_FALSE(Shown(home, "userList_page"));
    EXPECT_FALSE(home.IsTimerRunning(kSlideTimerId));
    Pump();
    EXPECT_EQ(home.size(), size);  // the pages share the area; the window keeps its size

    // Already shown: nothing moves, no timer starts. (The door is hidden now, so no
    // click can reach it; its notification comes straight.)
    home.SendNotify("click", home.FindControl("door_left_button"));
    EXPECT_FALSE(home.SlideRunning());
    EXPECT_FALSE(home.IsTimerRunning(kSlideTimerId));
    EXPECT_EQ(Width(home, "matter_page"), 562);
}

TEST_F(HomeFixture, SlideRunsOnItsOwnTimerAndBackToTheContactsPage) {
    CHomePage& home = Open();
    Click(home, "wait_plan_label");
    EXPECT_TRUE(PumpUntil([&] { return home.MattersPageShown(); }, 3000));
    Click(home, "door_right_button");
    EXPECT_TRUE(home.SlideRunning());
    EXPECT_TRUE(PumpUntil([&] { return !home.MattersPageShown() && !home.SlideRunning(); }, 3000));
    EXPECT_EQ(Width(home, "userList_page"), 562);
    EXPECT_FALSE(Shown(home, "matter_page"));
    EXPECT_TRUE(Shown(home, "door_left"));
    EXPECT_TRUE(home.FindControl("add_Connection")->property("focused").toBool());
}

TEST_F(HomeFixture, SwitchDuringASlideLandsItFirstThenSlidesBack) {
    CHomePage& home = Open();
    Click(home, "door_left_button");
    Tick(home);
    Tick(home);
    Click(home, "door_right_button");
    EXPECT_TRUE(home.MattersPageShown());  // the first slide landed
    EXPECT_TRUE(home.SlideRunning());
    for (int i = 0; i < kSlideSteps; ++i) Tick(home);
    EXPECT_FALSE(home.MattersPageShown());
    EXPECT_EQ(Width(home, "userList_page"), 562);
    EXPECT_EQ(FixedWidth(home, "matter_page"), 0);
}

// --- Sync button and busy display ---

bool Animating(CHomePage& home) { return home.FindControl<GifButton>("btn_cogradient")->IsAnimating(); }
bool MaskNoticeShown(CHomePage& home) { return home.Mask() && home.Mask()->NoticeBox() != nullptr; }

TEST_F(HomeFixture, SyncButtonShowsBusyUntilTheResultUnlessAGroupNameIsEdited) {
    CardGroup contactGroup;
    contactGroup.group_name = "Team";
    ASSERT_EQ(ContactStore(store).AddGroup(contactGroup), StoreStatus::kOk);
    EventGroup matterGroup;
    matterGroup.group_name = "Work";
    ASSERT_EQ(MatterStore(store).AddMatterGroup(matterGroup), StoreStatus::kOk);
    CHomePage& home = Open();
    int contactRefreshes = 0;
    HomeHooks hooks;
    hooks.refreshContacts = [&] { ++contactRefreshes; };
    home.SetHooks(hooks);
    Click(home, "btn_cogradient");
    ASSERT_EQ(worker.Count(WM_REQ_SYNC), 1);
    EXPECT_EQ(worker.requests.back().reason, SYNC_BY_USER);
    EXPECT_TRUE(home.SyncBusy());
    EXPECT_TRUE(Animating(home));
    ASSERT_TRUE(PumpUntil([&] { return MaskNoticeShown(home); }));
    EXPECT_EQ(home.Mask()->Text(), "数据正在同步，请勿关闭客户端或者关闭计算机。");

    // A group name edited in either pane holds the result back until the edit ends.
    const struct {
        const char* what;
        int groupId;
        const char* list;
        const char* cancel;
    } edits[] = {{"contact group", contactGroup.group_id, "table_list", "grou_edit_delete"},
                 {"matter group", matterGroup.group_id, "matter_group_list", "MatterGroup_edit_delete"}};
    for (const auto& e : edits) {
        SCOPED_TRACE(e.what);
        contactRefreshes = 0;
        if (!home.SyncBusy()) Click(home, "btn_cogradient");
        ASSERT_TRUE(PumpUntil([&] { return MaskNoticeShown(home); }));
        auto* list = home.FindControl<QListWidget>(e.list);
        home.SendMessage(WM_UI_GROUP_RENAME, e.groupId, reinterpret_cast<std::intptr_t>(list));
        ASSERT_TRUE(home.GroupNameEdited());
        home.PostMessage(WM_RES_SYNC, 0);
        Pump();
        EXPECT_TRUE(home.SyncBusy());
        EXPECT_TRUE(Animating(home));
        EXPECT_TRUE(MaskNoticeShown(home));
        EXPECT_EQ(contactRefreshes, 0);

        auto* cancel = list->findChild<QAbstractButton*>(e.cancel);
        ASSERT_NE(cancel, nullptr);
        cancel->click();
        EXPECT_TRUE(PumpUntil([&] { return !MaskNoticeShown(home); }));
        EXPECT_FALSE(home.SyncBusy());
        EXPECT_FALSE(Animating(home));
        EXPECT_FALSE(home.Mask()->isVisible());
        EXPECT_EQ(contactRefreshes, 1);
    }
}

TEST_F(HomeFixture, SyncResultsTellAStoreFailureAndRefusedChangesApartFromSuccessAndNetwork) {
    CHomePage& home = Open();
    const auto shownText = [] {
        const auto boxes = test::VisibleWindows("KivTalMessageBox");
        auto* text = boxes.size() == 1u ? qobject_cast<QTextEdit*>(boxes[0]->FindControl("contentre")) : nullptr;
        return text ? text->toPlainText() : QString();
    };
    for (const int quiet : {0, kResultNoNetwork}) {
        home.PostMessage(WM_RES_SYNC, quiet);
        Pump();
        EXPECT_TRUE(test::VisibleWindows("KivTalMessageBox").empty()) << quiet;
    }
    const std::pair<int, const char*> told[] = {{kResultNotStored, kSyncNotStoredText},
                                                {kResultUploadRefused, kSyncRefusedText}};
    for (const auto& [code, message] : told) {
        Click(home, "btn_cogradient");
        home.PostMessage(WM_RES_SYNC, code);
        ASSERT_TRUE(PumpUntil([&] { return !shownText().isEmpty(); })) << code;
        EXPECT_EQ(shownText(), message);
        EXPECT_FALSE(home.SyncBusy());
        test::VisibleWindows("KivTalMessageBox").at(0)->close();
        ASSERT_TRUE(PumpUntil([&] { return test::VisibleWindows("KivTalMessageBox").empty(); }));
    }
}

// Received changes set aside after failing run after run are named in a notice, with
// retry and discard, until none is left.
TEST_F(HomeFixture, SetAsideChangesShowANoticeWithRetryAndDiscard) {
    BusinessCard card;
    card.bc_name = "王五";
    const std::string values = FormatValues(card);
    Exec(
        "INSERT INTO tb_sync_set_aside(oper_code,oper_ways,s_server_id,s_values,failed_runs,set_aside,reason)"
        "VALUES(1,1,901,'" +
        values + "',3,1,'refused by a trigger'),(1,1,902,'1',3,1,'its values cannot be read');");
    const auto Scalar = [&](const char* sql) {
        SqliteDb db;
        ResultTable t;
        EXPECT_EQ(db.open(store.userDbPath()), 0);
        EXPECT_EQ(db.query(sql, t), 0) << sql;
        return t.text(0, 0);
    };
    CHomePage& home = Open();
    ASSERT_TRUE(Shown(home, "set_aside_notice"));
    EXPECT_EQ(
        Text(home, "set_aside_text"),
        "共 2 条同步数据未能保存。“王五”未能保存到本机，已暂时搁置（原因：refused by a trigger）。每次同步都会再试。");
    EXPECT_EQ(home.FindControl("set_aside_retry")->accessibleName(), "重试保存这条同步数据");
    EXPECT_EQ(home.FindControl("set_aside_discard")->accessibleName(), "放弃这条同步数据");

    Click(home, "set_aside_retry");  // the database takes it now
    EXPECT_EQ(Text(home, "set_aside_text"),
              "一条同步数据未能保存到本机，已暂时搁置（原因：its values cannot be read）。每次同步都会再试。");
    Click(home, "set_aside_discard");
    EXPECT_FALSE(Shown(home, "set_aside_notice"));
    EXPECT_EQ(Scalar("SELECT group_concat(bc_name) FROM tb_bc"), "王五");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_set_aside"), "0");

    // A sync that sets one aside brings the notice back.
    Exec(
        "INSERT INTO tb_sync_set_aside(oper_code,oper_ways,s_server_id,s_values,failed_runs,set_aside,reason)"
        "VALUES(1,1,903,'" +
        values + "',3,1,'refused');");
    home.PostMessage(WM_RES_SYNC, kResultSetAside);
    EXPECT_TRUE(PumpUntil([&] { return Shown(home, "set_aside_notice"); }));
}

// --- Advertisements ---

TalAd Ad(int sortId, const char* url, const char* content) {
    TalAd ad;
    ad.sort_id = sortId;
    ad.ad_path = "/nonexistent/ads/" + std::to_string(sortId) + ".png";
    ad.jump_url = url;
    ad.ad_content = content;
    return ad;
}

QString ShownAd(CHomePage& home) { return home.FindControl("advert")->toolTip(); }
void AdTick(CHomePage& home) { home.SendMessage(WM_TIMER, kAdTimerId); }

TEST_F(HomeFixture, WithoutAdvertisementsNoTimerRunsAndAClickOpensTheWebSite) {
    CHomePage& home = Open();
    EXPECT_FALSE(home.IsTimerRunning(kAdTimerId));
    EXPECT_EQ(Text(home, "advert"), "访问官方网站") << "not an empty box";
    Click(home, "advert");
    EXPECT_EQ(opened, std::vector<QString>{kTestWebSite});
}

TEST_F(HomeFixture, OneAdvertisementStaysShownWhileTheTimerRotates) {
    ASSERT_EQ(ContentStore(store).StoreAds({Ad(1, "http://127.0.0.1:9/one", "一号")}), 0);
    CHomePage& home = Open();
    EXPECT_TRUE(home.IsTimerRunning(kAdTimerId));
    EXPECT_EQ(ShownAd(home), "一号");
    EXPECT_EQ(Text(home, "advert"), "") << "the picture speaks for itself";
    AdTick(home);
    AdTick(home);
    EXPECT_EQ(ShownAd(home), "一号");
    Click(home, "advert");
    EXPECT_EQ(opened, std::vector<QString>{"http://127.0.0.1:9/one"});
}

TEST_F(HomeFixture, ThreeAdvertisementsRotateByTheirOrderAndClicksFollowTheShownOne) {
    ASSERT_EQ(ContentStore(store).StoreAds(
                  {Ad(1, "http://127.0.0.1:9/low", "低"), Ad(3, "http://127.0.0.1:9/high", "高"), Ad(2, "", "中")}),
              0);
    CHomePage& home = Open();
    QStringList shown{ShownAd(home)};
    for (int i = 0; i < 3; ++i) {
        AdTick(home);
        shown << ShownAd(home);
    }
    EXPECT_EQ(shown, (QStringList{"高", "中", "低", "高"}));
    Click(home, "advert");
    AdTick(home);  // 中: no page of its own
    Click(home, "advert");
    EXPECT_EQ(opened, (std::vector<QString>{"http://127.0.0.1:9/high", kTestWebSite}));
}

TEST_F(HomeFixture, AnAdvertisementNeverOpensAnythingButAWebPage) {
    for (const char* url : {"file:///bin/sh", "/usr/bin/xterm", "javascript:alert(1)", "smb://host/share"}) {
        SCOPED_TRACE(url);
        opened.clear();
        ASSERT_EQ(ContentStore(store).ClearAds(), 0);
        ASSERT_EQ(ContentStore(store).StoreAds({Ad(1, url, "坏")}), 0);
        CHomePage& home = Open();
        Click(home, "advert");
        EXPECT_EQ(opened, std::vector<QString>{kTestWebSite});
        home.Close(0);
        Pump();
    }
}

// --- Unread news ---

TEST_F(HomeFixture, UnreadNewsCountIsCappedAtNinetyNineAndEmptyAtZero) {
    struct Case {
        int unread;
        const char* shown;
    };
    const Case cases[] = {{0, ""}, {7, "7"}, {150, "99"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unread);
        Exec("DELETE FROM tb_news;");
        NewsList news(static_cast<std::size_t>(c.unread));
        for (int i = 0; i < c.unread; ++i) news[static_cast<std::size_t>(i)].news_title = "n" + std::to_string(i);
        ASSERT_EQ(ContentStore(store).StoreNews(news), 0);
        CHomePage& home = Open();
        EXPECT_EQ(Text(home, "msg_tip"), c.shown);
        EXPECT_EQ(home.FindControl("msg_tip")->property("unread").toBool(), c.unread != 0);
        EXPECT_TRUE(home.FindControl("msg_tip")->isEnabled());
        home.Close(0);
        Pump();
    }
}

TEST_F(HomeFixture, ReadingNewsRecountsTheUnread) {
    ASSERT_EQ(ContentStore(store).StoreNews(NewsList(3)), 0);
    CHomePage& home = Open();
    EXPECT_EQ(Text(home, "msg_tip"), "3");
    Exec("UPDATE tb_news SET news_state=1;");
    home.PostMessage(WM_UI_NEWS_READ);
    EXPECT_TRUE(PumpUntil([&] { return Text(home, "msg_tip").isEmpty(); }));
}

// --- Ending the program ---

TEST_F(HomeFixture, CloseButtonOnlyHidesWithExitWaysZero) {
    CHomePage& home = Open();  // no settings row: the defaults, exit_ways 0
    Click(home, "btn_close");
    EXPECT_FALSE(home.isVisible());
    EXPECT_FALSE(home.IsClosing());
    EXPECT_EQ(worker.Count(WM_REQ_LOGOUT), 0);
    // A close from the window manager does the same.
    home.ShowWindow(true);
    home.close();
    EXPECT_FALSE(home.isVisible());
    EXPECT_FALSE(home.IsClosing());
}

TEST_F(HomeFixture, CloseButtonLogsOutWithOtherExitWaysAndAnyLogoutResultEndsTheProgram) {
    Exec("INSERT INTO tb_user_settings (coloumn_show,auto_update,exit_ways,auto_run,server_id) VALUES (14,0,1,1,0);");
    for (int logoutResult : {0, -1, kResultNoNetwork}) {
        SCOPED_TRACE(logoutResult);
        worker.requests.clear();
        home = new CHomePage(store);
        home->SetWorkerLink(&worker);
        ASSERT_TRUE(home->Create(nullptr, kHomeTitle));
        EXPECT_EQ(home->ColumnMask(), 14);
        WindowImplBase::SetModalObserver([&](WindowImplBase& window) {
            WindowImplBase::SetModalObserver({});
            test::ClickControl(window, "btn_close");
            EXPECT_TRUE(window.isVisible());
            EXPECT_EQ(worker.Count(WM_REQ_LOGOUT), 1);
            window.PostMessage(WM_RES_LOGOUT, logoutResult);
        });
        EXPECT_EQ(home->ShowModal(), 1);
        EXPECT_FALSE(home->restartRequested());
        Pump();
    }
}

TEST_F(HomeFixture, MenuExitLogsOutAndMenuRegistAlsoAsksForARestart) {
    struct Case {
        const char* item;
        bool restart;
    };
    for (const Case c : {Case{"menu_exit", false}, Case{"menu_regist", true}}) {
        SCOPED_TRACE(c.item);
        worker.requests.clear();
        CHomePage& home = Open();
        home.PostMessage(WM_UI_MENU_ITEM, MenuItemCode(c.item));
        Pump();
        EXPECT_EQ(worker.Count(WM_REQ_LOGOUT), 1);
        EXPECT_EQ(home.restartRequested(), c.restart);
        EXPECT_FALSE(home.IsClosing());  // only the logout result ends it
        home.PostMessage(WM_RES_LOGOUT, -1);
        EXPECT_TRUE(PumpUntil([&] { return home.IsClosing(); }));
        EXPECT_EQ(home.restartRequested(), c.restart);
        Pump();
    }
}

// Not a timed assertion: the figure is printed for the start-up budget.
TEST_F(HomeFixture, ShowsWithTenThousandContactsWithoutReadingThem) {
    std::string sql = "BEGIN;";
    for (int i = 0; i < 10000; ++i)
        sql += "INSERT INTO tb_bc (bc_name,bc_name_pinyin,bc_state) VALUES ('联系人" + std::to_string(i) +
               "','LIANXIREN','0');";
    Exec(sql + "COMMIT;");
    QElapsedTimer clock;
    clock.start();
    CHomePage& home = Open();
    const qint64 ms = clock.elapsed();
    EXPECT_TRUE(home.isVisible());
    std::printf("[ timing ] main window constructed, shown and initialised with 10000 contacts: %lld ms\n",
                static_cast<long long>(ms));
}

}  // namespace
}  // namespace kivtal
