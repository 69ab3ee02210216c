#pragma once
// Raw lunar month data for the lunar years kLunarFirstYear..kLunarLastYear.
// Only the lunar calendar reads these; everyone else goes through LunarCalendar.h.
#include <array>
#include <cstdint>

namespace kivtal {

inline constexpr int kLunarFirstYear = 1901;
inline constexpr int kLunarLastYear = 2100;
inline constexpr int kLunarYearCount = kLunarLastYear - kLunarFirstYear + 1;

// One word a year. Months in order, the leap month in its place after its regular
// month, from bit 15 downwards; a set bit is a 30-day month, a clear one 29 days.
extern const std::array<std::uint16_t, kLunarYearCount> kLunarMonthWords;

// The leap month of each year (0 = none), two years a byte: the earlier year of a
// pair in the high nibble.
extern const std::array<std::uint8_t, (kLunarYearCount + 1) / 2> kLunarLeapNibbles;

}  // namespace kivtal
