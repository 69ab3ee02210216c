#pragma once
// Stored times are whole seconds since 1970-01-01 00:00 UTC in 32-bit ints; every
// time a user sees or enters is Beijing time (UTC+8), whatever zone the computer is
// set to. These conversions therefore never consult TZ or the C library's zone state,
// and are safe to call from any thread.
#include <cstdint>
#include <optional>

namespace kivtal {

inline constexpr std::int32_t kWallClockOffsetSeconds = 8 * 3600;

// Broken-down wall-clock time. dayOfWeek counts from Sunday = 0.
struct WallClock {
    int year = 1970;
    int month = 1;
    int dayOfWeek = 4;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;

    friend bool operator==(const WallClock&, const WallClock&) = default;
};

WallClock TimeToWallClock(std::int32_t t);

// dayOfWeek is ignored and milliseconds are dropped. Empty when a field is out of its
// range (month 13, 31 April, hour 24, ...) or the time does not fit in 32 bits.
std::optional<std::int32_t> WallClockToTime(const WallClock& wallClock);

// Days of a Gregorian month, 28 to 31; 0 for a month outside 1..12.
int SolarMonthDays(int year, int month);

// Proleptic Gregorian day numbers, day 0 = 1970-01-01.
std::int64_t DaysFromCivil(int year, int month, int day);

struct CivilDate {
    int year;
    int month;
    int day;
};
// The inverse of DaysFromCivil, negative day numbers included.
CivilDate CivilFromDays(std::int64_t days);

}  // namespace kivtal
