#include "ui/editors/PickerFill.h"

#include <QSignalBlocker>

#include "ui/controls/ComboKiv.h"

namespace kivtal {

void FillPicker(ComboKiv* picker, const PickerEntries& entries) {
    if (!picker) return;
    const QSignalBlocker quiet(picker);
    picker->RemoveAll();
    for (const auto& [text, value] : entries) picker->AddItem(text, value);
    picker->setCurrentIndex(-1);
}

void EmptyPicker(ComboKiv* picker) { FillPicker(picker, {}); }

void ChooseValue(ComboKiv* picker, int value) {
    if (!picker) return;
    const QSignalBlocker quiet(picker);
    picker->SelectValue(value);
}

}  // namespace kivtal
