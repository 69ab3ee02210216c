#pragma once
// The controls of the main window that the matters pane looks up.
#include "ui/controls/Calendar.h"
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace matters_pane {
// The pane's part of the layout: its page, its side in the left column, and the day
// column on the right (whose advertisement is the main window's).
inline constexpr LayoutControl kPage{"matter_page", "QWidget"};
inline constexpr LayoutControl kSide{"matter_group_page", "QWidget"};
inline constexpr LayoutControl kDayColumn{"right_bar", "QWidget"};
inline constexpr LayoutControl kPart[] = {kPage, kSide, kDayColumn};

inline constexpr LayoutControl kCalendar{"calendar", "kivtal::CCalendarUI"};
inline constexpr LayoutControl kTimeline{"time_base", "kivtal::CTimeBase"};
inline constexpr LayoutControl kGroupList{"matter_group_list", "QListWidget"};
inline constexpr LayoutControl kMattersEmpty{"matter_empty", "QWidget"};
inline constexpr LayoutControl kAddGroup{"Add_matter_group", "QAbstractButton"};
inline constexpr LayoutControl kAddMatterFirst{"Add_Matter_frist", "QAbstractButton"};
inline constexpr LayoutControl kToday{"today_event", "kivtal::CMultiLineButtonUI"};
inline constexpr LayoutControl kTomorrow{"tomorrow_event", "kivtal::CMultiLineButtonUI"};
inline constexpr LayoutControl kDayAfterTomorrow{"aftertomorrow_event", "kivtal::CMultiLineButtonUI"};
inline constexpr LayoutControl kThreeDaysOn{"threedayformnow_event", "kivtal::CMultiLineButtonUI"};
inline constexpr LayoutControl kBirthdays{"upcoming_birthdays", "kivtal::BirthdayList"};
inline constexpr LayoutControl kPreviousMonth = calendar::kPreviousMonth;
inline constexpr LayoutControl kNextMonth = calendar::kNextMonth;

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kPage, kSide, kDayColumn, kCalendar, kTimeline, kGroupList, kMattersEmpty, kAddGroup, kAddMatterFirst, kToday, kTomorrow, kDayAfterTomorrow,
    kThreeDaysOn, kBirthdays, kPreviousMonth, kNextMonth};
// clang-format on
}  // namespace matters_pane
inline constexpr LayoutControls kMattersPaneControls{"HomePage.xml", matters_pane::kAll};

// The parts of a matter group's row, made in code.
namespace matter_group_row {
inline constexpr LayoutControl kLabel{"matter_group_label", "QLabel"};
inline constexpr LayoutControl kRename{"matter_group_rename", "QPushButton"};
inline constexpr LayoutControl kDelete{"matter_group_delete", "QPushButton"};
inline constexpr LayoutControl kEdit{"matter_group_edit", "QLineEdit"};
inline constexpr LayoutControl kEditOk{"MatterGroup_edit_ok", "QPushButton"};
inline constexpr LayoutControl kEditCancel{"MatterGroup_edit_delete", "QPushButton"};
}  // namespace matter_group_row

}  // namespace kivtal
