// The matter editor's flows end to end: real windows, the program's worker and the
// reference service, answered the way a user would answer its questions.
#include <QAbstractButton>
#include <QDateEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "e2e/ServiceProcess.h"
#include "model/Clock.h"
#include "model/WallClock.h"
#include "net/ImmediateCommits.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "store/SqliteDb.h"
#include "support/TestClock.h"
#include "ui/controls/ComboKiv.h"
#include "ui/support/EditorHarness.h"
#include "ui/StandardControls.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

using test::BoxScript;
using test::EditorDevice;
using ::testing::ElementsAre;

// Each question names the coins the service then takes (checked against the balance).
const char* const kCoinQuestion = "本操作需要扣除1个金币，确定吗？";
const char* const kSentQuestion = "您的提醒已经发送了，是否添加新的提醒？该操作会扣除1个金币。";

class MatterEditorFlow : public ::testing::Test {
protected:
    void StartService(int coins) {
        PrepareWindows();
        ASSERT_EQ(service_.op({"--add-account", "li", "pw-li", "--coins", std::to_string(coins)}), 0);
        ASSERT_TRUE(service_.start());
        a_ = std::make_unique<EditorDevice>("device-A", service_.url());
        ASSERT_EQ(a_->Login("li", "pw-li"), 0);
    }
    void TearDown() override {
        test::CloseAllWindows();
        if (a_) a_->StopWorker();
        LoginUser::Instance().reset();
    }

    int Coins() {
        SqliteDb db;
        EXPECT_EQ(db.open(service_.dbPath()), 0);
        ResultTable t;
        db.query("SELECT coins FROM accounts WHERE login_name='li';", {}, t);
        return t.rows() ? t.integer(0, 0) : -1;
    }

    CAddMatterDlg& Open(TalEvent matter, MatterPage page) {
        editor_ = new CAddMatterDlg(a_->store(), std::move(matter), 0, page);
        editor_->SetWorkerLink(&a_->Worker());
        EXPECT_TRUE(editor_->Create(nullptr, QStringLiteral("事项")));
        editor_->ShowWindow(true);
        test::Pump();
        return *editor_;
    }
    CAddMatterDlg& OpenStored(int eventId) {
        TalEvent m;
        EXPECT_EQ(MatterStore(a_->store()).MatterById(eventId, m), 0);
        return Open(m, MatterPage::Details);
    }

    void Click(const char* name) { test::ClickControl(*editor_, name); }
    void Check(const char* name, bool on) {
        auto* b = editor_->FindControl<QAbstractButton>(name);
        ASSERT_NE(b, nullptr) << name;
        if (b->isChecked() != on) QTest::mouseClick(b, Qt::LeftButton);
    }
    void Type(const char* name, const QString& text) { SetControlText(editor_->FindControl(name), text); }
    // The reminder time of the edit page (or the reminder page): Beijing date and clock.
    void When(bool editPage, std::int32_t t) {
        const WallClock w = TimeToWallClock(t);
        editor_->FindControl<QDateEdit>(editPage ? "editpage_remind_time" : "matter_time_remind")
            ->setDate(QDate(w.year, w.month, w.day));
        editor_->FindControl<ComboKiv>(editPage ? "editpage_remind_combo" : "add_remind_combo")->SelectValue(w.hour);
        editor_->FindControl<ComboKiv>(editPage ? "editpage_min_combo" : "add_min_combo")->SelectValue(w.minute);
    }
    void Choose(const char* picker, int contactId) {
        auto* tree = editor_->FindControl<QTreeWidget>(picker);
        ASSERT_NE(tree, nullptr);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->data(0, Qt::UserRole).toInt() == contactId)
                root->child(i)->setCheckState(0, Qt::Checked);
    }

    // A new matter with a description reminder to the user himself, saved.
    int SaveNewMatterWithReminder(const QString& text, std::int32_t when) {
        Open(TalEvent{}, MatterPage::NewMatter);
        Type("edit_matter_edit", text);
        Check("remind_btn", true);
        Check("editpage_remind_me_btn", true);
        When(true, when);
        Click("save_edit_page");
        test::Pump();
        return editor_ ? editor_->Matter().event_id : 0;
    }

    // A matter running from now for `seconds`, stored on device A; synced when asked, so
    // that it has its server id.
    TalEvent StoreMatter(const std::string& text, int seconds, bool sync) {
        TalEvent m;
        m.description = text;
        m.start_time = NowSeconds() - 60;
        m.end_time = NowSeconds() + seconds;
        EXPECT_EQ(MatterStore(a_->store()).AddMatter(m), StoreStatus::kOk);
        if (sync) {
            EXPECT_EQ(a_->Sync(), 0);
            EXPECT_EQ(MatterStore(a_->store()).MatterById(m.event_id, m), 0);
        }
        return m;
    }

    // A second device of the account, synced; `matters` gets the matters it now runs.
    std::unique_ptr<EditorDevice> SyncedSecondDevice(TalEventList& matters) {
        auto b = std::make_unique<EditorDevice>("device-B", service_.url());
        EXPECT_EQ(b->Login("li", "pw-li"), 0);
        EXPECT_EQ(b->Sync(), 0);
        EXPECT_EQ(MatterStore(b->store()).MattersAt(NowSeconds(), matters), 0);
        return b;
    }
    EventAlarmList Reminders(int eventId) {
        EventAlarmList out;
        MatterStore(a_->store()).RemindersOf(eventId, out);
        return out;
    }

    test::TempDir folder_;
    e2e::ServiceProcess service_{folder_.path()};
    std::unique_ptr<EditorDevice> a_;
    QPointer<CAddMatterDlg> editor_;
};

