#pragma once
// The second line of a calendar day: a festival, else the solar term of that day, else
// the lunar day ("初一" shows the lunar month's name instead: "冬月", "闰四月"). Pure
// computation; callable from any thread.
#include <string>

namespace kivtal {

enum class DayTextKind {
    kNone,        // an invalid date, or one outside the lunar tables with nothing else to say
    kLunarDay,    // "初二" ... "三十"
    kLunarMonth,  // the first day of a lunar month: "正月", "闰四月"
    kSolarTerm,   // "立春" ... "冬至"
    kFestival,    // traditional or public: "春节", "除夕", "国庆节"
};

struct DayText {
    std::string text;
    DayTextKind kind = DayTextKind::kNone;

    friend bool operator==(const DayText&, const DayText&) = default;
};

// The text of a Gregorian date. Traditional festivals (春节, 元宵, 端午, 七夕, 中秋, 重阳, 腊八,
// 小年 on 腊月廿三, 除夕 on the lunar year's last day, the 29th or the 30th) fall on regular,
// never leap, months; they rank before the public ones (元旦, 情人节, 妇女节, 劳动节, 儿童节,
// 教师节, 国庆节), festivals before the solar term, the term before the lunar day.
DayText CalendarDayText(int year, int month, int day);

}  // namespace kivtal
