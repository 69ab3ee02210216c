#include "text/DayTexts.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/WallClock.h"
#include "text/LunarCalendar.h"
#include "text/SolarTerms.h"

namespace kivtal {
namespace {

struct Festival {
    int month;
    int day;
    std::string_view name;
};

constexpr Festival kLunarFestivals[] = {
    {1, 1, "春节"},  {1, 15, "元宵"}, {5, 5, "端午"},  {7, 7, "七夕"},
    {8, 15, "中秋"}, {9, 9, "重阳"},  {12, 8, "腊八"}, {12, 23, "小年"},
};

constexpr Festival kSolarFestivals[] = {
    {1, 1, "元旦"},   {2, 14, "情人节"}, {3, 8, "妇女节"},  {5, 1, "劳动节"},
    {6, 1, "儿童节"}, {9, 10, "教师节"}, {10, 1, "国庆节"},
};

std::string_view Find(const auto& festivals, int month, int day) {
    for (const Festival& f : festivals) {
        if (f.month == month && f.day == day) return f.name;
    }
    return {};
}

// The lunar year's last day: the 29th or 30th of its twelfth month, of the leap twelfth
// when the year has one.
bool IsLastDayOfLunarYear(const LunarDate& d) {
    const bool leapLast = LunarLeapMonth(d.year) == 12;
    const std::int32_t lengths = LunarMonthDays(d.year, 12);
    const int lastLength = leapLast ? lengths >> 16 : lengths & 0xFFFF;
    return d.month == (leapLast ? -12 : 12) && d.day == lastLength;
}

std::string_view FestivalOn(int month, int day, const std::optional<LunarDate>& lunar) {
    if (lunar) {
        if (IsLastDayOfLunarYear(*lunar)) return "除夕";
        const std::string_view traditional = Find(kLunarFestivals, lunar->month, lunar->day);
        if (!traditional.empty()) return traditional;
    }
    return Find(kSolarFestivals, month, day);
}

}  // namespace

DayText CalendarDayText(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > SolarMonthDays(year, month)) return {};
    const std::optional<LunarDate> lunar = SolarToLunar(year, month, day);
    if (const std::string_view festival = FestivalOn(month, day, lunar); !festival.empty()) {
        return {std::string(festival), DayTextKind::kFestival};
    }
    if (const int term = SolarTermOn(year, month, day); term >= 0) {
        return {std::string(SolarTermName(term)), DayTextKind::kSolarTerm};
    }
    if (!lunar) return {};
    if (lunar->day == 1) return {LunarMonthText(lunar->month), DayTextKind::kLunarMonth};
    return {LunarDayName(lunar->day), DayTextKind::kLunarDay};
}

}  // namespace kivtal
