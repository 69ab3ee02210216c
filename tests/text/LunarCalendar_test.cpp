#include "text/LunarCalendar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace kivtal {

void PrintTo(const LunarDate& d, std::ostream* os) { *os << d.year << "/" << d.month << "/" << d.day; }

namespace {

struct SolarDate {
    int year;
    int month;
    int day;
};

SolarDate ParseDate(const char* text) {
    SolarDate d{};
    std::sscanf(text, "%d-%d-%d", &d.year, &d.month, &d.day);
    return d;
}

SolarDate DayBefore(SolarDate d) {
    if (--d.day > 0) return d;
    if (--d.month == 0) {
        d.month = 12;
        --d.year;
    }
    d.day = SolarMonthDays(d.year, d.month);
    return d;
}

// First day of every lunar year the tables hold, as the published calendar gives it.
const std::vector<const char*> kNewYearDays = {
    "1901-02-19",
    "1902-02-08",
    "1903-01-29",
    "1904-02-16",
    "1905-02-04",
    "1906-01-25",
    "1907-02-13",
    "1908-02-02",
    "1909-01-22",
    "1910-02-10",
    "1911-01-30",
    "1912-02-18",
    "1913-02-06",
    "1914-01-26",
    "1915-02-14",
    "1916-02-03",
    "1917-01-23",
    "1918-02-11",
    "1919-02-01",
    "1920-02-20",
    "1921-02-08",
    "1922-01-28",
    "1923-02-16",
    "1924-02-05",
    "1925-01-24",
    "1926-02-13",
    "1927-02-02",
    "1928-01-23",
    "1929-02-10",
    "1930-01-30",
    "1931-02-17",
    "1932-02-06",
    "1933-01-26",
    "1934-02-14",
    "1935-02-04",
    "1936-01-24",
    "1937-02-11",
    "1938-01-31",
    "1939-02-19",
    "1940-02-08",
    "1941-01-27",
    "1942-02-15",
    "1943-02-05",
    "1944-01-25",
    "1945-02-13",
    "1946-02-02",
    "1947-01-22",
    "1948-02-10",
    "1949-01-29",
    "1950-02-17",
    "1951-02-06",
    "1952-01-27",
    "1953-02-14",
    "1954-02-03",
    "1955-01-24",
    "1956-02-12",
    "1957-01-31",
    "1958-02-18",
    "1959-02-08",
    "1960-01-28",
    "1961-02-15",
    "1962-02-05",
    "1963-01-25",
    "1964-02-13",
    "1965-02-02",
    "1966-01-21",
    "1967-02-09",
    "1968-01-30",
    "1969-02-17",
    "1970-02-06",
    "1971-01-27",
    "1972-02-15",
    "1973-02-03",
    "1974-01-23",
    "1975-02-11",
    "1976-01-31",
    "1977-02-18",
    "1978-02-07",
    "1979-01-28",
    "1980-02-16",
    "1981-02-05",
    "1982-01-25",
    "1983-02-13",
    "1984-02-02",
    "1985-02-20",
    "1986-02-09",
    "1987-01-29",
    "1988-02-17",
    "1989-02-06",
    "1990-01-27",
    "1991-02-15",
    "1992-02-04",
    "1993-01-23",
    "1994-02-10",
    "1995-01-31",
    "1996-02-19",
    "1997-02-07",
    "1998-01-28",
    "1999-02-16",
    "2000-02-05",
    "2001-01-24",
    "2002-02-12",
    "2003-02-01",
    "2004-01-22",
    "2005-02-09",
    "2006-01-29",
    "2007-02-18",
    "2008-02-07",
    "2009-01-26",
    "2010-02-14",
    "2011-02-03",
    "2012-01-23",
    "2013-02-10",
    "2014-01-31",
    "2015-02-19",
    "2016-02-08",
    "2017-01-28",
    "2018-02-16",
    "2019-02-05",
    "2020-01-25",
    "2021-02-12",
    "2022-02-01",
    "2023-01-22",
    "2024-02-10",
    "2025-01-29",
    "2026-02-17",
    "2027-02-06",
    "2028-01-26",
    "2029-02-13",
    "2030-02-03",
    "2031-01-23",
    "2032-02-11",
    "2033-01-31",
    "2034-02-19",
    "2035-02-08",
    "2036-01-28",
    "2037-02-15",
    "2038-02-04",
    "2039-01-24",
    "2040-02-12",
    "2041-02-01",
    "2042-01-22",
    "2043-02-10",
    "2044-01-30",
    "2045-02-17",
    "2046-02-06",
    "2047-01-26",
    "2048-02-14",
    "2049-02-02",
    "2050-01-23",
    "2051-02-11",
    // From here the days of the widely published 1900-2100 month table (the hexadecimal one
    // of many calendar programs), decoded; made independently of our generator.
    "2052-02-01",
    "2053-02-19",
    "2054-02-08",
    "2055-01-28",
    "2056-02-15",
    "2057-02-04",
    "2058-01-24",
    "2059-02-12",
    "2060-02-02",
    "2061-01-21",
    "2062-02-09",
    "2063-01-29",
    "2064-02-17",
    "2065-02-05",
    "2066-01-26",
    "2067-02-14",
    "2068-02-03",
    "2069-01-23",
    "2070-02-11",
    "2071-01-31",
    "2072-02-19",
    "2073-02-07",
    "2074-01-27",
    "2075-02-15",
    "2076-02-05",
    "2077-01-24",
    "2078-02-12",
    "2079-02-02",
    "2080-01-22",
    "2081-02-09",
    "2082-01-29",
    "2083-02-17",
    "2084-02-06",
    "2085-01-26",
    "2086-02-14",
    "2087-02-03",
    "2088-01-24",
    "2089-02-10",
    "2090-01-30",
    "2091-02-18",
    "2092-02-07",
    "2093-01-27",
    "2094-02-15",
    "2095-02-05",
    "2096-01-25",
    "2097-02-12",
    "2098-02-01",
    "2099-01-21",
    "2100-02-09",
    "2101-01-29",
};

TEST(LunarCalendarTest, EveryNewYearFallsOnThePublishedDay) {
    ASSERT_EQ(kNewYearDays.size(), static_cast<size_t>(kLunarYearCount + 1));
    for (int i = 0; i < kLunarYearCount; ++i) {
        const SolarDate d = ParseDate(kNewYearDays[i]);
        SCOPED_TRACE(kNewYearDays[i]);
        EXPECT_EQ(SolarToLunar(d.year, d.month, d.day), (LunarDate{kLunarFirstYear + i, 1, 1}));
        if (i > 0) {
            const SolarDate eve = DayBefore(d);
            const auto last = SolarToLunar(eve.year, eve.month, eve.day);
            ASSERT_TRUE(last.has_value());
            EXPECT_EQ(last->year, kLunarFirstYear + i - 1);
            EXPECT_EQ(last->month, 12);
            EXPECT_GE(last->day, 29);
        }
    }
}

// The picker's month lengths and the date conversion read the month word through
// different bit positions; both must add up to the same year.
TEST(LunarCalendarTest, MonthLengthsAddUpToTheYearBetweenNewYears) {
    for (int year = kLunarFirstYear; year <= kLunarLastYear; ++year) {
        int days = 0;
        for (int month = 1; month <= 12; ++month) {
            const std::int32_t packed = LunarMonthDays(year, month);
            const int regular = packed & 0xFFFF;
            const int leap = packed >> 16;
            EXPECT_TRUE(regular == 29 || regular == 30) << year << "/" << month;
            EXPECT_EQ(leap != 0, month == LunarLeapMonth(year)) << year << "/" << month;
            days += regular + leap;
        }
        const SolarDate from = ParseDate(kNewYearDays[year - kLunarFirstYear]);
        const SolarDate to = ParseDate(kNewYearDays[year - kLunarFirstYear + 1]);
        EXPECT_EQ(days, DaysFromCivil(to.year, to.month, to.day) - DaysFromCivil(from.year, from.month, from.day))
            << year;
    }
}

TEST(LunarCalendarTest, MonthDaysPacksTheLeapMonthInTheHighHalf) {
    struct Case {
        int year, month;
        std::int32_t expected;
    };
    const Case cases[] = {
        {1984, 10, 30 | (29 << 16)},
        {1984, 11, 30},
        {2025, 3, 30},
        {2025, 4, 29},
        {2025, 6, 30 | (29 << 16)},
        {2025, 7, 30},
        {2033, 11, 30 | (29 << 16)},
        {2033, 12, 30},  // the thirteenth month sits in bit 3
        {1901, 1, 29},
        {2050, 12, 29},
        {1900, 5, 30},
        {INT_MIN, 1, 30},
        {2101, 1, 30},
        {INT_MAX, 1, 30},
        {2020, 0, 0},
        {2020, 13, 0},
        {2020, -4, 0},
        {2020, INT_MIN, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LunarMonthDays(c.year, c.month), c.expected) << c.year << "/" << c.month;
    }
}

TEST(LunarCalendarTest, LeapMonths) {
    const std::pair<int, int> cases[] = {
        {1901, 0}, {1903, 5}, {1984, 10}, {1987, 6}, {2020, 4}, {2023, 2}, {2025, 6},    {2033, 11},   {2034, 0},
        {2050, 3}, {2052, 8}, {2099, 2},  {2100, 0}, {1900, 0}, {2101, 0}, {INT_MIN, 0}, {INT_MAX, 0},
    };
    for (const auto& [year, leap] : cases) {
        EXPECT_EQ(LunarLeapMonth(year), leap) << year;
    }
}

TEST(LunarCalendarTest, SolarToLunarText) {
    const std::pair<SolarDate, std::string> cases[] = {
        {{1901, 2, 19}, "牛(辛丑)年正月初一"},
        {{1914, 11, 17}, "虎(甲寅)年十月初一"},  // ninth month of 1914 has 29 days
        {{1916, 2, 2}, "兔(乙卯)年腊月廿九"},
        {{1916, 2, 3}, "龙(丙辰)年正月初一"},
        {{1920, 11, 10}, "猴(庚申)年十月初一"},  // ninth month of 1920 has 29 days
        {{1921, 2, 8}, "鸡(辛酉)年正月初一"},
        {{1949, 10, 1}, "牛(己丑)年八月初十"},
        {{1984, 11, 23}, "鼠(甲子)年闰十月初一"},
        {{1987, 7, 26}, "兔(丁卯)年闰六月初一"},
        {{2012, 8, 23}, "龙(壬辰)年七月初七"},
        {{2013, 8, 27}, "蛇(癸巳)年七月廿一"},
        {{2020, 5, 23}, "鼠(庚子)年闰四月初一"},
        {{2020, 10, 1}, "鼠(庚子)年八月十五"},
        {{2021, 2, 11}, "鼠(庚子)年腊月三十"},
        {{2021, 2, 12}, "牛(辛丑)年正月初一"},
        {{2023, 3, 22}, "兔(癸卯)年闰二月初一"},
        {{2025, 4, 27}, "蛇(乙巳)年三月三十"},
        {{2025, 4, 28}, "蛇(乙巳)年四月初一"},
        {{2025, 5, 31}, "蛇(乙巳)年五月初五"},
        {{2025, 7, 25}, "蛇(乙巳)年闰六月初一"},
        {{2025, 10, 6}, "蛇(乙巳)年八月十五"},
        {{2026, 2, 16}, "蛇(乙巳)年腊月廿九"},
        {{2026, 2, 17}, "马(丙午)年正月初一"},
        {{2033, 12, 22}, "牛(癸丑)年闰冬月初一"},
        {{2051, 2, 10}, "马(庚午)年腊月廿九"},
        {{2057, 9, 28}, "牛(丁丑)年九月初一"},  // new moon 23:59:50 Beijing; older tables say 八月三十
        {{2061, 4, 20}, "蛇(辛巳)年闰三月初一"},
        {{2097, 8, 7}, "蛇(丁巳)年七月初一"},  // new moon 23:59:18 Beijing
        {{2101, 1, 28}, "猴(庚申)年腊月廿九"},
    };
    for (const auto& [d, text] : cases) {
        EXPECT_EQ(SolarToLunarText(d.year, d.month, d.day), text) << d.year << "-" << d.month << "-" << d.day;
    }
}

TEST(LunarCalendarTest, InvalidOrUncoveredSolarDatesGiveNoText) {
    const SolarDate cases[] = {
        {1901, 2, 18},
        {2101, 1, 29},
        {1900, 6, 1},
        {2101, 6, 1},
        {2021, 13, 1},
        {2021, 0, 1},
        {2021, -1, 1},
        {2021, 1, 0},
        {2021, 1, 32},
        {2021, 2, 29},
        {2000, 2, 30},
        {2021, 4, 31},
        {INT_MIN, INT_MIN, INT_MIN},
        {INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX, 12, 31},
        {INT_MIN, 1, 1},
    };
    for (const SolarDate& d : cases) {
        EXPECT_FALSE(SolarToLunar(d.year, d.month, d.day).has_value()) << d.year << "-" << d.month << "-" << d.day;
        EXPECT_EQ(SolarToLunarText(d.year, d.month, d.day), "");
    }
    EXPECT_EQ(SolarToLunarText(2020, 2, 29), "鼠(庚子)年二月初七");
}

TEST(LunarCalendarTest, YearText) {
    EXPECT_EQ(LunarYearText(1984), "甲子鼠年(1984)");
    EXPECT_EQ(LunarYearText(1975), "乙卯兔年(1975)");
    EXPECT_EQ(LunarYearText(2026), "丙午马年(2026)");
    EXPECT_EQ(LunarYearText(1901), "辛丑牛年(1901)");
    EXPECT_EQ(LunarYearText(3), "癸亥猪年(3)");  // stems and branches wrap below year 4
    EXPECT_EQ(LunarYearText(INT_MIN), "壬子鼠年(-2147483648)");
    EXPECT_EQ(LunarYearText(INT_MAX), "丁卯兔年(2147483647)");
}

TEST(LunarCalendarTest, MonthText) {
    std::string all;
    for (int month = 1; month <= 12; ++month) all += LunarMonthText(month);
    EXPECT_EQ(all, "正月二月三月四月五月六月七月八月九月十月冬月腊月");
    EXPECT_EQ(LunarMonthText(-4), "闰四月");
    EXPECT_EQ(LunarMonthText(-12), "闰腊月");
    for (int bad : {0, 13, -13, INT_MIN, INT_MAX}) {
        EXPECT_EQ(LunarMonthText(bad), "") << bad;
    }
}

TEST(LunarCalendarTest, DayNames) {
    std::string all;
    for (int day = 1; day <= 30; ++day) all += LunarDayName(day);
    EXPECT_EQ(all,
              "初一初二初三初四初五初六初七初八初九初十"
              "十一十二十三十四十五十六十七十八十九二十"
              "廿一廿二廿三廿四廿五廿六廿七廿八廿九三十");
    for (int bad : {0, 31, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(LunarDayName(bad), "") << bad;
    }
}

}  // namespace
}  // namespace kivtal

