#include "ui/editors/BirthdayPickers.h"

#include <QDate>
#include <algorithm>
#include <cstdio>

#include "text/LunarCalendar.h"
#include "ui/controls/ComboKiv.h"
#include "ui/editors/PickerFill.h"

namespace kivtal {
namespace {

constexpr int kSolar = 1;
constexpr int kLunar = 2;
constexpr int kFirstYear = 1910;

// A leap first month has the value -1, so "chosen" is asked of the index, never of
// the value.
bool Chosen(const ComboKiv* picker) { return picker && picker->currentIndex() >= 0; }
int Value(const ComboKiv* picker) { return Chosen(picker) ? picker->GetSelection() : 0; }

}  // namespace

BirthdayPickers::BirthdayPickers(ComboKiv* type, ComboKiv* year, ComboKiv* month, ComboKiv* day, YearOrder order)
    : type_(type), year_(year), month_(month), day_(day), order_(order) {}

void BirthdayPickers::Setup() {
    FillPicker(type_, {{QStringLiteral("公历"), kSolar}, {QStringLiteral("农历"), kLunar}});
    ChooseValue(type_, kSolar);
    if (year_) year_->setPlaceholderText(QStringLiteral("年"));
    if (month_) month_->setPlaceholderText(QStringLiteral("月"));
    if (day_) day_->setPlaceholderText(QStringLiteral("日"));
    FillYears();
    EmptyPicker(month_);
    EmptyPicker(day_);
}

bool BirthdayPickers::OnPicked(const ComboKiv* picker) {
    if (!picker) return false;
    if (picker == type_) {
        FillYears();
        EmptyPicker(month_);
        EmptyPicker(day_);
    } else if (picker == year_) {
        FillMonths();
        EmptyPicker(day_);
    } else if (picker == month_) {
        FillDays();
    } else {
        return picker == day_;
    }
    return true;
}

int BirthdayPickers::Type() const { return Value(type_) == kLunar ? kLunar : kSolar; }

void BirthdayPickers::FillYears() {
    PickerEntries years;
    const int now = QDate::currentDate().year();
    for (int y = now; y >= kFirstYear; --y) {
        const QString text = Type() == kLunar ? QString::fromStdString(LunarYearText(y)) : QString::number(y);
        years.emplace_back(text, y);
    }
    if (order_ == YearOrder::Ascending) std::reverse(years.begin(), years.end());
    FillPicker(year_, years);
}

void BirthdayPickers::FillMonths() {
    const int year = Value(year_);
    PickerEntries months;
    if (Chosen(year_)) {
        const int leap = Type() == kLunar ? LunarLeapMonth(year) : 0;
        for (int m = 1; m <= 12; ++m) {
            if (Type() == kLunar) {
                months.emplace_back(QString::fromStdString(LunarMonthText(m)), m);
                if (m == leap) months.emplace_back(QString::fromStdString(LunarMonthText(-m)), -m);
            } else {
                months.emplace_back(QString::number(m), m);
            }
        }
    }
    FillPicker(month_, months);
}

void BirthdayPickers::FillDays() {
    const int year = Value(year_);
    const int month = Value(month_);
    PickerEntries days;
    if (Chosen(year_) && Chosen(month_)) {
        int count = 0;
        if (Type() == kLunar) {
            const std::int32_t lengths = LunarMonthDays(year, month < 0 ? -month : month);
            count = month < 0 ? (lengths >> 16) & 0xFFFF : lengths & 0xFFFF;
        } else {
            count = QDate(year, month, 1).daysInMonth();
        }
        for (int d = 1; d <= count; ++d) {
            const QString text = Type() == kLunar ? QString::fromStdString(LunarDayName(d)) : QString::number(d);
            days.emplace_back(text, d);
        }
    }
    FillPicker(day_, days);
}

void BirthdayPickers::SetBirthday(int type, const std::string& text) {
    ChooseValue(type_, type == kLunar ? kLunar : kSolar);
    FillYears();
    EmptyPicker(month_);
    EmptyPicker(day_);
    int year = 0, month = 0, day = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d", &year, &month, &day) != 3) return;
    ChooseValue(year_, year);
    if (!Chosen(year_) || Value(year_) != year) return;
    FillMonths();
    ChooseValue(month_, month);
    if (!Chosen(month_) || Value(month_) != month) return;
    FillDays();
    ChooseValue(day_, day);
}

std::string BirthdayPickers::Text() const {
    if (!Chosen(year_) || !Chosen(month_) || !Chosen(day_)) return {};
    const int year = Value(year_), month = Value(month_), day = Value(day_);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

ComboChain BirthdayPickers::Chain() const {
    return ComboChain{ComboPicker(year_), ComboPicker(month_), ComboPicker(day_)};
}

}  // namespace kivtal
