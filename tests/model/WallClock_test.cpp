#include "model/WallClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace kivtal {
namespace {

// Runs every case with the process in a zone far from UTC+8, so that a conversion
// that leans on the C library's local time shows up.
class WallClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) savedTz_ = tz;
        setenv("TZ", "America/New_York", 1);
        tzset();
    }
    void TearDown() override {
        if (savedTz_) {
            setenv("TZ", savedTz_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> savedTz_;
};

WallClock Wall(int year, int month, int day, int hour, int minute, int second, int dayOfWeek = 0) {
    WallClock w;
    w.year = year;
    w.month = month;
    w.day = day;
    w.hour = hour;
    w.minute = minute;
    w.second = second;
    w.dayOfWeek = dayOfWeek;
    return w;
}

TEST_F(WallClockTest, ConvertsBothWaysAtUtcPlusEight) {
    struct Case {
        std::int32_t time;
        WallClock wall;
    };
    const Case cases[] = {
        {0, Wall(1970, 1, 1, 8, 0, 0, 4)},
        {-1, Wall(1970, 1, 1, 7, 59, 59, 4)},
        {57599, Wall(1970, 1, 1, 23, 59, 59, 4)},
        {57600, Wall(1970, 1, 2, 0, 0, 0, 5)},
        {951753600, Wall(2000, 2, 29, 0, 0, 0, 2)},
        {1700000000, Wall(2023, 11, 15, 6, 13, 20, 3)},
        {std::numeric_limits<std::int32_t>::max(), Wall(2038, 1, 19, 11, 14, 7, 2)},
        {std::numeric_limits<std::int32_t>::min(), Wall(1901, 12, 14, 4, 45, 52, 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        EXPECT_EQ(TimeToWallClock(c.time), c.wall);
        EXPECT_EQ(WallClockToTime(c.wall), c.time);
    }
}

TEST_F(WallClockTest, AgreesWithUtcCalendarShiftedByEightHoursAcrossTheRange) {
    // A prime stride visits every hour, weekday and month over the 32-bit range.
    for (std::int64_t t = std::numeric_limits<std::int32_t>::min(); t <= std::numeric_limits<std::int32_t>::max();
         t += 9'999'991) {
        const auto time = static_cast<std::int32_t>(t);
        const std::time_t shifted = static_cast<std::time_t>(t) + kWallClockOffsetSeconds;
        std::tm utc{};
        ASSERT_NE(gmtime_r(&shifted, &utc), nullptr);
        const WallClock w = TimeToWallClock(time);
        ASSERT_EQ(
            w, Wall(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, utc.tm_wday))
            << t;
        ASSERT_EQ(WallClockToTime(w), time) << t;
    }
}

TEST_F(WallClockTest, IgnoresWeekdayAndDropsMilliseconds) {
    WallClock w = Wall(1970, 1, 1, 8, 0, 1, 0);
    w.milliseconds = 999;
    EXPECT_EQ(WallClockToTime(w), 1);
}

TEST_F(WallClockTest, RejectsFieldsOutOfRangeAndTimesBeyond32Bits) {
    WallClock badMillis = Wall(2020, 1, 1, 0, 0, 0);
    badMillis.milliseconds = 1000;
    const WallClock cases[] = {
        Wall(2020, 13, 1, 0, 0, 0),
        Wall(2020, 0, 1, 0, 0, 0),
        Wall(2020, 1, 0, 0, 0, 0),
        Wall(2021, 2, 29, 0, 0, 0),
        Wall(2020, 4, 31, 0, 0, 0),
        Wall(2020, 1, 1, 24, 0, 0),
        Wall(2020, 1, 1, -1, 0, 0),
        Wall(2020, 1, 1, 0, 60, 0),
        Wall(2020, 1, 1, 0, 0, 60),
        badMillis,
        Wall(2038, 1, 19, 11, 14, 8),
        Wall(1901, 12, 14, 4, 45, 51),
        Wall(2100, 1, 1, 0, 0, 0),
        Wall(std::numeric_limits<int>::min(), 1, 1, 0, 0, 0),
        Wall(std::numeric_limits<int>::max(), 1, 1, 0, 0, 0),
    };
    for (const WallClock& w : cases) {
        EXPECT_FALSE(WallClockToTime(w).has_value())
            << w.year << "-" << w.month << "-" << w.day << " " << w.hour << ":" << w.minute << ":" << w.second;
    }
}

TEST(SolarMonthDaysTest, MonthLengths) {
    struct Case {
        int year, month, days;
    };
    const Case cases[] = {
        {2023, 1, 31},  {2023, 4, 30},  {2023, 6, 30}, {2023, 7, 31}, {2023, 8, 31}, {2023, 9, 30},
        {2023, 11, 30}, {2023, 12, 31}, {2023, 2, 28}, {2024, 2, 29}, {1900, 2, 28}, {2000, 2, 29},
        {2100, 2, 28},  {2023, 0, 0},   {2023, 13, 0}, {2023, -2, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SolarMonthDays(c.year, c.month), c.days) << c.year << "/" << c.month;
    }
}

}  // namespace
}  // namespace kivtal
