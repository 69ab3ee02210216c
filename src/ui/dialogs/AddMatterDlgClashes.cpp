// The matter's clashes with another device's edits, shown above its details.
#include <QBoxLayout>

#include "model/SyncKinds.h"
#include "store/ClashAdopt.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/dialogs/AddMatterDlgControls.h"
#include "ui/editors/ClashBar.h"

namespace kivtal {

void CAddMatterDlg::ShowClashes() {
    QWidget* page = FindControl(add_matter::kShowPage);
    if (!page || !page->layout()) return;
    clashBar_ = new ClashBar(store_, OPER_MATTER, matter_.event_id, page);
    if (auto* box = qobject_cast<QBoxLayout*>(page->layout())) box->insertWidget(0, clashBar_);
    else page->layout()->addWidget(clashBar_);
    // The adopted value is in the store: shown as any change a sync brings. The edit
    // page compares a save with what it showed, so it neither undoes nor repeats it.
    clashBar_->SetOnAdopted([this](const SyncClash& clash) {
        if (IsDeleteClash(clash)) Close(1);
        else ReloadAfterSync();
    });
}

}  // namespace kivtal
