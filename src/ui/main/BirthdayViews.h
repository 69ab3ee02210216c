#pragma once
// The contacts' birthdays as the matters page shows them: marks on the calendar's days,
// all-day items in a day's timeline and the 近期生日 list. Each reads the store anew; a
// failed read shows no birthdays (the list says the read failed).
#include <vector>

#include "store/LocalStore.h"
#include "ui/controls/CalendarDate.h"
#include "ui/controls/EventPlan.h"

namespace kivtal {

class BirthdayList;

inline constexpr int kBirthdayListDays = 30;

// The days among first..last on which a live contact has a birthday.
std::vector<CalendarDate> BirthdayDays(LocalStore& store, CalendarDate first, CalendarDate last);

// One all-day item per birthday on the date: "全天 张三 生日 (41岁)".
std::vector<TimeItem> BirthdayItems(LocalStore& store, CalendarDate date);

// The birthdays of today and the next 30 days into the list.
void RefreshBirthdayList(BirthdayList& list, LocalStore& store);

}  // namespace kivtal
