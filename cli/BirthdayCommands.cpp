// birthdays [--days N]: the coming birthdays, as the matters page lists them.
#include "CliContext.h"
#include "ExitCodes.h"
#include "UserSession.h"
#include "model/Clock.h"
#include "model/WallClock.h"
#include "store/ContactBirthdays.h"
#include "text/Birthdays.h"
#include "text/LunarCalendar.h"

namespace kivtal::cli {

namespace {

constexpr int kDefaultDays = 30;
constexpr int kMostDays = 366;
constexpr std::string_view kOptions[] = {"days"};

Json::Value BirthdayJson(const UpcomingBirthday& b) {
    Json::Value row(Json::objectValue);
    const bool lunar = b.birthday.type == kLunarBirthday;
    row["id"] = b.contactId;
    row["name"] = b.name;
    row["date"] = DateText(b.next.date);
    row["calendar"] = lunar ? "lunar" : "solar";
    row["lunar_date"] = lunar ? LunarMonthText(b.birthday.month) + LunarDayName(b.birthday.day) : "";
    row["age"] = b.next.age >= 0 ? Json::Value(b.next.age) : Json::Value(Json::nullValue);
    row["days_left"] = b.daysLeft;
    return row;
}

int ReadDays(const Args& args, int& days) {
    const std::optional<std::string> text = args.value("days");
    if (!text) return kExitOk;
    const std::optional<int> n = ParseInt(*text);
    if (!n || *n < 0 || *n > kMostDays) return Fail(kExitUsage, "invalid --days '" + *text + "': 0 to 366");
    days = *n;
    return kExitOk;
}

}  // namespace

int RunBirthdays(CliContext& ctx) {
    if (const int c = CheckOptions(ctx.args, kOptions); c != kExitOk) return c;
    if (const int c = CheckWordCount(ctx.args, 1, "birthdays [--days N]"); c != kExitOk) return c;
    int days = kDefaultDays;
    if (const int c = ReadDays(ctx.args, days); c != kExitOk) return c;
    LoginRecord login;
    if (const int c = SelectLastUser(ctx.store, login); c != kExitOk) return c;
    std::vector<ContactBirthday> contacts;
    if (ReadContactBirthdays(ctx.store, contacts) != 0) return FailRead(ctx.store);
    const WallClock now = TimeToWallClock(NowSeconds());
    PrintRecords(ctx.output, {{"id"}, {"name"}, {"date"}, {"calendar"}, {"lunar_date"}, {"age"}, {"days_left"}},
                 UpcomingBirthdays(contacts, {now.year, now.month, now.day}, days), BirthdayJson);
    return kExitOk;
}

}  // namespace kivtal::cli