// --- New matter with a reminder: sync first, then the paid commit ---

struct NewReminderCase {
    const char* name;
    int coins;
    const char* description;
    const char* answer;  // the editor's last message
    bool reminderStored;
};

class NewReminder : public MatterEditorFlow, public ::testing::WithParamInterface<NewReminderCase> {};

TEST_P(NewReminder, SyncsTheMatterThenCommitsTheReminder) {
    const NewReminderCase& c = GetParam();
    StartService(c.coins);
    BoxScript boxes;
    const int id = SaveNewMatterWithReminder(QString::fromUtf8(c.description), NowSeconds() + 3 * 86400);
    ASSERT_NE(id, 0);
    EXPECT_THAT(boxes.texts, ElementsAre(kCoinQuestion, c.answer));
    EXPECT_EQ(boxes.stuckNotices, 0);

    TalEvent m;
    ASSERT_EQ(MatterStore(a_->store()).MatterById(id, m), 0);
    EXPECT_GT(m.server_id, 0) << "the matter went up before its reminder";
    const EventAlarmList reminders = Reminders(id);
    if (c.reminderStored) {
        ASSERT_EQ(reminders.size(), 1u);
        EXPECT_GT(reminders[0].server_id, 0);
        EXPECT_EQ(reminders[0].event_server_id, m.server_id);
        EXPECT_EQ(reminders[0].alarm_whos_id, "-1;");
        EXPECT_EQ(reminders[0].event_description_alarm, 1);
        EXPECT_EQ(Coins(), c.coins - 1);
        EXPECT_EQ(editor_->Mode(), kModeDetails);
    } else {
        EXPECT_TRUE(reminders.empty());
        EXPECT_EQ(Coins(), c.coins);
        EXPECT_FALSE(editor_->IsClosing()) << "the editor stays open for another try";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewReminder,
    ::testing::Values(NewReminderCase{"Paid", 1, "拜访客户", "提醒添加成功", true},
                      NewReminderCase{"NoCoins", 0, "拜访客户", "您的金币余额不足，无法添加提醒，请充值后再试", false},
                      NewReminderCase{"SensitiveWord", 5, "带上赌博的筹码", "您的提醒有敏感词，请修改后重试", false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Changing an existing reminder: the service clock decides whether it was sent ---

TEST_F(MatterEditorFlow, RecipientsChangeChecksTheServiceClockAndAsksAgainOnceSent) {
    StartService(5);
    BusinessCard wang;
    wang.bc_name = "王强";
    ASSERT_EQ(ContactStore(a_->store()).AddContact(wang), StoreStatus::kOk);
    ASSERT_EQ(a_->Sync(), 0);
    ASSERT_EQ(ContactStore(a_->store()).ContactById(wang.bc_id, wang), 0);
    ASSERT_GT(wang.bc_server_id, 0);

    // The computer's clock runs two days behind the service's: the reminder the user
    // sets for "tomorrow" is already in the past on the service.
    test::TestClock behind(std::time(nullptr) - 2 * 86400);
    test::ScopedClock clock(behind);
    int id = 0;
    {
        BoxScript boxes;
        id = SaveNewMatterWithReminder(QStringLiteral("签合同"), behind.nowSeconds() + 86400);
        ASSERT_THAT(boxes.texts, ElementsAre(kCoinQuestion, "提醒添加成功"));
    }
    editor_->Close(1);
    test::Pump();

    for (bool sendAgain : {false, true}) {
        SCOPED_TRACE(sendAgain ? "send again" : "keep the sent one");
        BoxScript boxes;
        boxes.Answer({true, sendAgain});
        OpenStored(id);
        Click("edit_matter_btn");
        Check("remind_other_btn", true);
        Choose("select_combo", wang.bc_id);
        Click("save_edit_page");
        test::Pump();
        const EventAlarmList after = Reminders(id);
        if (sendAgain) {
            EXPECT_THAT(boxes.texts, ElementsAre(kCoinQuestion, kSentQuestion, "提醒修改保存成功"));
            // The sent reminder stays as it was; the matter's reminder is a new one.
            ASSERT_EQ(after.size(), 2u);
            const auto current = std::find_if(after.begin(), after.end(),
                                              [](const EventAlarm& a) { return a.event_description_alarm == 1; });
            ASSERT_NE(current, after.end());
            EXPECT_EQ(current->alarm_whos, std::to_string(wang.bc_server_id));
            EXPECT_EQ(current->alarm_whos_id, std::to_string(wang.bc_id) + ";-1;");
            EXPECT_LT(Coins(), 4) << "sending again is paid";
        } else {
            EXPECT_THAT(boxes.texts, ElementsAre(kCoinQuestion, kSentQuestion));
            ASSERT_EQ(after.size(), 1u);
            EXPECT_EQ(after[0].alarm_whos_id, "-1;") << "nothing was sent, nothing changed";
            EXPECT_EQ(Coins(), 4);
        }
        EXPECT_EQ(boxes.stuckNotices, 0);
        editor_->Close(1);
        test::Pump();
    }
}

TEST_F(MatterEditorFlow, SwitchingTheReminderOffAsksAndCancelsItOnTheService) {
    StartService(3);
    const int id = [&] {
        BoxScript boxes;
        return SaveNewMatterWithReminder(QStringLiteral("复盘会议"), NowSeconds() + 86400);
    }();
    ASSERT_EQ(Reminders(id).size(), 1u);
    editor_->Close(1);
    test::Pump();

    BoxScript boxes;
    OpenStored(id);
    Click("edit_matter_btn");
    Check("remind_btn", false);
    Click("save_edit_page");
    test::Pump();
    EXPECT_THAT(boxes.texts, ElementsAre("确定取消这条提醒吗？", "提醒修改保存成功"));
    EXPECT_TRUE(Reminders(id).empty()) << "the cancelled reminder is no longer live";
}

TEST_F(MatterEditorFlow, AReminderOfItsOwnIsAddedThenDeletedOnTheService) {
    StartService(2);
    const TalEvent m = StoreMatter("展会", 86400, false);  // not yet on the service
    BoxScript boxes;
    OpenStored(m.event_id);
    Click("add_matter_time_btn");
    Click("save_tip_time");  // no text
    Type("add_matter_time_edit", QStringLiteral("带上样品"));
    When(false, NowSeconds() + 7200);
    Click("save_tip_time");  // nobody to remind
    Check("add_remind_me_btn", true);
    Click("save_tip_time");
    test::Pump();
    EXPECT_THAT(boxes.texts, ElementsAre("提醒内容不能为空", "必须选择提醒发送人", kCoinQuestion, "提醒添加成功"));
    const EventAlarmList added = Reminders(m.event_id);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].event_description_alarm, 2);
    EXPECT_GT(added[0].event_server_id, 0) << "the matter was synced before its reminder";
    EXPECT_EQ(editor_->Mode(), kModeDetails);

    boxes.texts.clear();
    editor_->SendMessage(WM_UI_REMINDER_DELETE, added[0].alarm_id);
    test::Pump();
    EXPECT_THAT(boxes.texts, ElementsAre("删除后将无法恢复！", "提醒修改保存成功"));
    EXPECT_TRUE(Reminders(m.event_id).empty());
    EXPECT_EQ(boxes.stuckNotices, 0);
}

// --- Deleting a matter ---

TEST_F(MatterEditorFlow, DeletesOnlineThroughTheServiceAndOfflineOnlyWithoutReminders) {
    StartService(3);
    const int withReminder = [&] {
        BoxScript boxes;
        const int id = SaveNewMatterWithReminder(QStringLiteral("年会"), NowSeconds() + 86400);
        editor_->Close(1);
        test::Pump();
        return id;
    }();
    const TalEvent plain = StoreMatter("整理名片", 3600, false);

    LoginUser::Instance().update([](LoginUserState& s) { s.login_mode = LoginUserState::kModeOffline; });
    {
        BoxScript boxes;
        OpenStored(withReminder);
        Click("delete_matter_btn");
        test::Pump();
        EXPECT_THAT(boxes.texts,
                    ElementsAre(kMatterDeleteText.toStdString(), "您的事项拥有提醒，必须在联网状态下才能删除。"));
        EXPECT_FALSE(editor_.isNull() || editor_->IsClosing());
        editor_->Close(1);
        test::Pump();

        OpenStored(plain.event_id);
        Click("delete_matter_btn");
        test::Pump();
        EXPECT_TRUE(editor_.isNull() || editor_->IsClosing());
        TalEventList live;
        MatterStore(a_->store()).MattersAt(plain.start_time + 1, live);
        EXPECT_TRUE(
            std::none_of(live.begin(), live.end(), [&](const TalEvent& m) { return m.event_id == plain.event_id; }));
    }

    LoginUser::Instance().update([](LoginUserState& s) { s.login_mode = LoginUserState::kModeOnline; });
    BoxScript boxes;
    OpenStored(withReminder);
    Click("delete_matter_btn");
    test::Pump();
    EXPECT_THAT(boxes.texts, ElementsAre(kMatterDeleteText.toStdString(), "删除成功"));
    EXPECT_TRUE(editor_.isNull() || editor_->IsClosing());
    TalEvent gone;
    ASSERT_EQ(MatterStore(a_->store()).MatterById(withReminder, gone), 0);
    EXPECT_EQ(gone.event_state, 1);
}

// --- Remarks travel with the normal sync ---

TEST_F(MatterEditorFlow, RemarksAddedEditedAndDeletedArriveOnASecondDevice) {
    StartService(0);
    const TalEvent m = StoreMatter("季度回访", 86400, true);

    BoxScript boxes;
    OpenStored(m.event_id);
    const QString longRemark(10000, QChar(0x5b57));
    for (const QString& text : {QStringLiteral("第一条\n第二行"), longRemark, QStringLiteral("要删的")}) {
        Click("add_beizhu");
        Type("beizhu_edit", text);
        Click("save_mask_btn");
    }
    ASSERT_EQ(editor_->Remarks().size(), 3u);
    editor_->SendMessage(WM_UI_REMARK_EDIT, editor_->Remarks()[0].comment_id);
    Type("beizhu_edit", QStringLiteral("改过的第一条"));
    Click("save_mask_btn");
    editor_->SendMessage(WM_UI_REMARK_DELETE, editor_->Remarks()[2].comment_id);
    EXPECT_EQ(editor_->Remarks().size(), 2u);
    EXPECT_TRUE(boxes.texts.size() == 1 && boxes.texts[0] == kRemarkDeleteText.toStdString());
    // A remark holding the value separator cannot travel: it is refused, not lost silently.
    Click("add_beizhu");
    Type("beizhu_edit", QStringLiteral("甲~麤^乙"));
    Click("save_mask_btn");
    EXPECT_EQ(editor_->Mode(), kModeAddRemark);
    EXPECT_EQ(boxes.texts.back(), "备注内容不能包含“~麤^”");

    ASSERT_EQ(a_->Sync(), 0);
    TalEventList onB;
    const auto b = SyncedSecondDevice(onB);
    ASSERT_EQ(onB.size(), 1u);
    EventCommentList remarks;
    ASSERT_EQ(MatterStore(b->store()).RemarksOf(onB[0].event_id, remarks), 0);
    ASSERT_EQ(remarks.size(), 2u);
    std::vector<std::string> texts{remarks[0].c_content, remarks[1].c_content};
    EXPECT_THAT(texts, ::testing::UnorderedElementsAre("改过的第一条", longRemark.toStdString()));
}

// The edit page stays open while another device's change of the description arrives;
// pinning the matter must not write the page's older description (nor its start at
// midnight: the start date was not touched) back over it, here or on the other device.
TEST_F(MatterEditorFlow, ASaveKeepsWhatAnotherDeviceChangedWhileTheEditPageWasOpen) {
    StartService(0);
    const TalEvent m = StoreMatter("原来的说明", 86400, true);
    OpenStored(m.event_id);
    Click("edit_matter_btn");
    ASSERT_EQ(editor_->Mode(), kModeEditMatter);

    TalEventList onB;
    const auto b = SyncedSecondDevice(onB);
    ASSERT_EQ(onB.size(), 1u);
    onB[0].description = "另一台设备改的";
    ASSERT_EQ(MatterStore(b->store()).ModifyMatter(onB[0]), StoreStatus::kOk);
    ASSERT_EQ(b->Sync(), 0);
    ASSERT_EQ(a_->Login("li", "pw-li"), 0);
    ASSERT_EQ(a_->Sync(), 0);
    editor_->ReloadAfterSync();

    Check("top_most", true);
    Click("save_edit_page");
    ASSERT_TRUE(test::PumpUntil([&] { return editor_->Mode() == kModeDetails && editor_->Pending() == kPendingNone; }));
    ASSERT_EQ(a_->Sync(), 0);
    TalEvent onA;
    ASSERT_EQ(MatterStore(a_->store()).MatterById(m.event_id, onA), 0);
    EXPECT_EQ(onA.description, "另一台设备改的");
    EXPECT_EQ(onA.place_top, 1);
    EXPECT_EQ(onA.start_time, m.start_time);
    ASSERT_EQ(b->Login("li", "pw-li"), 0);  // the signed-in user is one per process
    ASSERT_EQ(b->Sync(), 0);
    TalEvent back;
    ASSERT_EQ(MatterStore(b->store()).MatterById(onB[0].event_id, back), 0);
    EXPECT_EQ(back.description, "另一台设备改的");
    EXPECT_EQ(back.place_top, 1);
}

// --- Validation before anything is stored or sent ---

TEST_F(MatterEditorFlow, RefusesIncompleteMattersAndRemindersWithTheirMessages) {
    StartService(0);
    test::TestClock pinned(1800000000);  // 2027-01-15 16:00 Beijing
    test::ScopedClock clock(pinned);
    BoxScript boxes;
    Open(TalEvent{}, MatterPage::NewMatter);
    Click("save_edit_page");  // no description
    Type("edit_matter_edit", QStringLiteral("拜访"));
    Check("remind_btn", true);
    Click("save_edit_page");  // nobody to remind
    Check("editpage_remind_me_btn", true);
    When(true, pinned.nowSeconds() - pinned.nowSeconds() % 60);  // this very minute
    Click("save_edit_page");
    editor_->FindControl<QDateEdit>("begin_time")->setDate(QDate(2027, 1, 20));
    editor_->FindControl<QDateEdit>("end_time")->setDate(QDate(2027, 1, 19));
    Check("remind_btn", false);
    Click("save_edit_page");  // ends before it begins
    EXPECT_THAT(boxes.texts, ElementsAre("事项说明必须填写!", "必须选择提醒发送人", "提醒发送时间不能小于当前时间",
                                         "事项结束时间必须大于开始时间"));
    TalEventList none;
    MatterStore(a_->store()).MattersAt(1800000000, none);
    EXPECT_TRUE(none.empty());
}

TEST_F(MatterEditorFlow, TheClockCombosStartFiveMinutesAheadAndRollOverMidnight) {
    StartService(0);
    // 23:57:30 Beijing on 31 December 2026: five minutes later is 00:02 on 1 January.
    test::TestClock pinned(
        *WallClockToTime(WallClock{.year = 2026, .month = 12, .day = 31, .hour = 23, .minute = 57, .second = 30}));
    test::ScopedClock clock(pinned);
    Open(TalEvent{}, MatterPage::NewMatter);
    EXPECT_EQ(editor_->FindControl<ComboKiv>("editpage_remind_combo")->GetSelection(), 0);
    EXPECT_EQ(editor_->FindControl<ComboKiv>("editpage_min_combo")->GetSelection(), 2);
    EXPECT_EQ(editor_->FindControl<QDateEdit>("editpage_remind_time")->date(), QDate(2027, 1, 1));
}

TEST_F(MatterEditorFlow, AMatterDeletedByASyncClosesTheEditorWithAMessage) {
    StartService(0);
    const TalEvent m = StoreMatter("被另一台设备删除", 3600, true);
    BoxScript boxes;
    OpenStored(m.event_id);

    EditorDevice b("device-B", service_.url());
    ASSERT_EQ(b.Login("li", "pw-li"), 0);
    ASSERT_EQ(b.Sync(), 0);
    TalEventList onB;
    ASSERT_EQ(MatterStore(b.store()).MattersAt(m.start_time, onB), 0);
    ASSERT_EQ(onB.size(), 1u);
    JobContext ctx = b.Context();
    ASSERT_EQ(commitMatterDelete(ctx, onB[0]), 0);
    ASSERT_EQ(a_->Login("li", "pw-li"), 0);
    ASSERT_EQ(a_->Sync(), 0);

    editor_->ReloadAfterSync();
    test::Pump();
    EXPECT_THAT(boxes.texts, ElementsAre("本事项已经被删除了，无法操作"));
    EXPECT_TRUE(editor_.isNull() || editor_->IsClosing());
}

}  // namespace
}  // namespace kivtal
