#include "model/WallClock.h"

#include <limits>

namespace kivtal {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

}  // namespace

// Same era arithmetic as DaysFromCivil, so negative day numbers work too.
CivilDate CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

bool FieldsValid(const WallClock& w) {
    return InRange(w.month, 1, 12) && InRange(w.day, 1, SolarMonthDays(w.year, w.month)) && InRange(w.hour, 0, 23) &&
           InRange(w.minute, 0, 59) && InRange(w.second, 0, 59) && InRange(w.milliseconds, 0, 999);
}

}  // namespace

std::int64_t DaysFromCivil(int year, int month, int day) {
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int SolarMonthDays(int year, int month) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12: return 31;
        case 4:
        case 6:
        case 9:
        case 11: return 30;
        case 2: {
            const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
            return leap ? 29 : 28;
        }
        default: return 0;
    }
}

WallClock TimeToWallClock(std::int32_t t) {
    // 64-bit so that times near INT32_MAX survive the offset.
    const std::int64_t local = static_cast<std::int64_t>(t) + kWallClockOffsetSeconds;
    const std::int64_t days = FloorDiv(local, kSecondsPerDay);
    const std::int64_t secondOfDay = local - days * kSecondsPerDay;
    const CivilDate date = CivilFromDays(days);

    WallClock w;
    w.year = date.year;
    w.month = date.month;
    w.day = date.day;
    w.dayOfWeek = static_cast<int>((days % 7 + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    w.hour = static_cast<int>(secondOfDay / 3600);
    w.minute = static_cast<int>(secondOfDay / 60 % 60);
    w.second = static_cast<int>(secondOfDay % 60);
    w.milliseconds = 0;
    return w;
}

std::optional<std::int32_t> WallClockToTime(const WallClock& w) {
    if (!FieldsValid(w)) {
        return std::nullopt;
    }
    const std::int64_t t = DaysFromCivil(w.year, w.month, w.day) * kSecondsPerDay + w.hour * 3600 + w.minute * 60 +
                           w.second - kWallClockOffsetSeconds;
    if (t < std::numeric_limits<std::int32_t>::min() || t > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(t);
}

}  // namespace kivtal
