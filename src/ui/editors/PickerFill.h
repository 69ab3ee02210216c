#pragma once
// Filling a value picker leaves it without a choice: the user's pick is what counts,
// never the first entry the list happened to start with.
#include <QString>
#include <utility>
#include <vector>

namespace kivtal {

class ComboKiv;

using PickerEntries = std::vector<std::pair<QString, int>>;  // text, value

// Replaces the entries, selection -1, no notification.
void FillPicker(ComboKiv* picker, const PickerEntries& entries);
// Empties the picker, selection -1, no notification.
void EmptyPicker(ComboKiv* picker);
// Chooses the entry with this value without notifying; nothing when none has it.
void ChooseValue(ComboKiv* picker, int value);

}  // namespace kivtal
