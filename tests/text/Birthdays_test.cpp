#include "text/Birthdays.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace kivtal {
namespace {

std::string Next(int type, const char* text, CivilDate from) {
    const std::optional<Birthday> b = ParseBirthday(type, text);
    if (!b) return "unreadable";
    const std::optional<BirthdayOccurrence> next = NextBirthday(*b, from);
    if (!next) return "none";
    return DateText(next->date) + " age " + std::to_string(next->age);
}

TEST(BirthdaysTest, NextDateRule) {
    struct Case {
        int type;
        const char* text;
        CivilDate from;
        const char* expected;
    };
    constexpr int S = kSolarBirthday, L = kLunarBirthday;
    const Case cases[] = {
        {S, "1980-03-15", {2026, 3, 15}, "2026-03-15 age 46"},  // the day itself
        {S, "1980-03-15", {2026, 3, 16}, "2027-03-15 age 47"},
        {S, "1980-12-31", {2026, 12, 31}, "2026-12-31 age 46"},
        {S, "1980-01-01", {2026, 12, 31}, "2027-01-01 age 47"},
        {S, "1996-02-29", {2026, 1, 1}, "2026-02-28 age 30"},  // a common year
        {S, "1996-02-29", {2028, 1, 1}, "2028-02-29 age 32"},
        {S, "0000-06-01", {2026, 1, 1}, "2026-06-01 age -1"},  // year unknown
        {L, "1990-08-15", {2025, 10, 1}, "2025-10-06 age 35"},
        {L, "2000-01-01", {2026, 2, 17}, "2026-02-17 age 26"},
        {L, "2000-01-01", {2026, 2, 16}, "2026-02-17 age 26"},  // 腊月廿九: this lunar year's passed
        {L, "1984--10-01", {1984, 11, 1}, "1984-11-23 age 0"},  // the leap month itself
        {L, "2020--4-01", {2025, 1, 1}, "2025-04-28 age 5"},    // no leap fourth month in 2025
        {L, "2001--6-10", {2025, 7, 1}, "2025-08-03 age 24"},   // 闰六月初十 of 2025
        {L, "1990-04-30", {2025, 5, 1}, "2025-05-26 age 35"},   // the fourth month of 2025 has 29 days
        {L, "1990-03-30", {2025, 4, 1}, "2025-04-27 age 35"},   // the third has 30
        {L, "1980-12-30", {2026, 2, 1}, "2026-02-16 age 45"},   // 腊月 of 2025 has 29 days: 除夕
        {L, "0000-12-29", {2101, 1, 1}, "2101-01-28 age -1"},   // the last day the tables hold
        {L, "0000-01-01", {2101, 1, 29}, "none"},               // past the tables
        {L, "0000-01-01", {1901, 1, 1}, "none"},
        {S, "", {2026, 1, 1}, "unreadable"},
        {S, "1980-13-01", {2026, 1, 1}, "unreadable"},
        {S, "1980-02-30", {2026, 1, 1}, "unreadable"},
        {S, "1980--2-01", {2026, 1, 1}, "unreadable"},  // a leap month on a solar birthday
        {S, "1980-01-01 junk", {2026, 1, 1}, "unreadable"},
        {L, "1980-01-31", {2026, 1, 1}, "unreadable"},
        {L, "1980-00-01", {2026, 1, 1}, "unreadable"},
        {3, "1980-01-01", {2026, 1, 1}, "unreadable"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Next(c.type, c.text, c.from), c.expected) << c.text << " from " << DateText(c.from);
    }
}

TEST(BirthdaysTest, UpcomingListsTheWindowNearestFirst) {
    const std::vector<ContactBirthday> contacts = {
        {1, "王五", kSolarBirthday, "1990-06-20"},  // day 30: still in
        {2, "赵六", kSolarBirthday, "1990-06-21"},  // day 31: out
        {3, "张三", kSolarBirthday, "0000-05-21"},  // today
        {4, "李四", kLunarBirthday, "1985-04-05"},  // 2026-05-21 too (四月初五)
        {5, "坏的", kSolarBirthday, "not a date"},
        {6, "周七", kLunarBirthday, "1970-03-01"},  // passed this lunar year: next year's
        {7, "吴八", kSolarBirthday, "1990-05-20"},  // yesterday: next year
    };
    const std::vector<UpcomingBirthday> list = UpcomingBirthdays(contacts, {2026, 5, 21}, 30);
    std::vector<std::string> rows;
    for (const UpcomingBirthday& u : list) {
        rows.push_back(u.name + " " + DateText(u.next.date) + " " + std::to_string(u.next.age) + " " +
                       std::to_string(u.daysLeft));
    }
    EXPECT_THAT(rows, ::testing::ElementsAre("张三 2026-05-21 -1 0", "李四 2026-05-21 41 0", "王五 2026-06-20 36 30"));
}

}  // namespace
}  // namespace kivtal

namespace kivtal {
namespace {

TEST(BirthdaysTest, DueNoticesOnTheDayAndAhead) {
    const std::vector<ContactBirthday> contacts = {
        {1, "张三", kSolarBirthday, "1980-05-20"},  // today
        {2, "李四", kLunarBirthday, "1985-04-05"},  // tomorrow, 2026-05-21
        {3, "王五", kSolarBirthday, "0000-05-23"},  // three days on
        {4, "赵六", kSolarBirthday, "2000-05-19"},  // passed
    };
    struct Case {
        int daysBefore;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {0, {"张三 今天生日 (46岁)"}},
        {1, {"张三 今天生日 (46岁)", "李四 明天生日 (05-21 农历四月初五 41岁)"}},
        {3, {"张三 今天生日 (46岁)", "李四 明天生日 (05-21 农历四月初五 41岁)", "王五 3天后生日 (05-23)"}},
        {-1, {"张三 今天生日 (46岁)"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> texts;
        const std::vector<BirthdayNotice> due = DueBirthdayNotices(contacts, {2026, 5, 20}, c.daysBefore);
        for (const BirthdayNotice& n : due) {
            texts.push_back(BirthdayNoticeText(n));
            EXPECT_EQ(n.kind, n.birthday.daysLeft == 0 ? BirthdayNoticeKind::kOnTheDay : BirthdayNoticeKind::kAhead);
        }
        EXPECT_EQ(texts, c.texts) << c.daysBefore;
    }
    const BirthdayNotice unknownYearToday{{5, "周七", {kSolarBirthday, 0, 5, 20}, {{2026, 5, 20}, -1}, 0}};
    EXPECT_EQ(BirthdayNoticeText(unknownYearToday), "周七 今天生日");
}

}  // namespace
}  // namespace kivtal
