#pragma once
// The birthday pickers of both editors: the calendar type (1 solar, 2 lunar), then
// year, month and day, each list filled for the choices before it. A lunar leap month
// is the negative month number, as the birthday text keeps it ("1984--4-05").
#include <string>

#include "ui/editors/ComboPicker.h"

namespace kivtal {

class ComboKiv;

enum class YearOrder { Descending, Ascending };

class BirthdayPickers {
public:
    BirthdayPickers(ComboKiv* type, ComboKiv* year, ComboKiv* month, ComboKiv* day, YearOrder order);

    // Type entries "公历" and "农历" with solar chosen, the solar years, placeholders.
    void Setup();
    // Follows a user's pick in one of the four pickers; false for any other picker.
    bool OnPicked(const ComboKiv* picker);

    // Shows a stored birthday; an empty or unreadable text leaves the three pickers
    // without a choice.
    void SetBirthday(int type, const std::string& text);
    // "%04d-%02d-%02d" of the three choices; empty unless all three are chosen.
    std::string Text() const;
    int Type() const;

    ComboChain Chain() const;

private:
    void FillYears();
    void FillMonths();
    void FillDays();

    ComboKiv* type_;
    ComboKiv* year_;
    ComboKiv* month_;
    ComboKiv* day_;
    YearOrder order_;
};

}  // namespace kivtal
