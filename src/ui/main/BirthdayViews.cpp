#include "ui/main/BirthdayViews.h"

#include "store/ContactBirthdays.h"
#include "text/Birthdays.h"
#include "ui/controls/BirthdayList.h"

namespace kivtal {
namespace {

CivilDate Civil(CalendarDate d) { return {d.year, d.month, d.day}; }

int DaysBetween(CalendarDate first, CalendarDate last) {
    return static_cast<int>(DaysFromCivil(last.year, last.month, last.day) -
                            DaysFromCivil(first.year, first.month, first.day));
}

// The birthdays from `first` to `days` days after it; empty on a failed read.
std::vector<UpcomingBirthday> Coming(LocalStore& store, CalendarDate first, int days, bool* failed = nullptr) {
    std::vector<ContactBirthday> contacts;
    const bool readFailed = ReadContactBirthdays(store, contacts) != 0;
    if (failed) *failed = readFailed;
    return UpcomingBirthdays(contacts, Civil(first), days);
}

}  // namespace

std::vector<CalendarDate> BirthdayDays(LocalStore& store, CalendarDate first, CalendarDate last) {
    std::vector<CalendarDate> days;
    for (const UpcomingBirthday& b : Coming(store, first, DaysBetween(first, last)))
        days.push_back({b.next.date.year, b.next.date.month, b.next.date.day});
    return days;
}

std::vector<TimeItem> BirthdayItems(LocalStore& store, CalendarDate date) {
    std::vector<TimeItem> items;
    for (const UpcomingBirthday& b : Coming(store, date, 0)) {
        TimeItem item;
        item.contactId = b.contactId;
        item.text = QStringLiteral("全天 %1 生日").arg(QString::fromStdString(b.name));
        if (b.next.age >= 0) item.text += QStringLiteral(" (%1岁)").arg(b.next.age);
        items.push_back(std::move(item));
    }
    return items;
}

void RefreshBirthdayList(BirthdayList& list, LocalStore& store) {
    bool failed = false;
    const std::vector<UpcomingBirthday> coming = Coming(store, TodayDate(), kBirthdayListDays, &failed);
    list.SetBirthdays(coming, failed);
}

}  // namespace kivtal
