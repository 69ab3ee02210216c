#pragma once
// The month calendar of the matters page ("Calendar"): a month heading with the
// previous/next month buttons, a grid of six week rows of day cells, today's date with
// its weekday and its lunar date. Each cell shows its day number and, below it, the
// day's text (text/DayTexts.h: festival, solar term or lunar day). Days that have
// matters show their number in red; birthdays get a small mark. It holds the
// selected date; a day click makes that day selected and tells the owner window with
// WM_UI_CALENDAR_PICK (sent, wParam = the packed date).
#include <QAbstractButton>
#include <QWidget>
#include <functional>
#include <vector>

#include "text/DayTexts.h"
#include "ui/controls/CalendarDate.h"
#include "ui/toolkit/LayoutControl.h"

class QLabel;

namespace kivtal {

inline constexpr int kCalendarRows = 6;
inline constexpr int kCalendarCells = kCalendarRows * 7;
inline constexpr unsigned kDayTextColour = 0xFF666666;
inline constexpr unsigned kOtherMonthColour = 0xFFD1D1D1;
inline constexpr unsigned kBusyColour = 0xFFFF0000;
inline constexpr unsigned kWeekendColour = 0xFFB35900;
// The second line: grey for the lunar day, green for a term, crimson for a festival.
inline constexpr unsigned kLunarTextColour = 0xFF767676;
inline constexpr unsigned kTermColour = 0xFF2E7D32;
inline constexpr unsigned kFestivalColour = 0xFFC7254E;
inline constexpr unsigned kBirthdayMarkColour = 0xFFE91E63;
inline constexpr int kCalendarCellWidth = 30;
inline constexpr int kCalendarCellHeight = 28;

// The parts the calendar makes, whose names the matters pane sees.
namespace calendar {
inline constexpr LayoutControl kDayButton{"calendar_day_button", "kivtal::CalendarDayButton"};
inline constexpr LayoutControl kPreviousMonth{"delmonth", "QAbstractButton"};
inline constexpr LayoutControl kNextMonth{"addmonth", "QAbstractButton"};
}  // namespace calendar

// One day cell: an option button ("calendar_day_button") carrying its date and the
// day's text.
class CalendarDayButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CalendarDayButton(QWidget* parent);

    CalendarDate Date() const { return date_; }
    void SetDate(CalendarDate date, bool inShownMonth, bool isToday);
    bool InShownMonth() const { return inMonth_; }
    bool IsToday() const { return today_; }
    bool Busy() const { return busy_; }
    void SetBusy(bool busy);
    bool Birthday() const { return birthday_; }
    void SetBirthday(bool birthday);
    const DayText& SecondLine() const { return dayText_; }
    // 0xAARRGGBB, as the skin writes colours: the day number's and the second line's.
    // Both are white on today's filled cell, faded on the other months' days.
    unsigned TextColour() const;
    unsigned SecondLineColour() const;

    QSize sizeHint() const override { return {kCalendarCellWidth, kCalendarCellHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateAccessibleName();

    CalendarDate date_;
    DayText dayText_;
    bool inMonth_ = true;
    bool today_ = false;
    bool busy_ = false;
    bool birthday_ = false;
};

class CCalendarUI : public QWidget {
    Q_OBJECT

public:
    // Reads the busy day numbers n (from 0) for the days from..to: the store's busy-day
    // query. 0 on success.
    using BusySource = std::function<int(std::int32_t from, std::int32_t to, std::vector<int>& dayNumbers)>;

    // The days among first..last (the whole grid) on which some contact has a birthday.
    using BirthdaySource = std::function<std::vector<CalendarDate>(CalendarDate first, CalendarDate last)>;

    explicit CCalendarUI(QWidget* parent = nullptr);

    void SetBusySource(BusySource source) { busySource_ = std::move(source); }
    void SetBirthdaySource(BirthdaySource source) { birthdaySource_ = std::move(source); }

    CalendarDate Today() const { return today_; }
    CalendarDate Selected() const { return selected_; }
    int ShownYear() const { return shownYear_; }
    int ShownMonth() const { return shownMonth_; }
    const std::vector<CalendarDayButton*>& Cells() const { return cells_; }
    CalendarDayButton* CellOf(CalendarDate date) const;

    // When a cell of the grid carries the date: it becomes the selected date and its
    // cell is selected. False (nothing changes) otherwise.
    bool SelectIfShown(CalendarDate date);

    // Shown month back to today's; texts, grid and marks anew. The selection stays.
    void Refresh();
    // The busy and birthday marks of the grid anew.
    void RefreshBusyMarks();

    // The notifications the owner forwards.
    void OnDayClick(QWidget* cell);
    void PreviousMonth();
    void NextMonth();

private:
    void BuildChildren();
    void ShowMonth(int year, int month);
    void RebuildGrid();
    void SetTexts();

    CalendarDate today_;
    CalendarDate selected_;
    int shownYear_ = 1970;
    int shownMonth_ = 1;
    BusySource busySource_;
    BirthdaySource birthdaySource_;
    std::vector<CalendarDayButton*> cells_;
    QLabel* monthHeading_ = nullptr;
    QLabel* todayLine_ = nullptr;
    QLabel* lunarLine_ = nullptr;
};

}  // namespace kivtal
