#pragma once
// The 24 solar terms of the years 1901 to 2100: the moment the Sun's apparent longitude
// reaches each multiple of 15 degrees, and the Beijing date of that moment. Computed,
// not tabled (text/SolarPosition.h); callable from any thread.
//
// Terms are numbered in the order a Gregorian year meets them: 0 is 小寒 (285°), 2 is
// 立春 (315°), 5 is 春分 (0°), 23 is 冬至 (270°). Term 2k and 2k+1 fall in month k+1.
//
// The day is the Beijing date of the computed moment, whatever the distance from
// midnight. The moment is good to well under a minute, so a term within a minute of
// midnight may fall on the neighbouring day in a table computed with another ephemeris;
// the date given here is then that of our moment, not of the other table.
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/WallClock.h"

namespace kivtal {

inline constexpr int kSolarTermFirstYear = 1901;
inline constexpr int kSolarTermLastYear = 2100;
inline constexpr int kSolarTermCount = 24;

// The moment of term `index` (0..23) of `year`, in seconds since 1970-01-01 00:00 UTC
// (a double: years past 2038 do not fit the 32-bit stored times). Empty for a year
// outside 1901..2100 or an index outside 0..23.
std::optional<double> SolarTermMoment(int year, int index);

// The Beijing date of that moment; empty where SolarTermMoment is.
std::optional<CivilDate> SolarTermDate(int year, int index);

// "小寒" ... "冬至"; empty outside 0..23.
std::string_view SolarTermName(int index);

// The index of the term that falls on the Beijing date, or -1 (no term that day, an
// invalid date, or a year outside 1901..2100).
int SolarTermOn(int year, int month, int day);

}  // namespace kivtal
