#pragma once
// A local (Beijing) calendar date as the matters windows pass it around, and the
// small date arithmetic they share.
#include <cstdint>
#include <optional>

#include "model/WallClock.h"

namespace kivtal {

struct CalendarDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
    friend auto operator<=>(const CalendarDate&, const CalendarDate&) = default;

    // Packed into one message parameter: yyyymmdd.
    std::intptr_t Pack() const { return std::intptr_t{year} * 10000 + month * 100 + day; }
    static CalendarDate Unpack(std::intptr_t packed) {
        return {static_cast<int>(packed / 10000), static_cast<int>(packed / 100 % 100), static_cast<int>(packed % 100)};
    }
};

// The Beijing date of a stored time.
CalendarDate DateOf(std::int32_t t);
// The date the current clock shows in Beijing.
CalendarDate TodayDate();
// One day later (month and year roll over).
CalendarDate NextDay(CalendarDate date);
// n days later or earlier, through day numbers.
CalendarDate AddDays(CalendarDate date, int n);
// 0 = Sunday.
int DayOfWeek(CalendarDate date);
// 00:00:00 of the date in stored seconds; empty for an invalid date or one that does
// not fit in 32 bits.
std::optional<std::int32_t> DayStart(CalendarDate date);

}  // namespace kivtal
