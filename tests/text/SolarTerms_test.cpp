#include "text/SolarTerms.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kivtal {
namespace {

// One row of the reference table: a term's Beijing date and time from an independent
// ephemeris (see the table's first line for how it was made).
struct ReferenceTerm {
    int year = 0;
    int index = 0;
    CivilDate date{};
    int secondOfDay = 0;
};

std::vector<ReferenceTerm> ReadReference() {
    std::ifstream in(std::string(KIVTAL_TEXT_TEST_DATA) + "/solar_terms_1901_2100.txt");
    std::vector<ReferenceTerm> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        ReferenceTerm r;
        int h = 0, m = 0, s = 0;
        if (std::sscanf(line.c_str(), "%d %d %d-%d-%d %d:%d:%d", &r.year, &r.index, &r.date.year, &r.date.month,
                        &r.date.day, &h, &m, &s) == 8) {
            r.secondOfDay = h * 3600 + m * 60 + s;
            rows.push_back(r);
        }
    }
    return rows;
}

double ReferenceMoment(const ReferenceTerm& r) {
    return static_cast<double>(DaysFromCivil(r.date.year, r.date.month, r.date.day)) * 86400 + r.secondOfDay -
           kWallClockOffsetSeconds;
}

// Every term of 1901..2100 against the full-theory table: the moment within a minute,
// and the day equal wherever the reference moment is not within that minute of midnight.
TEST(SolarTermsTest, EveryTermMatchesTheReferenceTable) {
    const std::vector<ReferenceTerm> rows = ReadReference();
    ASSERT_EQ(rows.size(), 200u * 24u);
    double worst = 0;
    int nearMidnight = 0;
    for (const ReferenceTerm& r : rows) {
        SCOPED_TRACE(std::to_string(r.year) + " term " + std::to_string(r.index));
        const std::optional<double> moment = SolarTermMoment(r.year, r.index);
        ASSERT_TRUE(moment.has_value());
        const double error = std::abs(*moment - ReferenceMoment(r));
        worst = std::max(worst, error);
        EXPECT_LT(error, 60.0);
        if (r.secondOfDay < 60 || r.secondOfDay >= 86400 - 60) {
            ++nearMidnight;
            continue;
        }
        const std::optional<CivilDate> date = SolarTermDate(r.year, r.index);
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(date->year, r.date.year);
        EXPECT_EQ(date->month, r.date.month);
        EXPECT_EQ(date->day, r.date.day);
        EXPECT_EQ(SolarTermOn(r.date.year, r.date.month, r.date.day), r.index);
    }
    RecordProperty("worst_seconds", std::to_string(worst));
    RecordProperty("near_midnight", std::to_string(nearMidnight));
}

TEST(SolarTermsTest, TellingDays) {
    struct Case {
        int year, month, day;
        const char* name;  // empty: no term that day
    };
    const Case cases[] = {
        {1901, 1, 6, "小寒"},   {2025, 2, 3, "立春"},   {2025, 2, 4, ""},  // 22:10 Beijing, the 3rd
        {2024, 2, 4, "立春"},   {2025, 12, 21, "冬至"}, {2100, 12, 22, "冬至"},
        {2021, 12, 21, "冬至"},  // 23:59 Beijing: the reference and published calendars agree
        {2023, 3, 21, "春分"},  {2021, 3, 20, "春分"},  {2019, 12, 22, "冬至"},
        {2025, 6, 21, "夏至"},  {2026, 1, 20, "大寒"},  {2000, 2, 29, ""},
        {1900, 12, 22, ""},     {2101, 1, 5, ""},       {2025, 13, 1, ""},
        {2025, 2, 30, ""},      {INT_MIN, 1, 1, ""},    {INT_MAX, 12, 31, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SolarTermName(SolarTermOn(c.year, c.month, c.day)), c.name)
            << c.year << "-" << c.month << "-" << c.day;
    }
    EXPECT_EQ(SolarTermName(-1), "");
    EXPECT_EQ(SolarTermName(24), "");
    EXPECT_FALSE(SolarTermMoment(2025, 24).has_value());
    EXPECT_FALSE(SolarTermDate(1900, 0).has_value());
}

}  // namespace
}  // namespace kivtal
