// The matters page on a real main window over a scratch store, with a pinned clock:
// the month calendar and its busy marks, the quick days, the timeline and its
// messages, and the matter groups.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/Clock.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "support/TestClock.h"
#include "ui/controls/BirthdayList.h"
#include "ui/controls/Calendar.h"
#include "ui/controls/EventPlan.h"
#include "ui/controls/MultiButton.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/main/MattersPane.h"
#include "ui/main/MattersPaneControls.h"
#include "ui/support/HomeFixture.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"

namespace kivtal {
namespace {

std::int32_t At(int y, int m, int d, int hour = 0, int minute = 0) {
    return *WallClockToTime(WallClock{.year = y, .month = m, .day = d, .hour = hour, .minute = minute});
}

class MattersPage : public test::HomeFixture {
protected:
    // Today for the window: pinned before it opens.
    void Today(int y, int m, int d, int hour = 10) { clock_.set(At(y, m, d, hour)); }

    int AddMatter(const std::string& text, std::int32_t from, std::int32_t to, int group = 0, int pinned = 0) {
        TalEvent m;
        m.description = text;
        m.start_time = from;
        m.end_time = to;
        m.group_id = group;
        m.place_top = pinned;
        EXPECT_EQ(MatterStore(store).AddMatter(m), StoreStatus::kOk);
        return m.event_id;
    }
    // A matter covering whole days.
    int AddDays(const std::string& text, CalendarDate from, CalendarDate to, int group = 0) {
        return AddMatter(text, At(from.year, from.month, from.day), At(to.year, to.month, to.day, 23, 59) + 59, group);
    }

    MattersPane& Pane() { return *home->Matters(); }
    CCalendarUI& Cal() { return *Pane().Calendar(); }
    std::vector<CalendarDate> BusyCells() {
        std::vector<CalendarDate> out;
        for (CalendarDayButton* c : Cal().Cells())
            if (c->Busy()) out.push_back(c->Date());
        return out;
    }
    QString RowText(int row) {
        QListWidget* list = Pane().GroupList();
        if (QWidget* w = list->itemWidget(list->item(row))) return w->accessibleName();
        return list->item(row)->text().trimmed();
    }
    std::vector<QString> Headings() {
        std::vector<QString> out;
        for (int i = 0; i < Pane().Timeline()->SectionCount(); ++i)
            out.push_back(Pane().Timeline()->Section(i)->Heading());
        return out;
    }

    // The next matter editor opened: its page and matter, whether the main window was
    // masked meanwhile; it is closed at once.
    struct SeenEditor {
        int mode = -1, id = -1;
        bool masked = false;
    };
    void WatchNextEditor(SeenEditor& seen) {
        WindowImplBase::SetModalObserver([this, &seen](WindowImplBase& w) {
            auto* editor = qobject_cast<CAddMatterDlg*>(&w);
            if (!editor) return;
            WindowImplBase::SetModalObserver({});
            seen = {editor->Mode(), editor->Matter().event_id, home->Mask()->isVisible()};
            editor->Close(1);
        });
    }

    std::vector<QString> SectionTexts(int section) {
        std::vector<QString> out;
        for (const TimeItem& item : Pane().Timeline()->Section(section)->Items()) out.push_back(item.text);
        return out;
    }

