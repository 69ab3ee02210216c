// The settings window (column bits, autorun entry, close-to-tray) and the news window
// (newest first, read marks, the main window's unread counter, picture news), opened
// from a real main window over a real user database.
#include <QAbstractButton>
#include <QSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTextEdit>
#include <cstdlib>

#include "ui/toolkit/AutoRun.h"
#include "net/LoginUser.h"
#include "store/AccountStore.h"
#include "store/BirthdayNotices.h"
#include "store/ContentStore.h"
#include "ui/dialogs/SystemMsgWnd.h"
#include "ui/support/ContactsFixture.h"

namespace kivtal {
namespace {

using test::ContactsFixture;
using test::Pump;

class SettingsFixture : public ContactsFixture {
protected:
    SettingsFixture() {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        oldConfig_ = old ? old : "";
        hadConfig_ = old != nullptr;
        setenv("XDG_CONFIG_HOME", (dir.path() + "config").c_str(), 1);
    }
    ~SettingsFixture() override {
        if (hadConfig_) setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
    }

    // Opens the settings window from the settings menu; inside, sets the options named
    // in `set` (name -> checked), records every option's state, then clicks `button`.
    std::map<std::string, bool> RunSettings(const std::map<std::string, bool>& set, const char* button) {
        std::map<std::string, bool> shown;
        test::AnswerNextModal(button, [&](WindowImplBase& window) {
            for (const char* name : {"company_ctl", "email_ctl", "obj_ctl", "group_ctl", "auto_begin", "min_intr"})
                shown[name] = window.FindControl<QAbstractButton>(name)->isChecked();
            for (const auto& [name, checked] : set)
                window.FindControl<QAbstractButton>(QString::fromStdString(name))->setChecked(checked);
        });
        MenuItem("menu_pcsetting");
        Pump();
        return shown;
    }
    // The row the service gives every device at its first sync.
    void AddSettingsRow() {
        Exec(
            "INSERT INTO tb_user_settings (coloumn_show, auto_update, exit_ways, auto_run, server_id) "
            "VALUES (6, 0, 0, 1, 9);");
    }
    UserSettings Settings() {
        UserSettings s;
        EXPECT_EQ(AccountStore(store).ReadSettings(s), 0);
        return s;
    }

private:
    std::string oldConfig_;
    bool hadConfig_ = false;
};

TEST_F(SettingsFixture, AnEmptyTableShowsTheDefaults) {
    Open();
    const auto shown = RunSettings({}, "Cancel_Button");
    EXPECT_EQ(shown, (std::map<std::string, bool>{{"company_ctl", true},
                                                  {"email_ctl", false},
                                                  {"obj_ctl", false},
                                                  {"group_ctl", false},
                                                  {"auto_begin", true},
                                                  {"min_intr", true}}));
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);
    EXPECT_EQ(home->ColumnMask(), 6);
}

TEST_F(SettingsFixture, SavingStoresTheBitsTheAutorunEntryAndTheCloseWay) {
    AddSettingsRow();
    Open();
    const std::string entry = AutoRunEntryPath();
    const struct {
        std::map<std::string, bool> set;
        int columns;
        int exitWays;
        int autoRun;
    } cases[] = {
        {{{"company_ctl", false}, {"auto_begin", false}, {"min_intr", false}}, 3, 1, 0},
        {{{"company_ctl", true},
          {"email_ctl", true},
          {"obj_ctl", true},
          {"group_ctl", true},
          {"auto_begin", true},
          {"min_intr", true}},
         63,
         0,
         1},
        {{{"email_ctl", false}, {"obj_ctl", false}, {"auto_begin", false}}, 39, 0, 0},
    };
    int syncs = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.columns);
        RunSettings(c.set, "Save_button");
        const UserSettings s = Settings();
        EXPECT_EQ(s.coloumn_show, c.columns);
        EXPECT_EQ(s.exit_ways, c.exitWays);
        EXPECT_EQ(s.auto_run, c.autoRun);
        EXPECT_EQ(QFile::exists(QString::fromStdString(entry)), c.autoRun == 1);
        EXPECT_EQ(home->ColumnMask(), c.columns);  // the main window took the mask at once
        EXPECT_EQ(worker.Count(WM_REQ_SYNC), ++syncs);
    }
}

// The birthday reminder's days ahead: 1 until saved, then what was saved; Cancel keeps it.
TEST_F(SettingsFixture, BirthdayDaysAheadShowsTheDefaultAndSaves) {
    AddSettingsRow();
    Open();
    auto run = [&](int set, const char* button) {
        int shown = -1;
        test::AnswerNextModal(button, [&](WindowImplBase& window) {
            auto* spin = window.FindControl<QSpinBox>("birthday_days");
            shown = spin->value();
            if (set >= 0) spin->setValue(set);
        });
        MenuItem("menu_pcsetting");
        Pump();
        return shown;
    };
    EXPECT_EQ(run(3, "Save_button"), 1);
    int days = -1;
    ASSERT_EQ(ReadBirthdayNoticeDays(store, days), 0);
    EXPECT_EQ(days, 3);
    EXPECT_EQ(run(0, "Cancel_Button"), 3);
    EXPECT_EQ(run(-1, "Cancel_Button"), 3);
}

