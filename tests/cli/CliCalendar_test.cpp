// The calendar month, the coming birthdays and the birthday options through the real
// program.
#include <gtest/gtest.h>

#include <ctime>

#include "cli/CliFixture.h"
#include "model/WallClock.h"
#include "text/Birthdays.h"
#include "text/LunarCalendar.h"

namespace kivtal::test {
namespace {

class CliCalendarTest : public CliFixture {
protected:
    // Beijing's today, as the program reads it from the same clock.
    static CivilDate Today() {
        const WallClock now = TimeToWallClock(static_cast<std::int32_t>(std::time(nullptr)));
        return {now.year, now.month, now.day};
    }
    static CivilDate DaysAfter(CivilDate d, int n) { return CivilFromDays(DaysFromCivil(d.year, d.month, d.day) + n); }
    static std::string YearsAgo(CivilDate d, int years) {
        return DateText({d.year - years, d.month, d.day == 29 && d.month == 2 ? 28 : d.day});
    }
};

TEST_F(CliCalendarTest, CalendarPrintsEachDayWithItsTextAndNeedsNoLogin) {
    const Json::Value days = cliJson({"calendar", "2026-02"});
    ASSERT_EQ(days.size(), 28u);
    struct Row {
        int index;
        const char* date;
        const char* weekday;
        const char* text;
        const char* kind;
        const char* lunar;
        const char* term;
    };
    const Row rows[] = {
        {0, "2026-02-01", "日", "十四", "lunar_day", "腊月十四", ""},
        {3, "2026-02-04", "三", "立春", "solar_term", "腊月十七", "立春"},
        {13, "2026-02-14", "六", "情人节", "festival", "腊月廿七", ""},
        {15, "2026-02-16", "一", "除夕", "festival", "腊月廿九", ""},
        {16, "2026-02-17", "二", "春节", "festival", "正月初一", ""},
    };
    for (const Row& r : rows) {
        const Json::Value& d = days[r.index];
        EXPECT_EQ(d["date"].asString(), r.date);
        EXPECT_EQ(d["weekday"].asString(), r.weekday) << r.date;
        EXPECT_EQ(d["text"].asString(), r.text) << r.date;
        EXPECT_EQ(d["kind"].asString(), r.kind) << r.date;
        EXPECT_EQ(d["lunar"].asString(), r.lunar) << r.date;
        EXPECT_EQ(d["solar_term"].asString(), r.term) << r.date;
    }
    EXPECT_EQ(cliJson({"calendar", "2020-10"})[0]["text"].asString(), "中秋") << "also 国庆节: the traditional first";
    const CliResult tabs = cli({"calendar", "2100-12"});
    EXPECT_EQ(tabs.exitCode, 0);
    EXPECT_NE(tabs.out.find("2100-12-01\t三\t冬月\tlunar_month\t冬月初一\t\n"), std::string::npos) << tabs.out;

    for (const char* bad : {"2026-13", "2026-2", "2026-02-01", "feb", "0000-01"})
        EXPECT_EQ(cli({"calendar", bad}).exitCode, 1) << bad;
    EXPECT_EQ(cli({"calendar"}).exitCode, 1);
    EXPECT_EQ(cli({"calendar", "2026-02", "--days", "3"}).exitCode, 1);
}

TEST_F(CliCalendarTest, BirthdayOptionsStoreWhatThePickersWould) {
    seedAccount();
    struct Case {
        std::vector<std::string> options;
        int exitCode;
        const char* birthday;  // as `contacts show` prints it then
        const char* calendar;
    };
    const Case cases[] = {
        {{"--birthday", "1980-3-5"}, 0, "1980-03-05", "solar"},
        {{"--lunar-birthday", "2020--4-01"}, 0, "2020--4-01", "lunar"},  // 2020 has a leap fourth month
        {{"--lunar-birthday", "2025-03-30"}, 0, "2025-03-30", "lunar"},  // a 30-day month
        {{"--lunar-birthday", "2021--4-01"}, 1, "", ""},                 // 2021 has none
        {{"--lunar-birthday", "2025-04-30"}, 1, "", ""},                 // the fourth month of 2025 has 29 days
        {{"--lunar-birthday", "1900-01-01"}, 1, "", ""},                 // before the tables
        {{"--birthday", "1980-02-30"}, 1, "", ""},
        {{"--birthday", "1980--2-01"}, 1, "", ""},
        {{"--birthday", "03-05"}, 1, "", ""},
        {{"--birthday", "1980-03-05", "--lunar-birthday", "1980-03-05"}, 1, "", ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::vector<std::string> args = {"contacts", "add", "--name", "c" + std::to_string(++n)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << args.back() << ": " << r.err;
        if (r.exitCode != 0) continue;
        const Json::Value shown = cliJson({"contacts", "show", std::to_string(cliJson({"contacts", "list"}).size())});
        EXPECT_EQ(shown[0]["birthday"].asString(), c.birthday);
        EXPECT_EQ(shown[0]["birthday_calendar"].asString(), c.calendar);
    }
    ASSERT_EQ(cli({"contacts", "edit", "1", "--lunar-birthday", "1984--10-01"}).exitCode, 0);
    EXPECT_EQ(cliJson({"contacts", "show", "1"})[0]["birthday"].asString(), "1984--10-01");
    ASSERT_EQ(cli({"contacts", "edit", "1", "--birthday", ""}).exitCode, 0);
    EXPECT_EQ(cliJson({"contacts", "show", "1"})[0]["birthday"].asString(), "");
}

TEST_F(CliCalendarTest, BirthdaysListsTheComingOnesNearestFirst) {
    seedAccount();
    const CivilDate today = Today();
    const std::optional<LunarDate> lunarToday = SolarToLunar(today.year, today.month, today.day);
    ASSERT_TRUE(lunarToday.has_value());
    const CivilDate inFive = DaysAfter(today, 5);
    // Born today (a leap month or a 30th exists in this year for sure).
    char lunarText[24];
    std::snprintf(lunarText, sizeof lunarText, "%04d-%02d-%02d", lunarToday->year, lunarToday->month, lunarToday->day);
    ASSERT_EQ(cli({"contacts", "add", "--name", "王五", "--birthday", YearsAgo(inFive, 30)}).exitCode, 0);
    ASSERT_EQ(cli({"contacts", "add", "--name", "张三", "--birthday", YearsAgo(today, 20)}).exitCode, 0);
    const CliResult lunar = cli({"contacts", "add", "--name", "李四", "--lunar-birthday", lunarText});
    ASSERT_EQ(lunar.exitCode, 0) << lunar.err;
    ASSERT_EQ(cli({"contacts", "add", "--name", "赵六", "--birthday", YearsAgo(DaysAfter(today, 40), 1)}).exitCode, 0);

    const Json::Value list = cliJson({"birthdays"});
    ASSERT_EQ(list.size(), 3u);
    // Today's two by name, then the one in five days.
    EXPECT_EQ(list[0]["name"].asString(), "张三");
    EXPECT_EQ(list[0]["date"].asString(), DateText(today));
    EXPECT_EQ(list[0]["calendar"].asString(), "solar");
    EXPECT_EQ(list[0]["age"].asInt(), 20);
    EXPECT_EQ(list[0]["days_left"].asInt(), 0);
    EXPECT_EQ(list[1]["name"].asString(), "李四");
    EXPECT_EQ(list[1]["calendar"].asString(), "lunar");
    EXPECT_EQ(list[1]["lunar_date"].asString(), LunarMonthText(lunarToday->month) + LunarDayName(lunarToday->day));
    EXPECT_EQ(list[1]["age"].asInt(), 0);
    EXPECT_EQ(list[1]["days_left"].asInt(), 0);
    EXPECT_EQ(list[2]["name"].asString(), "王五");
    EXPECT_EQ(list[2]["days_left"].asInt(), 5);

    EXPECT_EQ(cliJson({"birthdays", "--days", "4"}).size(), 2u);
    EXPECT_EQ(cliJson({"birthdays", "--days", "60"}).size(), 4u);
    for (const char* bad : {"-1", "367", "x"}) EXPECT_EQ(cli({"birthdays", "--days", bad}).exitCode, 1) << bad;
    const CliResult tabs = cli({"birthdays", "--no-header"});
    EXPECT_EQ(tabs.out.substr(0, tabs.out.find('\n')), "2\t张三\t" + DateText(today) + "\tsolar\t\t20\t0");
}

TEST_F(CliCalendarTest, BirthdaysNeedsALogin) {
    const CliResult r = cli({"birthdays"});
    EXPECT_EQ(r.exitCode, 5) << r.err;
}

}  // namespace
}  // namespace kivtal::test
