#include "text/LunarCalendar.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

namespace kivtal {
namespace {

constexpr std::array<std::string_view, 10> kStems = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr std::array<std::string_view, 12> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                        "午", "未", "申", "酉", "戌", "亥"};
constexpr std::array<std::string_view, 12> kAnimals = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                       "马", "羊", "猴", "鸡", "狗", "猪"};
constexpr std::array<std::string_view, 13> kMonthNames = {"*",  "正", "二", "三", "四", "五", "六",
                                                          "七", "八", "九", "十", "冬", "腊"};
constexpr std::array<std::string_view, 4> kDayPrefixes = {"初", "十", "廿", "三"};
constexpr std::array<std::string_view, 10> kDayDigits = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
constexpr std::string_view kLeapMark = "闰";
constexpr std::string_view kMonthMark = "月";
constexpr std::string_view kYearMark = "年";

bool InTables(int year) { return year >= kLunarFirstYear && year <= kLunarLastYear; }

std::uint16_t MonthWord(int year) { return kLunarMonthWords[year - kLunarFirstYear]; }

// Length of the month at position `index` (0-based, the leap month counted in place).
int MonthLengthAt(std::uint16_t word, int index) { return (word >> (15 - index)) & 1 ? 30 : 29; }

int MonthsInYear(int year) { return LunarLeapMonth(year) != 0 ? 13 : 12; }

int LunarYearDays(int year) {
    int days = 0;
    for (int i = 0; i < MonthsInYear(year); ++i) {
        days += MonthLengthAt(MonthWord(year), i);
    }
    return days;
}

// Day offsets of each lunar year's first day from the first day of lunar 1901; the
// last entry is the day after lunar 2100 ends.
using YearStarts = std::array<std::int32_t, kLunarYearCount + 1>;

const YearStarts& LunarYearStarts() {
    static const YearStarts starts = [] {
        YearStarts s{};
        for (int i = 0; i < kLunarYearCount; ++i) {
            s[i + 1] = s[i] + LunarYearDays(kLunarFirstYear + i);
        }
        return s;
    }();
    return starts;
}

// Month number of the month at `index` in a year whose leap month is `leap`.
int MonthNumberAt(int index, int leap) {
    if (leap == 0 || index < leap) return index + 1;
    return index == leap ? -leap : index;
}

int PositiveMod(std::int64_t value, int modulus) { return static_cast<int>((value % modulus + modulus) % modulus); }

// The sexagenary stem and branch of a year and the animal that goes with the branch.
struct YearSigns {
    std::string_view stem;
    std::string_view branch;
    std::string_view animal;
};

YearSigns SignsOfYear(int year) {
    const std::int64_t k = static_cast<std::int64_t>(year) - 4;  // 4 AD was a 甲子 year
    const int branch = PositiveMod(k, 12);
    return {kStems[PositiveMod(k, 10)], kBranches[branch], kAnimals[branch]};
}

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

}  // namespace

int LunarLeapMonth(int year) {
    if (!InTables(year)) return 0;
    const int offset = year - kLunarFirstYear;
    const std::uint8_t pair = kLunarLeapNibbles[offset / 2];
    return offset % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

std::int32_t LunarMonthDays(int year, int month) {
    if (!InTables(year)) return 30;
    if (month < 1 || month > 12) return 0;
    const int leap = LunarLeapMonth(year);
    const std::uint16_t word = MonthWord(year);
    const int regularIndex = (leap == 0 || month <= leap) ? month - 1 : month;
    const std::int32_t low = MonthLengthAt(word, regularIndex);
    const std::int32_t high = month == leap ? MonthLengthAt(word, leap) : 0;
    return (high << 16) | low;
}

std::string LunarYearText(int year) {
    const YearSigns signs = SignsOfYear(year);
    return Concat({signs.stem, signs.branch, signs.animal, kYearMark}) + "(" + std::to_string(year) + ")";
}

std::string LunarMonthText(int month) {
    if (month == 0 || month < -12 || month > 12) return {};  // checked before negating: INT_MIN has no negative
    return Concat({month < 0 ? kLeapMark : "", kMonthNames[month < 0 ? -month : month], kMonthMark});
}

std::string LunarDayName(int day) {
    if (day < 1 || day > 30) return {};
    // The prefix table would give "十十" and "廿十"; these two are said differently.
    if (day == 20) return Concat({kDayDigits[1], kDayDigits[9]});
    if (day == 30) return Concat({kDayDigits[2], kDayDigits[9]});
    return Concat({kDayPrefixes[(day - 1) / 10], kDayDigits[(day - 1) % 10]});
}

std::optional<LunarDate> SolarToLunar(int year, int month, int day) {
    if (day < 1 || day > SolarMonthDays(year, month)) return std::nullopt;  // also rejects bad months
    const YearStarts& starts = LunarYearStarts();
    const std::int64_t n = DaysFromCivil(year, month, day) - DaysFromCivil(kLunarFirstYear, 2, 19);
    if (n < 0 || n >= starts.back()) return std::nullopt;

    const auto next = std::upper_bound(starts.begin(), starts.end(), n);
    const int yearIndex = static_cast<int>(next - starts.begin()) - 1;
    const int lunarYear = kLunarFirstYear + yearIndex;
    int dayInYear = static_cast<int>(n - starts[yearIndex]);

    const std::uint16_t word = MonthWord(lunarYear);
    const int leap = LunarLeapMonth(lunarYear);
    int index = 0;
    for (; dayInYear >= MonthLengthAt(word, index); ++index) {
        dayInYear -= MonthLengthAt(word, index);
    }
    return LunarDate{lunarYear, MonthNumberAt(index, leap), dayInYear + 1};
}

std::optional<CivilDate> LunarToSolar(int year, int month, int day) {
    if (!InTables(year) || month == 0 || month < -12 || month > 12 || day < 1) return std::nullopt;
    const int leap = LunarLeapMonth(year);
    if (month < 0 && -month != leap) return std::nullopt;
    const int index = month < 0 ? leap : (leap == 0 || month <= leap ? month - 1 : month);
    const std::uint16_t word = MonthWord(year);
    if (day > MonthLengthAt(word, index)) return std::nullopt;
    std::int64_t n = LunarYearStarts()[year - kLunarFirstYear] + day - 1;
    for (int i = 0; i < index; ++i) n += MonthLengthAt(word, i);
    return CivilFromDays(DaysFromCivil(kLunarFirstYear, 2, 19) + n);
}

std::string SolarToLunarText(int year, int month, int day) {
    const std::optional<LunarDate> date = SolarToLunar(year, month, day);
    if (!date) return {};
    const YearSigns signs = SignsOfYear(date->year);
    return Concat({signs.animal, "(", signs.stem, signs.branch, ")", kYearMark}) + LunarMonthText(date->month) +
           LunarDayName(date->day);
}

}  // namespace kivtal