namespace kivtal {
namespace {

// Every day the tables hold goes to its lunar date and back.
TEST(LunarCalendarTest, LunarToSolarInvertsSolarToLunar) {
    const std::int64_t first = DaysFromCivil(1901, 2, 19);
    const std::int64_t end = DaysFromCivil(2101, 1, 29);
    for (std::int64_t n = first; n < end; ++n) {
        const CivilDate d = CivilFromDays(n);
        const std::optional<LunarDate> lunar = SolarToLunar(d.year, d.month, d.day);
        ASSERT_TRUE(lunar.has_value()) << n;
        const std::optional<CivilDate> back = LunarToSolar(lunar->year, lunar->month, lunar->day);
        ASSERT_TRUE(back.has_value()) << n;
        ASSERT_EQ(DaysFromCivil(back->year, back->month, back->day), n);
    }
}

TEST(LunarCalendarTest, LunarToSolarRejectsDatesTheCalendarLacks) {
    const LunarDate cases[] = {
        {2025, -4, 1},                 // 2025 has a leap sixth month, not a fourth
        {2026, -1, 1}, {2025, 4, 30},  // the fourth month of 2025 has 29 days
        {2025, 13, 1}, {2025, 0, 1},  {2025, -13, 1},  {2025, 1, 0},
        {1900, 1, 1},  {2101, 1, 1},  {INT_MIN, 1, 1}, {2025, INT_MIN, 1},
    };
    for (const LunarDate& d : cases) {
        EXPECT_FALSE(LunarToSolar(d.year, d.month, d.day).has_value()) << d.year << "/" << d.month << "/" << d.day;
    }
}

}  // namespace
}  // namespace kivtal
