// The demo account as a newcomer meets it: the real service seeds its book, a device
// signs in and syncs, and a day-by-day walk through the main window's calendar finds
// every demo matter, each busy day showing matters and each quiet day none.
#include <QTest>
#include <gtest/gtest.h>

#include <set>

#include "e2e/ServiceProcess.h"
#include "store/MatterStore.h"
#include "support/TempDir.h"
#include "ui/controls/Calendar.h"
#include "ui/controls/EventPlan.h"
#include "ui/main/HomePage.h"
#include "ui/main/MattersPane.h"
#include "ui/support/EditorHarness.h"
#include "ui/support/HomeFixture.h"
#include "ui/toolkit/SkinLoader.h"

namespace kivtal {
namespace {

// The demo book's matters lie within these days around the day it was seeded.
constexpr int kFirstDay = -45;
constexpr int kLastDay = 45;

class DemoMatters : public ::testing::Test {
protected:
    void TearDown() override {
        test::CloseAllWindows();
        LoginUser::Instance().reset();
    }

    test::TempDir folder_;
    e2e::ServiceProcess service_{folder_.path()};
    test::FakeWorker worker_;
};

TEST_F(DemoMatters, EveryMatterOfTheDemoBookShowsOnItsDays) {
    LoadSkin();
    ASSERT_EQ(service_.op({"--seed-demo"}), 0);
    ASSERT_TRUE(service_.start());
    test::EditorDevice device("demo-device", service_.url());
    ASSERT_EQ(device.Login("demo", "demo123"), 0);
    ASSERT_EQ(device.Sync(), 0);
    TalEventList stored;
    for (int day = kFirstDay; day <= kLastDay; ++day) {
        const auto start = DayStart(AddDays(TodayDate(), day));
        ASSERT_TRUE(start);
        ASSERT_EQ(MatterStore(device.store()).MattersOnDay(*start, stored), 0);
    }
    std::set<int> storedIds;
    for (const TalEvent& m : stored) storedIds.insert(m.event_id);
    ASSERT_EQ(storedIds.size(), 30u) << "the demo book holds 30 matters within the walked days";

    auto* home = new CHomePage(device.store());
    home->SetWorkerLink(&worker_);
    home->SetTrayProbe([] { return true; });
    ASSERT_TRUE(home->Create(nullptr, kHomeTitle));
    home->ShowWindow(true);
    test::Pump();
    CCalendarUI& calendar = *home->Matters()->Calendar();
    CTimeBase& timeline = *home->Matters()->Timeline();
    for (int i = 0; i < 2; ++i) calendar.PreviousMonth();

    std::set<int> shown;
    for (int day = kFirstDay; day <= kLastDay; ++day) {
        const CalendarDate date = AddDays(TodayDate(), day);
        if (!calendar.CellOf(date)) calendar.NextMonth();
        CalendarDayButton* cell = calendar.CellOf(date);
        ASSERT_NE(cell, nullptr) << day;
        const bool busy = cell->Busy();
        QTest::mouseClick(cell, Qt::LeftButton);
        test::Pump();
        // Today opens the next three days; every other day its own.
        const CTimeBody* own = timeline.SectionCount() > 0 ? timeline.Section(0) : nullptr;
        const bool listed = own && own->Date() == date && !own->Items().empty();
        EXPECT_EQ(listed, busy) << "day " << day << ": a busy mark and the day's list agree";
        EXPECT_EQ(timeline.isHidden(), timeline.SectionCount() == 0) << day;
        for (int s = 0; s < timeline.SectionCount(); ++s)
            for (const TimeItem& item : timeline.Section(s)->Items()) shown.insert(item.event_id);
    }
    EXPECT_EQ(shown, storedIds);
}

}  // namespace
}  // namespace kivtal
