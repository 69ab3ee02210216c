#pragma once
// Contacts' birthdays: the next day each one falls on, and the list of those coming.
// Pure computation; callable from any thread.
//
// A solar birthday falls on its month and day; 29 February falls on 28 February in a
// common year. A lunar birthday falls on its lunar month and day of the lunar year
// under way (or of the next one, once this year's has passed): a leap-month birthday
// in a year without that leap month falls on the regular month of the same number, and
// a 30th in a month of 29 days falls on the 29th.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/WallClock.h"

namespace kivtal {

inline constexpr int kSolarBirthday = 1;
inline constexpr int kLunarBirthday = 2;

struct Birthday {
    int type = kSolarBirthday;
    int year = 0;   // 0 when unknown
    int month = 0;  // a lunar leap month is negative
    int day = 0;
};

// The stored text "%04d-%02d-%02d" ("1984--4-05" for a leap fourth month); a year of 0
// reads as unknown. Empty for an unknown type, unreadable text, a month or day out of
// range (a negative month on a solar birthday), or a day the month never has.
std::optional<Birthday> ParseBirthday(int type, std::string_view text);

struct BirthdayOccurrence {
    CivilDate date{};
    int age = -1;  // the age reached that day; -1 when the year of birth is unknown
};

// The first day on or after `from` on which the birthday falls. Empty when that day is
// past what the lunar tables hold, or `from` is outside them for a lunar birthday.
std::optional<BirthdayOccurrence> NextBirthday(const Birthday& birthday, CivilDate from);

// A contact's stored birthday, as the store reads it.
struct ContactBirthday {
    int contactId = 0;
    std::string name;
    int type = kSolarBirthday;
    std::string text;
};

struct UpcomingBirthday {
    int contactId = 0;
    std::string name;
    Birthday birthday;
    BirthdayOccurrence next;
    int daysLeft = 0;  // 0 on the day itself
};

// The birthdays falling from `today` to `days` days after it (today included, so 30
// looks 30 days ahead), nearest first, then by name. Unreadable birthdays are skipped.
std::vector<UpcomingBirthday> UpcomingBirthdays(const std::vector<ContactBirthday>& contacts, CivilDate today,
                                                int days);

// A reminder of a coming birthday: on the day, and `daysBefore` days ahead of it.
enum class BirthdayNoticeKind { kOnTheDay = 0, kAhead = 1 };

struct BirthdayNotice {
    UpcomingBirthday birthday;
    BirthdayNoticeKind kind = BirthdayNoticeKind::kOnTheDay;
};

inline constexpr int kDefaultBirthdayNoticeDays = 1;

// The notices due on `today`: each birthday of today, and each from 1 to `daysBefore`
// days on (a program that did not run on the day the ahead notice was due still gives
// it, on a later day). Which of them were already shown is the caller's to know.
std::vector<BirthdayNotice> DueBirthdayNotices(const std::vector<ContactBirthday>& contacts, CivilDate today,
                                               int daysBefore);

// "张三 今天生日 (46岁)", "李四 明天生日 (05-21 农历四月初五)", "王五 3天后生日 (06-19)".
std::string BirthdayNoticeText(const BirthdayNotice& notice);

// "2026-05-20".
std::string DateText(CivilDate date);

}  // namespace kivtal
