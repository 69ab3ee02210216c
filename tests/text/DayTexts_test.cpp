#include "text/DayTexts.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

#include "model/WallClock.h"
#include "text/LunarCalendar.h"

namespace kivtal {

void PrintTo(const DayText& t, std::ostream* os) { *os << "\"" << t.text << "\" kind " << static_cast<int>(t.kind); }

namespace {

using K = DayTextKind;

TEST(DayTextsTest, TellingDays) {
    struct Case {
        int year, month, day;
        DayText expected;
    };
    const Case cases[] = {
        {2025, 1, 28, {"除夕", K::kFestival}},  // 腊月廿九: a 29-day last month
        {2021, 2, 11, {"除夕", K::kFestival}},  // 腊月三十
        {2021, 2, 10, {"廿九", K::kLunarDay}},  // a 29th that is not the eve
        {2021, 2, 12, {"春节", K::kFestival}},
        {2025, 1, 22, {"小年", K::kFestival}},  // 腊月廿三
        {2025, 1, 7, {"腊八", K::kFestival}},
        {2025, 1, 5, {"小寒", K::kSolarTerm}},
        {2025, 2, 12, {"元宵", K::kFestival}},
        {2025, 5, 31, {"端午", K::kFestival}},
        {2025, 8, 29, {"七夕", K::kFestival}},
        {2025, 10, 6, {"中秋", K::kFestival}},
        {2025, 10, 29, {"重阳", K::kFestival}},
        {2020, 10, 1, {"中秋", K::kFestival}},  // also 国庆节: the traditional one ranks first
        {2025, 10, 1, {"国庆节", K::kFestival}},
        {2018, 2, 14, {"情人节", K::kFestival}},
        {2025, 3, 8, {"妇女节", K::kFestival}},
        {2025, 5, 1, {"劳动节", K::kFestival}},
        {2025, 6, 1, {"儿童节", K::kFestival}},
        {2025, 9, 10, {"教师节", K::kFestival}},
        {2025, 1, 1, {"元旦", K::kFestival}},
        {2025, 4, 4, {"清明", K::kSolarTerm}},
        {2024, 6, 21, {"夏至", K::kSolarTerm}},
        {2021, 12, 21, {"冬至", K::kSolarTerm}},  // 23:59 Beijing
        {2025, 4, 28, {"四月", K::kLunarMonth}},
        {2025, 7, 25, {"闰六月", K::kLunarMonth}},
        {2020, 5, 23, {"闰四月", K::kLunarMonth}},
        {2025, 5, 2, {"初五", K::kLunarDay}},
        {2025, 4, 27, {"三十", K::kLunarDay}},
        {2100, 12, 31, {"腊月", K::kLunarMonth}},
        {2101, 1, 28, {"除夕", K::kFestival}},   // the last day the tables hold
        {2101, 6, 1, {"儿童节", K::kFestival}},  // past the tables: public festivals still show
        {2101, 6, 2, {}},
        {1901, 2, 18, {}},
        {2025, 2, 29, {}},
        {2025, 13, 1, {}},
        {INT_MAX, 12, 31, {}},
        {INT_MIN, 1, 1, {"元旦", K::kFestival}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CalendarDayText(c.year, c.month, c.day), c.expected) << c.year << "-" << c.month << "-" << c.day;
    }
}

// A festival's lunar date in a leap month of the same number is no festival.
TEST(DayTextsTest, LeapMonthsHaveNoFestivals) {
    for (std::int64_t d = DaysFromCivil(2028, 6, 1); d < DaysFromCivil(2028, 9, 1); ++d) {
        const CivilDate date = CivilFromDays(d);
        const auto lunar = SolarToLunar(date.year, date.month, date.day);
        ASSERT_TRUE(lunar.has_value());
        if (lunar->month != -5 || lunar->day != 5) continue;
        EXPECT_EQ(CalendarDayText(date.year, date.month, date.day), (DayText{"初五", K::kLunarDay}));
        return;
    }
    FAIL() << "lunar 2028 has no leap fifth month";
}

}  // namespace
}  // namespace kivtal
