#include "text/SolarTerms.h"

#include <array>
#include <cmath>

#include "text/SolarPosition.h"

namespace kivtal {
namespace {

constexpr std::array<std::string_view, kSolarTermCount> kNames = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至",
};

constexpr double kUnixEpochJd = 2440587.5;
constexpr double kSecondsPerDay = 86400;
constexpr double kTropicalYearDays = 365.2422;

bool Covered(int year, int index) {
    return year >= kSolarTermFirstYear && year <= kSolarTermLastYear && index >= 0 && index < kSolarTermCount;
}

// Angle from `from` to `to` in degrees, in [-180, 180).
double AngleTo(double from, double to) {
    const double d = std::fmod(to - from + 540.0, 360.0);
    return d - 180.0;
}

// The Julian Ephemeris Day at which the apparent longitude reaches `target`, starting
// from a guess within a few days. Each step moves by the mean solar motion, so the error
// shrinks about a hundredfold a step; a few steps reach a millisecond.
double JdeOfLongitude(double target, double guess) {
    double jde = guess;
    for (int i = 0; i < 10; ++i) {
        const double step = AngleTo(SunApparentLongitude(jde), target) / 360.0 * kTropicalYearDays;
        jde += step;
        if (std::abs(step) < 1e-8) break;
    }
    return jde;
}

}  // namespace

std::optional<double> SolarTermMoment(int year, int index) {
    if (!Covered(year, index)) return std::nullopt;
    const double target = std::fmod(285.0 + 15.0 * index, 360.0);
    // 小寒 falls on 5 to 7 January; the terms follow each other about 15.2 days apart.
    const double guess = kUnixEpochJd + static_cast<double>(DaysFromCivil(year, 1, 6)) + index * 15.2184;
    const double jde = JdeOfLongitude(target, guess);
    const double decimalYear = year + (index + 0.5) / kSolarTermCount;
    const double jdUt = jde - DeltaTSeconds(decimalYear) / kSecondsPerDay;
    return (jdUt - kUnixEpochJd) * kSecondsPerDay;
}

std::optional<CivilDate> SolarTermDate(int year, int index) {
    const std::optional<double> moment = SolarTermMoment(year, index);
    if (!moment) return std::nullopt;
    const double beijingDays = (*moment + kWallClockOffsetSeconds) / kSecondsPerDay;
    return CivilFromDays(static_cast<std::int64_t>(std::floor(beijingDays)));
}

std::string_view SolarTermName(int index) {
    if (index < 0 || index >= kSolarTermCount) return {};
    return kNames[index];
}

int SolarTermOn(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > SolarMonthDays(year, month)) return -1;
    for (int index = 2 * (month - 1); index < 2 * month; ++index) {
        const std::optional<CivilDate> date = SolarTermDate(year, index);
        if (date && date->month == month && date->day == day) return index;
    }
    return -1;
}

}  // namespace kivtal
