#include "ui/controls/CalendarDate.h"

#include "model/Clock.h"

namespace kivtal {

CalendarDate DateOf(std::int32_t t) {
    const WallClock w = TimeToWallClock(t);
    return {w.year, w.month, w.day};
}

CalendarDate TodayDate() { return DateOf(NowSeconds()); }

CalendarDate NextDay(CalendarDate date) {
    if (date.day < SolarMonthDays(date.year, date.month)) return {date.year, date.month, date.day + 1};
    if (date.month == 12) return {date.year + 1, 1, 1};
    return {date.year, date.month + 1, 1};
}

CalendarDate AddDays(CalendarDate date, int n) {
    const CivilDate d = CivilFromDays(DaysFromCivil(date.year, date.month, date.day) + n);
    return {d.year, d.month, d.day};
}

int DayOfWeek(CalendarDate date) {
    // 1970-01-01 was a Thursday.
    const std::int64_t w = (DaysFromCivil(date.year, date.month, date.day) + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

std::optional<std::int32_t> DayStart(CalendarDate date) {
    return WallClockToTime(WallClock{.year = date.year, .month = date.month, .day = date.day});
}

}  // namespace kivtal
