// The matter's clashes with another device's edits, each under the detail it concerns.
#include <string_view>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/ClashAdopt.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/dialogs/AddMatterDlgControls.h"
#include "ui/editors/ClashBar.h"

namespace kivtal {

namespace {

// The details that show each field; a field missing here (pinned, created) has its
// clash in the bar above the details.
struct ShownField {
    const char* field;
    const char* control;
};
constexpr ShownField kShownFields[] = {
    {"description", add_matter::kShowText.name},
    {"start", add_matter::kShowTime.name},
    {"end", add_matter::kShowTime.name},
    {"group", add_matter::kShowGroup.name},
};

const char* ShownControlOf(const SyncClash& clash) {
    const FieldSpec* field = FieldOfKind(clash.oper_code, clash.field);
    if (!field) return nullptr;
    for (const ShownField& f : kShownFields)
        if (std::string_view(f.field) == field->name) return f.control;
    return nullptr;
}

}  // namespace

void CAddMatterDlg::ShowClashes() {
    clashes_ = new RecordClashes(
        store_, OPER_MATTER, matter_.event_id, FindControl(add_matter::kShowPage),
        [this](const SyncClash& clash) {
            const char* control = ShownControlOf(clash);
            return control ? ClashPlace{true, FindControl(control)} : ClashPlace{};
        },
        this);
    // The adopted value is in the store: shown as any change a sync brings. The edit
    // page compares a save with what it showed, so it neither undoes nor repeats it.
    clashes_->SetOnAdopted([this](const SyncClash& clash) {
        if (IsDeleteClash(clash)) Close(1);
        else ReloadAfterSync();
    });
}

}  // namespace kivtal
