// The matter's clashes with another device's edits, shown above its details.
#include "model/SyncKinds.h"
#include "store/ClashAdopt.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/dialogs/AddMatterDlgControls.h"
#include "ui/editors/ClashBar.h"

namespace kivtal {

void CAddMatterDlg::ShowClashes() {
    clashBar_ = ClashBar::AddTo(FindControl(add_matter::kShowPage), store_, OPER_MATTER, matter_.event_id);
    if (!clashBar_) return;
    // The adopted value is in the store: shown as any change a sync brings. The edit
    // page compares a save with what it showed, so it neither undoes nor repeats it.
    clashBar_->SetOnAdopted([this](const SyncClash& clash) {
        if (IsDeleteClash(clash)) Close(1);
        else ReloadAfterSync();
    });
}

}  // namespace kivtal