    test::TestClock clock_{At(2026, 5, 20, 10)};
    test::ScopedClock scoped_{clock_};
};

// --- Calendar ---

struct MonthCase {
    CalendarDate today;
    int steps;  // months forward (negative: back)
    const char* heading;
    CalendarDate firstCell;
    CalendarDate lastOfMonthCell;  // the shown month's last day, which must have a cell
};

TEST_F(MattersPage, CalendarMonthsRollOverTheYearAndShowEveryDayOfLongMonths) {
    const MonthCase cases[] = {
        {{2013, 12, 15}, 1, "2014年01月", {2013, 12, 29}, {2014, 1, 31}},
        {{2014, 1, 15}, -1, "2013年12月", {2013, 12, 1}, {2013, 12, 31}},
        // 1 May 2026 is a Friday: 5 leading days + 31 need a sixth row.
        {{2026, 4, 10}, 1, "2026年05月", {2026, 4, 26}, {2026, 5, 31}},
        {{2024, 1, 31}, 1, "2024年02月", {2024, 1, 28}, {2024, 2, 29}},
    };
    for (const MonthCase& c : cases) {
        SCOPED_TRACE(c.heading);
        Today(c.today.year, c.today.month, c.today.day);
        CCalendarUI calendar;
        for (int i = 0; i < std::abs(c.steps); ++i) c.steps > 0 ? calendar.NextMonth() : calendar.PreviousMonth();
        EXPECT_EQ(calendar.findChild<QLabel*>("calendar_month")->text(), QString::fromUtf8(c.heading));
        EXPECT_EQ(calendar.Cells().front()->Date(), c.firstCell);
        CalendarDayButton* last = calendar.CellOf(c.lastOfMonthCell);
        ASSERT_NE(last, nullptr);
        EXPECT_TRUE(last->InShownMonth());
        const int weekday = DayOfWeek(c.lastOfMonthCell);
        EXPECT_EQ(last->TextColour(), weekday == 0 || weekday == 6 ? kWeekendColour : kDayTextColour);
        // The first cell is a Sunday.
        EXPECT_EQ(calendar.Cells().front()->TextColour(),
                  c.firstCell.month == c.lastOfMonthCell.month ? kWeekendColour : kOtherMonthColour);
        EXPECT_EQ(calendar.Selected(), c.today) << "changing months keeps the selection";
    }
}

// February 2026 holds the lunar new year: every cell carries its second line, festivals
// before terms, and colours that follow the weekend, today and the other months.
TEST_F(MattersPage, MonthCellsShowTheirDayTexts) {
    Today(2026, 2, 10);
    CCalendarUI calendar;
    struct Cell {
        CalendarDate date;
        const char* text;
        unsigned number;
        unsigned line;
    };
    const Cell cells[] = {
        {{2026, 2, 1}, "十四", kWeekendColour, kLunarTextColour},  // the first cell: a Sunday
        {{2026, 2, 2}, "十五", kDayTextColour, kLunarTextColour},
        {{2026, 2, 4}, "立春", kDayTextColour, kTermColour},
        {{2026, 2, 10}, "小年", 0xFFFFFFFF, 0xFFFFFFFF},  // today, 腊月廿三: the filled cell
        {{2026, 2, 14}, "情人节", kWeekendColour, kFestivalColour},
        {{2026, 2, 16}, "除夕", kDayTextColour, kFestivalColour},  // 腊月廿九
        {{2026, 2, 17}, "春节", kDayTextColour, kFestivalColour},
        {{2026, 2, 18}, "雨水", kDayTextColour, kTermColour},
        {{2026, 2, 19}, "初三", kDayTextColour, kLunarTextColour},
        {{2026, 3, 3}, "元宵", kOtherMonthColour, kOtherMonthColour},
        {{2026, 3, 14}, "廿六", kOtherMonthColour, kOtherMonthColour},  // the last cell
    };
    for (const Cell& c : cells) {
        SCOPED_TRACE(c.text);
        CalendarDayButton* cell = calendar.CellOf(c.date);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->SecondLine().text, c.text);
        EXPECT_EQ(cell->TextColour(), c.number);
        EXPECT_EQ(cell->SecondLineColour(), c.line);
        EXPECT_TRUE(cell->accessibleName().contains(QString::fromUtf8(c.text)));
    }
    for (CalendarDayButton* cell : calendar.Cells()) EXPECT_FALSE(cell->SecondLine().text.empty());
    calendar.NextMonth();
    EXPECT_EQ(calendar.CellOf({2026, 3, 3})->SecondLine().text, "元宵");
    EXPECT_EQ(calendar.CellOf({2026, 3, 3})->SecondLineColour(), kFestivalColour);
}

// --- Birthdays ---

TEST_F(MattersPage, BirthdaysAreListedMarkedAndShownAllDay) {
    Today(2026, 5, 20);
    auto add = [this](const char* name, int type, const char* birthday) {
        BusinessCard c;
        c.bc_name = name;
        c.birthday_type = type;
        c.birthday = birthday;
        EXPECT_EQ(ContactStore(store).AddContact(c), StoreStatus::kOk);
        return c;
    };
    const int zhang = add("张三", kSolarBirthday, "1980-05-20").bc_id;
    add("李四", kLunarBirthday, "1985-04-05");  // 四月初五: 2026-05-21
    add("王五", kSolarBirthday, "0000-06-19");  // the 30th day ahead, past the grid
    add("赵六", kSolarBirthday, "1990-06-20");  // the 31st
    BusinessCard gone = add("孙七", kSolarBirthday, "1990-05-25");
    ASSERT_EQ(ContactStore(store).DeleteContact(gone), StoreStatus::kOk);
    std::vector<int> openedContacts;
    Open();
    home->SetContactEditorOpener([&](int id, int, int) { openedContacts.push_back(id); });

    auto* list = home->FindControl<BirthdayList>(matters_pane::kBirthdays);
    ASSERT_NE(list, nullptr);
    std::vector<QString> rows;
    for (int i = 0; i < list->Rows()->count(); ++i) rows.push_back(list->Rows()->item(i)->text());
    EXPECT_THAT(rows, ::testing::ElementsAre("张三 05-20 公历 46岁 今天", "李四 05-21 农历四月初五 41岁 明天",
                                             "王五 06-19 公历 30天后"));

    std::vector<CalendarDate> marked;
    for (CalendarDayButton* c : Cal().Cells())
        if (c->Birthday()) marked.push_back(c->Date());
    EXPECT_THAT(marked, ::testing::ElementsAre(CalendarDate{2026, 5, 20}, CalendarDate{2026, 5, 21}));

    // Today's view: the birthday comes first in today's section, with no matter beside it.
    ASSERT_GE(Pane().Timeline()->SectionCount(), 2);
    const std::vector<TimeItem>& today = Pane().Timeline()->Section(0)->Items();
    ASSERT_EQ(today.size(), 1u);
    EXPECT_TRUE(today[0].IsBirthday());
    EXPECT_EQ(today[0].text, "全天 张三 生日 (46岁)");
    EXPECT_EQ(Pane().Timeline()->Section(1)->Items().at(0).text, "全天 李四 生日 (41岁)");

    QListWidget* rowsList = list->Rows();
    QTest::mouseClick(rowsList->viewport(), Qt::LeftButton, {}, rowsList->visualItemRect(rowsList->item(0)).center());
    EXPECT_TRUE(test::PumpUntil([&] { return !openedContacts.empty(); }));
    EXPECT_THAT(openedContacts, ::testing::ElementsAre(zhang));
}

TEST_F(MattersPage, TodayLineShowsWeekdayAndLunarDate) {
    Today(2013, 8, 27);
    CCalendarUI calendar;
    EXPECT_EQ(calendar.findChild<QLabel*>("calendar_today")->text(), "08月27日 [星期二]");
    EXPECT_EQ(calendar.findChild<QLabel*>("calendar_lunar")->text(), "蛇(癸巳)年七月廿一");
}

TEST_F(MattersPage, BusyMarksCoverEveryCellOfTheGridWhateverDayToday) {
    // Today is the 31st; the old rule started the marks at today's day of the month in
    // the shown month, which hid the earlier days and broke in 30-day months.
    Today(2026, 5, 31);
    AddDays("trailing April day", {2026, 4, 27}, {2026, 4, 27});
    AddDays("early May", {2026, 5, 3}, {2026, 5, 4});
    AddDays("sixth row", {2026, 5, 31}, {2026, 5, 31});
    AddDays("June in the grid", {2026, 6, 2}, {2026, 6, 2});
    // A daytime matter marks its day too, not only matters running at midnight.
    AddMatter("daytime only", At(2026, 5, 12, 9), At(2026, 5, 12, 17));
    Open();
    EXPECT_THAT(BusyCells(),
                ::testing::ElementsAre(CalendarDate{2026, 4, 27}, CalendarDate{2026, 5, 3}, CalendarDate{2026, 5, 4},
                                       CalendarDate{2026, 5, 12}, CalendarDate{2026, 5, 31}, CalendarDate{2026, 6, 2}));
    EXPECT_EQ(Cal().CellOf({2026, 5, 3})->TextColour(), kBusyColour);
    EXPECT_EQ(Cal().CellOf({2026, 5, 12})->TextColour(), kBusyColour);
    EXPECT_EQ(Cal().CellOf({2026, 5, 13})->TextColour(), kDayTextColour);

    test::ClickControl(*home, "addmonth");  // June has 30 days; today is the 31st
    EXPECT_THAT(BusyCells(), ::testing::ElementsAre(CalendarDate{2026, 5, 31}, CalendarDate{2026, 6, 2}));
}

TEST_F(MattersPage, PickingATrailingDayShowsItsMonthAndKeepsTodaysCell) {
    Today(2013, 12, 20);
    AddDays("new year", {2014, 1, 2}, {2014, 1, 2});
    Open();
    QTest::mouseClick(Cal().CellOf({2013, 12, 23}), Qt::LeftButton);
    CalendarDayButton* today = Cal().CellOf({2013, 12, 20});
    ASSERT_NE(today, nullptr);
    EXPECT_TRUE(today->IsToday());
    EXPECT_FALSE(today->isChecked()) << "today's cell keeps its look, not the selection";
    CalendarDayButton* cell = Cal().CellOf({2014, 1, 2});
    ASSERT_NE(cell, nullptr);
    QTest::mouseClick(cell, Qt::LeftButton);
    test::Pump();
    EXPECT_EQ(Cal().ShownYear(), 2014);
    EXPECT_EQ(Cal().ShownMonth(), 1);
    EXPECT_EQ(Cal().Selected(), (CalendarDate{2014, 1, 2}));
    ASSERT_NE(Cal().CellOf({2014, 1, 2}), nullptr);
    EXPECT_TRUE(Cal().CellOf({2014, 1, 2})->isChecked());
    // The day view of the picked date.
    EXPECT_THAT(Headings(), ::testing::ElementsAre("2014年01月02日 星期四"));
}

// --- Timeline ---

TEST(DayHeadings, NameTheNextDaysOnlyWithinTodaysMonth) {
    const struct {
        CalendarDate today, date;
        const char* heading;
    } cases[] = {
        {{2026, 1, 28}, {2026, 1, 28}, "今天 2026年01月28日 星期三"},
        {{2026, 1, 28}, {2026, 1, 29}, "明天 2026年01月29日 星期四"},
        {{2026, 1, 28}, {2026, 1, 30}, "后天 2026年01月30日 星期五"},
        {{2026, 1, 28}, {2026, 1, 31}, "大后天 2026年01月31日 星期六"},
        {{2026, 1, 28}, {2026, 2, 1}, "2026年02月01日 星期日"},
        {{2026, 1, 31}, {2026, 2, 1}, "2026年02月01日 星期日"},  // tomorrow, in the next month
        {{2024, 2, 28}, {2024, 2, 29}, "明天 2024年02月29日 星期四"},
        {{2026, 1, 28}, {2025, 1, 29}, "2025年01月29日 星期三"},
    };
    for (const auto& c : cases) EXPECT_EQ(DayHeading(c.date, c.today), QString::fromUtf8(c.heading));
}

TEST(TimeSections, HeightsFollowItemsAndRemarkLines) {
    std::vector<TimeItem> items(2);
    items[0].remarks = {QStringLiteral("甲(05-20)"), QStringLiteral("乙(05-21)")};
    CTimeBody body({2026, 5, 20}, QStringLiteral("今天"), items);
    EXPECT_EQ(body.ContentHeight(), 177);
    EXPECT_EQ(body.height(), 196);
    items[1].remarks = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    EXPECT_EQ(CTimeBody({2026, 5, 20}, QString(), items).ContentHeight(), 177 + 70) << "at most two remark lines";
}

TEST_F(MattersPage, UpcomingViewListsTheNextThreeDaysWithTodaysRemarks) {
    Today(2026, 5, 20, 10);
    const int spanning = AddDays("跨三天\\r\\n第二行", {2026, 5, 19}, {2026, 5, 21});
    const int morning = AddMatter("今天上午", At(2026, 5, 20, 9), At(2026, 5, 20, 11));
    for (int state : {1, 0}) {  // a cancelled reminder marks nothing; a live one does
        EventAlarm a;
        a.event_id = state ? spanning : morning;
        a.alarm_state = state;
        a.alarm_time = At(2026, 5, 21, 9);
        ASSERT_EQ(MatterStore(store).AddReminder(a), StoreStatus::kOk);
    }
    AddMatter("后天下午", At(2026, 5, 22, 14), At(2026, 5, 22, 16));  // not running at 10:00, still listed
    const int pinned = AddDays("置顶", {2026, 5, 22}, {2026, 5, 22}, 0);
    {
        TalEvent m;
        MatterStore(store).MatterById(pinned, m);
        m.place_top = 1;
        MatterStore(store).ModifyMatter(m);
    }
    for (const char* text : {"备注一", "备注二", "备注三"}) {
        EventComment r;
        r.c_content = text;
        r.event_id = spanning;
        r.create_time = At(2026, 5, 19, 8);
        ASSERT_EQ(MatterStore(store).AddRemark(r), StoreStatus::kOk);
    }
    Open();
    EXPECT_THAT(Headings(), ::testing::ElementsAre("今天 2026年05月20日 星期三", "明天 2026年05月21日 星期四",
                                                   "后天 2026年05月22日 星期五"));
    const CTimeBody* today = Pane().Timeline()->Section(0);
    ASSERT_EQ(today->Items().size(), 2u);
    EXPECT_EQ(today->Items()[0].text, QStringLiteral("跨三天\r第二行"));
    EXPECT_THAT(today->Items()[0].remarks, ::testing::ElementsAre("备注一(05-19)", "备注二(05-19)"));
    EXPECT_FALSE(today->Items()[0].reminder);
    EXPECT_TRUE(today->Items()[1].reminder);
    EXPECT_TRUE(Pane().Timeline()->Section(1)->Items()[0].remarks.empty()) << "remarks only under today";
    EXPECT_THAT(SectionTexts(2), ::testing::ElementsAre("置顶", "后天下午"));
    EXPECT_EQ(RowText(0), "默认(2)") << "every matter touching the day counts";
    auto* todayButton = home->FindControl<CMultiLineButtonUI>("today_event");
    EXPECT_EQ(todayButton->Count(), 2);
    EXPECT_EQ(todayButton->DateText(), "2026-05-20");
    EXPECT_EQ(todayButton->SecondLine(), "安排了 2 件事项");
    EXPECT_EQ(home->FindControl<CMultiLineButtonUI>("threedayformnow_event")->DateText(), "2026-05-23");
    EXPECT_EQ(home->FindControl<CMultiLineButtonUI>("aftertomorrow_event")->Count(), 2);
}

TEST_F(MattersPage, ADayShowsAndCountsEveryMatterTouchingItInStartOrder) {
    Today(2026, 5, 20, 10);
    EventGroup work;
    work.group_name = "工作";
    ASSERT_EQ(MatterStore(store).AddMatterGroup(work), StoreStatus::kOk);
    AddMatter("下午开会", At(2026, 5, 25, 14), At(2026, 5, 25, 15), work.group_id);
    AddMatter("上午拜访", At(2026, 5, 25, 9), At(2026, 5, 25, 10));
    AddMatter("夜班", At(2026, 5, 24, 22), At(2026, 5, 25, 2), work.group_id);
    AddMatter("次日零点", At(2026, 5, 26), At(2026, 5, 26, 1), work.group_id);
    Open();
    QTest::mouseClick(Cal().CellOf({2026, 5, 25}), Qt::LeftButton);
    test::Pump();
    EXPECT_TRUE(Cal().CellOf({2026, 5, 25})->Busy());
    EXPECT_THAT(Headings(), ::testing::ElementsAre("2026年05月25日 星期一"));
    EXPECT_THAT(SectionTexts(0), ::testing::ElementsAre("夜班", "上午拜访", "下午开会"));
    EXPECT_EQ(RowText(0), "默认(3)");
    EXPECT_EQ(RowText(1), "工作(2)");

    Pane().GroupList()->setCurrentRow(1);
    test::Pump();
    EXPECT_THAT(SectionTexts(0), ::testing::ElementsAre("夜班", "下午开会"));
}

TEST_F(MattersPage, AnEmptyDayShowsTheEmptyState) {
    Open();
    EXPECT_TRUE(home->FindControl("time_base")->isHidden());
    EXPECT_FALSE(home->FindControl("matter_empty")->isHidden());
    EXPECT_EQ(RowText(0), "默认(0)");
}

TEST_F(MattersPage, PressesOnAnItemOpenTheEditorOnItsPage) {
    const int id = AddDays("拜访", {2026, 5, 20}, {2026, 5, 20});
    Open();
    CTimeBody* section = Pane().Timeline()->Section(0);
    ASSERT_NE(section, nullptr);
    const struct {
        CTimeBody::Part part;
        int mode;
    } cases[] = {
        {CTimeBody::Text, kModeDetails}, {CTimeBody::Details, kModeDetails}, {CTimeBody::AddRemark, kModeAddRemark}};
    for (const auto& c : cases) {
        SeenEditor seen;
        WatchNextEditor(seen);
        QTest::mouseClick(section, Qt::LeftButton, {}, section->PartRect(0, c.part).center());
        ASSERT_TRUE(test::PumpUntil([&] { return seen.mode != -1; }));
        EXPECT_TRUE(seen.masked) << "the main window is masked meanwhile";
        EXPECT_EQ(seen.mode, c.mode);
        EXPECT_EQ(seen.id, id);
        test::Pump();
        EXPECT_FALSE(home->Mask()->isVisible());
        section = Pane().Timeline()->Section(0);  // the pane was refreshed
    }
}

TEST_F(MattersPage, TimelineMattersOpenFromTheKeyboardAndReadOutWithTheirActions) {
    const int first = AddMatter("拜访客户", At(2026, 5, 20, 9), At(2026, 5, 20, 10));
    const int second = AddMatter("夜间值守", At(2026, 5, 20, 22), At(2026, 5, 21, 2));
    EventComment remark;
    remark.c_content = "带上合同";
    remark.event_id = first;
    remark.create_time = At(2026, 5, 19, 8);
    ASSERT_EQ(MatterStore(store).AddRemark(remark), StoreStatus::kOk);
    Open();
    CTimeBody* today = Pane().Timeline()->Section(0);
    ASSERT_NE(today, nullptr);

    // A screen reader finds each matter with its time, text and remarks, and its actions.
    QAccessibleInterface* section = QAccessible::queryAccessibleInterface(today);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->role(), QAccessible::List);
    ASSERT_EQ(section->childCount(), 2);
    EXPECT_EQ(section->child(0)->role(), QAccessible::ListItem);
    EXPECT_EQ(section->child(0)->text(QAccessible::Name), "09:00-10:00 拜访客户；备注：带上合同(05-19)");
    EXPECT_EQ(section->child(1)->text(QAccessible::Name), "22:00-5月21日 02:00 夜间值守");
    QAccessibleActionInterface* actions = section->child(1)->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->actionNames(), (QStringList{"详情", "添加备注"}));

    // Enter opens the chosen matter's details, Shift+Enter its add-remark page.
    const struct {
        std::vector<Qt::Key> moves;
        Qt::KeyboardModifiers modifiers;
        int id, mode;
    } cases[] = {{{}, Qt::NoModifier, first, kModeDetails},
                 {{Qt::Key_Down}, Qt::NoModifier, second, kModeDetails},
                 {{Qt::Key_Down, Qt::Key_Down}, Qt::ShiftModifier, second, kModeAddRemark},
                 {{Qt::Key_Down, Qt::Key_Up}, Qt::NoModifier, first, kModeDetails}};
    for (const auto& c : cases) {
        today = Pane().Timeline()->Section(0);
        today->setFocus(Qt::TabFocusReason);
        for (Qt::Key k : c.moves) QTest::keyClick(today, k);
        SeenEditor seen;
        WatchNextEditor(seen);
        QTest::keyClick(today, Qt::Key_Return, c.modifiers);
        ASSERT_TRUE(test::PumpUntil([&] { return seen.mode != -1; }));
        EXPECT_EQ(seen.id, c.id);
        EXPECT_EQ(seen.mode, c.mode);
        test::Pump();
    }
}

