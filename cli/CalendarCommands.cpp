// calendar YYYY-MM: each day of the month with the text its calendar cell shows. Needs
// no login and no data.
#include <cstdio>

#include "CliContext.h"
#include "ExitCodes.h"
#include "model/WallClock.h"
#include "text/Birthdays.h"
#include "text/DayTexts.h"
#include "text/LunarCalendar.h"
#include "text/SolarTerms.h"

namespace kivtal::cli {

namespace {

constexpr const char* kKinds[] = {"", "lunar_day", "lunar_month", "solar_term", "festival"};
constexpr const char* kWeekdays[] = {"日", "一", "二", "三", "四", "五", "六"};

Json::Value DayJson(const CivilDate& d) {
    const DayText text = CalendarDayText(d.year, d.month, d.day);
    const std::optional<LunarDate> lunar = SolarToLunar(d.year, d.month, d.day);
    Json::Value row(Json::objectValue);
    row["date"] = DateText(d);
    row["weekday"] = kWeekdays[(DaysFromCivil(d.year, d.month, d.day) % 7 + 11) % 7];  // 1970-01-01 a Thursday
    row["text"] = text.text;
    row["kind"] = kKinds[static_cast<int>(text.kind)];
    row["lunar"] = lunar ? LunarMonthText(lunar->month) + LunarDayName(lunar->day) : "";
    row["solar_term"] = std::string(SolarTermName(SolarTermOn(d.year, d.month, d.day)));
    return row;
}

}  // namespace

int RunCalendar(CliContext& ctx) {
    if (const int c = CheckOptions(ctx.args, {}); c != kExitOk) return c;
    if (const int c = CheckWordCount(ctx.args, 2, "calendar YYYY-MM"); c != kExitOk) return c;
    const std::string month = ctx.args.word(1);
    int y = 0, m = 0;
    char tail = 0;
    if (month.size() != 7 || std::sscanf(month.c_str(), "%4d-%2d%c", &y, &m, &tail) != 2 || y < 1 || m < 1 || m > 12)
        return Fail(kExitUsage, "invalid month '" + month + "': YYYY-MM");
    std::vector<CivilDate> days;
    for (int d = 1; d <= SolarMonthDays(y, m); ++d) days.push_back({y, m, d});
    PrintRecords(ctx.output, {{"date"}, {"weekday"}, {"text"}, {"kind"}, {"lunar"}, {"solar_term"}}, days, DayJson);
    return kExitOk;
}

}  // namespace kivtal::cli
