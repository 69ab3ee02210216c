#include "ui/controls/CalendarDate.h"

#include "model/Clock.h"

namespace kivtal {
namespace {

CalendarDate FromDayNumber(std::int64_t days) {
    // The inverse of DaysFromCivil, on 400-year eras of 146 097 days from 0000-03-01.
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
    return {year, month, day};
}

}  // namespace

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
    return FromDayNumber(DaysFromCivil(date.year, date.month, date.day) + n);
}

int DayOfWeek(CalendarDate date) {
    // 1970-01-01 was a Thursday.
    const std::int64_t w = (DaysFromCivil(date.year, date.month, date.day) + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

std::optional<std::int32_t> DayStart(CalendarDate date) {
    return WallClockToTime(WallClock{.year = date.year, .month = date.month, .day = date.day});
}

std::optional<std::int32_t> ClockMoment(CalendarDate date) {
    const WallClock now = TimeToWallClock(NowSeconds());
    return WallClockToTime(WallClock{.year = date.year,
                                     .month = date.month,
                                     .day = date.day,
                                     .hour = now.hour,
                                     .minute = now.minute,
                                     .second = now.second});
}

}  // namespace kivtal