TEST_F(SettingsFixture, OfflineSavePostsNoSyncButStillSetsTheColumns) {
    LoginUser::Instance().update([](LoginUserState& s) { s.login_mode = LoginUserState::kModeOffline; });
    AddSettingsRow();
    Open();
    RunSettings({{"email_ctl", true}}, "Save_button");
    EXPECT_EQ(Settings().coloumn_show, 3 | 4 | 8);
    EXPECT_EQ(home->ColumnMask(), 15);
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);
}

TEST_F(SettingsFixture, WithoutASettingsRowTheSaveSaysItFailedAndSendsNothing) {
    Open();
    QString told;
    // The settings window asks its box inside its own modal run.
    test::AnswerNextModal("Save_button", [&](WindowImplBase&) {
        test::AnswerNextModal("btn_ok", [&](WindowImplBase& box) { told = ControlText(box.FindControl("contentre")); });
    });
    MenuItem("menu_pcsetting");
    Pump();
    EXPECT_EQ(told, "保存数据失败");
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);
    EXPECT_EQ(home->ColumnMask(), 6 | 1);  // the columns still apply to this session
    SqliteDb db;
    ASSERT_EQ(db.open(store.userDbPath()), 0);
    ResultTable log;
    ASSERT_EQ(db.query("SELECT count(*) FROM tb_sync_record;", log), 0);
    EXPECT_EQ(log.integer(0, 0), 0);  // no change logged for a row that is not there
}

// --- News ---

class NewsFixture : public ContactsFixture {
protected:
    void StoreNews() {
        NewsList news(3);
        news[0] = {.news_title = "旧闻", .news_content = "第一条", .create_time = 1700000000, .news_server_id = 1};
        news[1] = {.news_title = "读过",
                   .news_content = "第二条",
                   .create_time = 1700100000,
                   .news_state = 1,
                   .news_server_id = 2};
        picture_ = dir.path() + "pic.png";
        QImage(40, 30, QImage::Format_RGB32).save(QString::fromStdString(picture_));
        news[2] = {.news_title = "图片",
                   .create_time = 1700200000,
                   .news_server_id = 3,
                   .news_type = 1,
                   .extra_data_path = picture_};
        ASSERT_EQ(ContentStore(store).StoreNews(news), 0);
    }
    std::string picture_;
};

TEST_F(NewsFixture, NewestFirstAndOpeningAnUnreadItemCountsItOnce) {
    StoreNews();
    Open();
    EXPECT_EQ(ControlText(home->FindControl("msg_tip")), "2");
    auto* news = new CSystemMsgWnd(store, home->GetHandle());
    ASSERT_TRUE(news->Create(home, QStringLiteral("系统消息")));
    news->ShowWindow(true);
    Pump();
    std::vector<std::string> titles;
    for (const NewsRowData& row : news->Rows())
        titles.push_back(row.title.toStdString() + "@" + row.date.toStdString());
    EXPECT_EQ(titles, (std::vector<std::string>{"图片@2023-11-17", "读过@2023-11-16", "旧闻@2023-11-15"}));

    const struct {
        int row;
        const char* counter;
    } openings[] = {{2, "1"}, {2, "1"}, {1, "1"}, {0, ""}};
    for (const auto& o : openings) {
        SCOPED_TRACE(o.row);
        news->OpenRow(o.row);
        Pump();
        EXPECT_TRUE(news->FindControl("content_page")->isVisibleTo(news));
        EXPECT_FALSE(news->FindControl("list_page")->isVisibleTo(news));
        EXPECT_EQ(ControlText(home->FindControl("msg_tip")), o.counter);
        test::ClickControl(*news, "back_btn");
        EXPECT_TRUE(news->FindControl("list_page")->isVisibleTo(news));
    }
    int unread = -1;
    ContentStore(store).UnreadNewsCount(unread);
    EXPECT_EQ(unread, 0);
}

TEST_F(NewsFixture, ItemsShowTheirTextOrTheirPicture) {
    StoreNews();
    auto* news = new CSystemMsgWnd(store, 0);
    ASSERT_TRUE(news->Create(nullptr, QStringLiteral("系统消息")));
    news->ShowWindow(true);
    Pump();
    news->OpenRow(2);
    EXPECT_EQ(ControlText(news->FindControl("title_text")), "旧闻");
    EXPECT_EQ(ControlText(news->FindControl("title_time")), "2023-11-15");
    auto* text = news->FindControl<QTextEdit>("text_show");
    EXPECT_TRUE(text->isVisibleTo(news));
    EXPECT_EQ(text->toPlainText(), "     第一条");
    EXPECT_FALSE(news->FindControl("pic_show")->isVisibleTo(news));

    news->OpenRow(0);
    EXPECT_FALSE(text->isVisibleTo(news));
    auto* picture = news->FindControl<QLabel>("pic_show");
    EXPECT_TRUE(picture->isVisibleTo(news));
    EXPECT_FALSE(picture->pixmap().isNull());
}

TEST_F(NewsFixture, NoNewsStillOpensWithAnEmptyList) {
    auto* news = new CSystemMsgWnd(store, 0);
    ASSERT_TRUE(news->Create(nullptr, QStringLiteral("系统消息")));
    news->ShowWindow(true);
    Pump();
    EXPECT_EQ(news->FindControl<QListWidget>("main_list")->count(), 0);
    EXPECT_TRUE(news->FindControl("news_empty")->isVisibleTo(news));
    news->OpenRow(0);  // nothing to open: no crash, still the list
    EXPECT_TRUE(news->FindControl("list_page")->isVisibleTo(news));
}

}  // namespace
}  // namespace kivtal