// --- Quick days and groups ---

TEST_F(MattersPage, TodayButtonKeepsTheSelectionWhileAnotherMonthIsShown) {
    Today(2026, 5, 20);
    Open();
    Cal().SelectIfShown({2026, 5, 25});
    Cal().NextMonth();
    Cal().NextMonth();  // July: the 20 May cell is not in the grid
    test::ClickControl(*home, "today_event");
    EXPECT_EQ(Cal().Selected(), (CalendarDate{2026, 5, 25}));
    Cal().Refresh();
    test::ClickControl(*home, "tomorrow_event");
    EXPECT_EQ(Cal().Selected(), (CalendarDate{2026, 5, 21}));
    EXPECT_TRUE(home->MattersPageShown() || home->SlideRunning());
}

TEST_F(MattersPage, GroupsAddRenameAndDeleteKeepingTheirMattersUnderDefault) {
    EventGroup work;
    work.group_name = "工作";
    ASSERT_EQ(MatterStore(store).AddMatterGroup(work), StoreStatus::kOk);
    AddDays("周会", {2026, 5, 20}, {2026, 5, 20}, work.group_id);
    Open();
    EXPECT_EQ(RowText(0), "默认(1)");
    EXPECT_EQ(RowText(1), "工作(1)");

    // Clicks go where the user's would: the matters page must be the one on screen.
    home->ShowMattersPage();
    for (int i = 0; i < kSlideSteps; ++i) home->SendMessage(WM_TIMER, kSlideTimerId);
    test::Pump();
    test::ClickControl(*home, "Add_matter_group");
    ASSERT_EQ(Pane().GroupList()->count(), 4) << "before 回收站";
    EXPECT_EQ(Pane().EditingRow(), 2);
    auto* edit =
        Pane().GroupList()->itemWidget(Pane().GroupList()->item(2))->findChild<QLineEdit*>("matter_group_edit");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "请输入组名");
    edit->setText(QStringLiteral("工作"));
    test::AnswerNextModal("btn_ok");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Pane().EditingRow(), 2) << "a taken name stays in editing";
    edit->setText(QStringLiteral("客户"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Pane().EditingRow(), -1);
    EXPECT_EQ(RowText(2), "客户(0)");
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);

    test::AnswerNextModal("_btn_ok");
    home->SendMessage(WM_UI_GROUP_DELETE, work.group_id, reinterpret_cast<std::intptr_t>(Pane().GroupList()));
    test::Pump();
    EXPECT_EQ(Pane().GroupList()->count(), 3);
    EXPECT_EQ(RowText(0), "默认(1)") << "the deleted group's matter still counts";
    EXPECT_EQ(RowText(1), "客户(0)");
}

}  // namespace
}  // namespace kivtal
