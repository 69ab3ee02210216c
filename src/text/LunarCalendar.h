#pragma once
// The Chinese lunar calendar for the lunar years 1901 to 2100: month lengths, leap
// months, the names of years, months and days, and the lunar date of a solar date.
// Pure computation on fixed tables; callable from any thread.
//
// A lunar year is named by the solar year in which it begins. Month numbers are 1 to
// 12; a leap month is written as the negative of its number (-4 is the leap fourth
// month), as lunar birthdays are stored.
#include <cstdint>
#include <optional>
#include <string>

#include "model/WallClock.h"
#include "text/LunarTables.h"

namespace kivtal {

struct LunarDate {
    int year = 0;
    int month = 0;  // negative for the leap month
    int day = 0;

    friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// 0 to 12, 0 meaning no leap month; 0 for a year outside the tables.
int LunarLeapMonth(int year);

// Low 16 bits: days of the regular month `month` (1 to 12). High 16 bits: days of the
// leap month when `month` is the year's leap month, else 0. A year outside the tables
// gives 30 (so a picker still offers every day); a month outside 1..12 gives 0.
std::int32_t LunarMonthDays(int year, int month);

// "甲子鼠年(1984)": stem, branch and animal of the year, then the year.
std::string LunarYearText(int year);

// "正月" ... "腊月", "闰四月" for -4; empty for a month outside 1..12 and -12..-1.
std::string LunarMonthText(int month);

// "初一" ... "三十"; empty outside 1..30.
std::string LunarDayName(int day);

// Empty for an invalid solar date or one outside 1901-02-19 .. the end of lunar 2100.
std::optional<LunarDate> SolarToLunar(int year, int month, int day);

// The solar date of a lunar date (month negative for the leap month). Empty for a year
// outside the tables, a leap month the year does not have, or a day past the month's end.
std::optional<CivilDate> LunarToSolar(int year, int month, int day);

// "蛇(癸巳)年七月廿一"; empty where SolarToLunar is.
std::string SolarToLunarText(int year, int month, int day);

}  // namespace kivtal
