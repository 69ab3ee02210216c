// The matters windows over a full user database: 2,000 matters (50 of them on one day),
// 4,000 remarks, 1,000 reminders and 2,000 contacts. Prints, for each step the user
// waits on, the median and the slowest of its runs:
//   - a month change of the calendar with its day texts and busy marks (budget 30 ms),
//   - building and drawing the day's timeline of 50 matters (budget 50 ms), and the
//     whole date pick around it (group counts, busy marks, quick days, window redrawn),
//   - opening the matter editor on a matter until it has drawn (budget 150 ms).
// Run: QT_QPA_PLATFORM=offscreen build/release/bench/ui/bench_matters_windows
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "model/Clock.h"
#include "store/LocalStore.h"
#include "store/MatterStore.h"
#include "store/SqliteDb.h"
#include "support/TestClock.h"
#include "ui/controls/Calendar.h"
#include "ui/controls/EventPlan.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/main/HomePage.h"
#include "ui/main/MattersPane.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/StandardControls.h"
#include "ui/toolkit/UiMessages.h"

namespace {

using namespace kivtal;

constexpr int kMatters = 2000;
constexpr int kRemarks = 4000;
constexpr int kReminders = 1000;
constexpr int kContacts = 2000;
constexpr int kMattersOnTheDay = 50;
const CalendarDate kTheDay{2026, 6, 15};

int At(CalendarDate d, int hour = 0) { return *DayStart(d) + hour * 3600; }

void Fill(SqliteDb& db) {
    std::mt19937 rng(11);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int yearStart = At({2026, 1, 1});
    db.execute("begin;");
    for (int g = 1; g <= 6; ++g)
        db.execute("INSERT INTO tb_event_group(group_name,server_id,group_state)VALUES(?,?,0);",
                   {Arg("分组" + std::to_string(g)), Arg(g)});
    for (int i = 1; i <= kMatters; ++i) {
        int start = yearStart + pick(0, 364 * 86400);
        int end = start + (i % 5 == 0 ? pick(1, 4) * 86400 : pick(1, 8) * 3600);
        if (i <= kMattersOnTheDay) {  // running through the whole of the day
            start = At(kTheDay) - pick(0, 3) * 86400;
            end = At(kTheDay) + 86399 + pick(0, 3) * 86400;
        }
        db.execute(
            "INSERT INTO tb_event(start_time,end_time,group_id,description,place_top,server_id,event_state,"
            "create_time,server_group_id)VALUES(?,?,?,?,?,?,0,?,-1);",
            {Arg(start), Arg(end), Arg(pick(0, 6)), Arg("和客户讨论合同细节，确认交付时间 " + std::to_string(i)),
             Arg(i % 10 == 0 ? 1 : 0), Arg(i), Arg(start)});
    }
    for (int r = 0; r < kRemarks; ++r) {
        const int event = r % kMatters + 1;
        db.execute(
            "INSERT INTO tb_event_comment(c_content,event_id,server_id,comment_state,create_time,event_server_id)"
            "VALUES(?,?,?,0,?,?);",
            {Arg("备注：对方希望分两期付款 " + std::to_string(r)), Arg(event), Arg(r + 1), Arg(yearStart), Arg(event)});
    }
    for (int a = 0; a < kReminders; ++a) {
        const int event = a * 2 % kMatters + 1;
        db.execute(
            "INSERT INTO tb_event_alarm(a_content,event_id,alarm_time,alarm_whos,server_id,alarm_state,"
            "alarm_whos_id,event_description_alarm,event_server_id,alarm_myself)VALUES(?,?,?,?,?,0,?,?,?,1);",
            {Arg("提醒"), Arg(event), Arg(yearStart + a * 3600), Arg("3,4"), Arg(a + 1), Arg("3;4;-1;"),
             Arg(a % 2 ? 1 : 2), Arg(event)});
    }
    for (int c = 1; c <= kContacts; ++c)
        db.execute("INSERT INTO tb_bc(bc_name,bc_name_pinyin,bc_state,bc_server_id,main_tab)VALUES(?,?,'0',?,1);",
                   {Arg("联系人" + std::to_string(c)), Arg("LIANXIREN" + std::to_string(c)), Arg(c)});
    db.execute("commit;");
}

struct Figures {
    std::vector<double> ms;
    void Add(const QElapsedTimer& t) { ms.push_back(t.nsecsElapsed() / 1e6); }
    void Print(const char* what, double budget) {
        std::sort(ms.begin(), ms.end());
        std::printf("%-44s median %7.2f ms  slowest %7.2f ms  (%zu runs, budget %.0f ms)\n", what, ms[ms.size() / 2],
                    ms.back(), ms.size(), budget);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PrepareWindows();
    const std::string dir =
        std::filesystem::temp_directory_path() / ("kivtal-bench-ui-" + std::to_string(::getpid())) / "";
    LocalStore store(StorePaths{dir + "user/", dir + "none.db"});
    store.EnsureUserDb("bench");
    {
        SqliteDb db;
        db.open(store.userDbPath());
        Fill(db);
    }
    // The day before the busy day, so that picking it shows the day view.
    test::TestClock clock(At(AddDays(kTheDay, -1), 10));
    test::ScopedClock scoped(clock);

    {
        CCalendarUI calendar;
        calendar.SetBusySource([&store](std::int32_t from, std::int32_t to, std::vector<int>& days) {
            return MatterStore(store).BusyDays(from, to, days);
        });
        calendar.show();
        Figures months;
        for (int i = 0; i < 24; ++i) {
            QElapsedTimer t;
            t.start();
            i < 12 ? calendar.NextMonth() : calendar.PreviousMonth();
            calendar.repaint();
            months.Add(t);
        }
        months.Print("month change, texts and marks", 30);
    }

    auto* home = new CHomePage(store);
    home->Create(nullptr, kHomeTitle);
    home->ShowWindow(true);
    QApplication::processEvents();
    home->ShowMattersPage();
    for (int i = 0; i < kSlideSteps; ++i) home->SendMessage(WM_TIMER, kSlideTimerId);
    QApplication::processEvents();
    Figures picks;
    int sections = 0, items = 0;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        home->Matters()->Calendar()->SelectIfShown(kTheDay);
        home->SendMessage(WM_UI_CALENDAR_PICK, kTheDay.Pack());
        home->repaint();
        picks.Add(t);
        sections = home->Matters()->Timeline()->SectionCount();
        items = sections ? static_cast<int>(home->Matters()->Timeline()->Section(0)->Items().size()) : 0;
    }
    picks.Print("date pick: whole pane and window redrawn", 50);
    std::printf("  the timeline held %d section(s), %d matters\n", sections, items);

    // The timeline alone: choosing row 0 again (from a group row) reads the day's
    // matters with their reminders and builds and paints the day's section.
    QListWidget* groups = home->Matters()->GroupList();
    CTimeBase* timeline = home->Matters()->Timeline();
    Figures builds;
    for (int i = 0; i < 15; ++i) {
        groups->setCurrentRow(1);
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        groups->setCurrentRow(0);
        timeline->viewport()->repaint();
        builds.Add(t);
    }
    builds.Print("day timeline of 50 matters, built and drawn", 50);

    Figures opens;
    for (int i = 0; i < 15; ++i) {
        TalEvent matter;
        MatterStore(store).MatterById(1 + i, matter);
        QElapsedTimer t;
        t.start();
        auto* editor = new CAddMatterDlg(store, matter, 0, MatterPage::Details);
        editor->Create(home, QStringLiteral("事项"));
        editor->CenterWindow();
        editor->ShowWindow(true);
        QApplication::processEvents();  // windowinit and the first paint
        editor->repaint();
        opens.Add(t);
        editor->Close(1);
        QApplication::processEvents();
    }
    opens.Print("opening the matter editor", 150);
    home->Close(0);
    QApplication::processEvents();
    std::filesystem::remove_all(dir);
    return 0;
}
