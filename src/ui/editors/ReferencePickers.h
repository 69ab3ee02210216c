#pragma once
// The pickers both editors fill from the reference database: industries and job
// categories.
#include "store/LocalStore.h"

namespace kivtal {

class ComboKiv;
class TradeCombo;

// The industries, grouped under their top level, listed the first time the picker opens.
void SetupIndustryPicker(LocalStore& store, TradeCombo* picker);
// Shows the industry of the id as chosen (nothing for 0).
void ShowIndustry(LocalStore& store, TradeCombo* picker, int industryId);
// Every job category, nothing chosen, "不限" shown until the user picks.
void FillJobPicker(LocalStore& store, ComboKiv* picker);

}  // namespace kivtal
