// The demo account as a newcomer meets it: the real service seeds its book, a device
// signs in and syncs. A day-by-day walk through the main window's calendar finds every
// demo matter, each busy day showing matters and each quiet day none; the welcome news
// points to the sync button where the window has it.
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "e2e/ServiceProcess.h"
#include "net/ContentJobs.h"
#include "store/ContentStore.h"
#include "store/MatterStore.h"
#include "ui/main/HomePageControls.h"
#include "support/TempDir.h"
#include "ui/controls/Calendar.h"
#include "ui/controls/EventPlan.h"
#include "ui/main/HomePage.h"
#include "ui/main/MattersPane.h"
#include "ui/support/EditorHarness.h"
#include "ui/support/HomeFixture.h"
#include "ui/StandardControls.h"

namespace kivtal {
namespace {

// The demo book's matters lie within these days around the day it was seeded.
constexpr int kFirstDay = -45;
constexpr int kLastDay = 45;

class DemoMatters : public ::testing::Test {
protected:
    void SetUp() override {
        PrepareWindows();
        ASSERT_EQ(service_.op({"--seed-demo"}), 0);
        ASSERT_TRUE(service_.start());
        device_ = std::make_unique<test::EditorDevice>("demo-device", service_.url());
        ASSERT_EQ(device_->Login("demo", "demo123"), 0);
        ASSERT_EQ(device_->Sync(), 0);
    }
    CHomePage& OpenHome() {
        auto* home = new CHomePage(device_->store());
        home->SetWorkerLink(&worker_);
        home->SetTrayProbe([] { return true; });
        EXPECT_TRUE(home->Create(nullptr, kHomeTitle));
        home->ShowWindow(true);
        test::Pump();
        return *home;
    }
    void TearDown() override {
        test::CloseAllWindows();
        LoginUser::Instance().reset();
    }

    test::TempDir folder_;
    e2e::ServiceProcess service_{folder_.path()};
    test::FakeWorker worker_;
    std::unique_ptr<test::EditorDevice> device_;
};

TEST_F(DemoMatters, EveryMatterOfTheDemoBookShowsOnItsDays) {
    TalEventList stored;
    for (int day = kFirstDay; day <= kLastDay; ++day) {
        const auto start = DayStart(AddDays(TodayDate(), day));
        ASSERT_TRUE(start);
        ASSERT_EQ(MatterStore(device_->store()).MattersOnDay(*start, stored), 0);
    }
    std::set<int> storedIds;
    for (const TalEvent& m : stored) storedIds.insert(m.event_id);
    ASSERT_EQ(storedIds.size(), 30u) << "the demo book holds 30 matters within the walked days";

    CHomePage& home = OpenHome();
    CCalendarUI& calendar = *home.Matters()->Calendar();
    CTimeBase& timeline = *home.Matters()->Timeline();
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
        // Birthdays of the demo book's contacts share the list; only matters carry a busy mark.
        const bool listed = own && own->Date() == date &&
                            std::any_of(own->Items().begin(), own->Items().end(),
                                        [](const TimeItem& item) { return !item.IsBirthday(); });
        EXPECT_EQ(listed, busy) << "day " << day << ": a busy mark and the day's list agree";
        EXPECT_EQ(timeline.isHidden(), timeline.SectionCount() == 0) << day;
        for (int s = 0; s < timeline.SectionCount(); ++s)
            for (const TimeItem& item : timeline.Section(s)->Items())
                if (!item.IsBirthday()) shown.insert(item.event_id);
    }
    EXPECT_EQ(shown, storedIds);
}

TEST_F(DemoMatters, TheWelcomeNewsFindsTheSyncButtonWhereItIs) {
    JobContext ctx = device_->Context();
    ASSERT_EQ(RunNewsJob(ctx), 0);
    NewsList news;
    ASSERT_EQ(ContentStore(device_->store()).ReadNews(news), 0);
    const auto welcome = std::find_if(news.begin(), news.end(), [](const News& n) { return n.news_type == 0; });
    ASSERT_NE(welcome, news.end());
    EXPECT_NE(welcome->news_content.find("右上角的同步按钮"), std::string::npos) << welcome->news_content;

    CHomePage& home = OpenHome();
    QWidget* sync = home.FindControl(home_page::kBtnSync);
    ASSERT_NE(sync, nullptr);
    const QPoint centre = sync->mapTo(&home, sync->rect().center());
    EXPECT_GT(centre.x(), home.width() / 2);
    EXPECT_LT(centre.y(), home.height() / 4);
}

}  // namespace
}  // namespace kivtal
