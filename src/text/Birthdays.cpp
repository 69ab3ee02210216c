#include "text/Birthdays.h"

#include <algorithm>
#include <cstdio>
#include <cstdint>

#include "text/LunarCalendar.h"

namespace kivtal {
namespace {

bool Before(CivilDate a, CivilDate b) {
    return DaysFromCivil(a.year, a.month, a.day) < DaysFromCivil(b.year, b.month, b.day);
}

std::optional<BirthdayOccurrence> Occurrence(const Birthday& b, int year, std::optional<CivilDate> date) {
    if (!date) return std::nullopt;
    return BirthdayOccurrence{*date, b.year > 0 && year >= b.year ? year - b.year : -1};
}

std::optional<BirthdayOccurrence> SolarIn(const Birthday& b, int year) {
    const int day = std::min(b.day, SolarMonthDays(year, b.month));
    return Occurrence(b, year, CivilDate{year, b.month, day});
}

std::optional<BirthdayOccurrence> LunarIn(const Birthday& b, int year) {
    const bool leapThere = b.month < 0 && LunarLeapMonth(year) == -b.month;
    const int month = b.month < 0 && !leapThere ? -b.month : b.month;
    const std::int32_t lengths = LunarMonthDays(year, month < 0 ? -month : month);
    const int length = month < 0 ? lengths >> 16 : lengths & 0xFFFF;
    return Occurrence(b, year, LunarToSolar(year, month, std::min(b.day, length)));
}

}  // namespace

std::optional<Birthday> ParseBirthday(int type, std::string_view text) {
    if (type != kSolarBirthday && type != kLunarBirthday) return std::nullopt;
    Birthday b{type};
    char tail = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%d-%d%c", &b.year, &b.month, &b.day, &tail) != 3) return std::nullopt;
    const int month = b.month < 0 ? -b.month : b.month;
    if (b.year < 0 || month < 1 || month > 12 || b.day < 1) return std::nullopt;
    if (type == kSolarBirthday && (b.month < 0 || b.day > SolarMonthDays(2000, b.month))) return std::nullopt;
    if (type == kLunarBirthday && b.day > 30) return std::nullopt;
    return b;
}

std::optional<BirthdayOccurrence> NextBirthday(const Birthday& b, CivilDate from) {
    int year = from.year;
    if (b.type == kLunarBirthday) {
        const std::optional<LunarDate> lunar = SolarToLunar(from.year, from.month, from.day);
        if (!lunar) return std::nullopt;
        year = lunar->year;
    }
    for (int y = year; y <= year + 1; ++y) {
        const auto next = b.type == kLunarBirthday ? LunarIn(b, y) : SolarIn(b, y);
        if (!next) return std::nullopt;
        if (!Before(next->date, from)) return next;
    }
    return std::nullopt;
}

std::vector<UpcomingBirthday> UpcomingBirthdays(const std::vector<ContactBirthday>& contacts, CivilDate today,
                                                int days) {
    const std::int64_t first = DaysFromCivil(today.year, today.month, today.day);
    std::vector<UpcomingBirthday> out;
    for (const ContactBirthday& c : contacts) {
        const std::optional<Birthday> b = ParseBirthday(c.type, c.text);
        if (!b) continue;
        const std::optional<BirthdayOccurrence> next = NextBirthday(*b, today);
        if (!next) continue;
        const auto left = static_cast<int>(DaysFromCivil(next->date.year, next->date.month, next->date.day) - first);
        if (left > days) continue;
        out.push_back({c.contactId, c.name, *b, *next, left});
    }
    std::stable_sort(out.begin(), out.end(), [](const UpcomingBirthday& a, const UpcomingBirthday& b) {
        return a.daysLeft != b.daysLeft ? a.daysLeft < b.daysLeft : a.name < b.name;
    });
    return out;
}

std::vector<BirthdayNotice> DueBirthdayNotices(const std::vector<ContactBirthday>& contacts, CivilDate today,
                                               int daysBefore) {
    std::vector<BirthdayNotice> due;
    for (UpcomingBirthday& b : UpcomingBirthdays(contacts, today, std::max(daysBefore, 0))) {
        const auto kind = b.daysLeft == 0 ? BirthdayNoticeKind::kOnTheDay : BirthdayNoticeKind::kAhead;
        due.push_back({std::move(b), kind});
    }
    return due;
}

std::string BirthdayNoticeText(const BirthdayNotice& notice) {
    const UpcomingBirthday& b = notice.birthday;
    std::string when = b.daysLeft == 0 ? "今天" : b.daysLeft == 1 ? "明天" : std::to_string(b.daysLeft) + "天后";
    std::string text = b.name + " " + when + "生日 (";
    if (b.daysLeft != 0) {
        char date[8];
        std::snprintf(date, sizeof date, "%02d-%02d", b.next.date.month, b.next.date.day);
        text += date;
        if (b.birthday.type == kLunarBirthday)
            text += " 农历" + LunarMonthText(b.birthday.month) + LunarDayName(b.birthday.day);
        if (b.next.age >= 0) text += " ";
    }
    if (b.next.age >= 0) text += std::to_string(b.next.age) + "岁";
    if (text.back() == '(') return text.substr(0, text.size() - 2);
    return text + ")";
}

std::string DateText(CivilDate date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

}  // namespace kivtal
