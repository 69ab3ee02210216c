// The contact's clashes with another device's edits, shown above the base page.
#include "model/SyncKinds.h"
#include "store/ClashAdopt.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/AddConnectionDlgControls.h"
#include "ui/editors/ClashBar.h"

namespace kivtal {

namespace {

// The base page's text controls by the field names of the value-string table.
struct ShownField {
    const char* field;
    const char* control;
};
constexpr ShownField kBaseFields[] = {
    {"name", add_connection::kNameEdit.name},
    {"mobile", add_connection::kPhoneEdit.name},
    {"qq", add_connection::kQqEdit.name},
    {"email", add_connection::kEmailEdit.name},
    {"company", add_connection::kCompanyEdit.name},
    {"web_site", add_connection::kWebEdit.name},
    {"company_address", add_connection::kCompanyAddressEdit.name},
};

const char* BaseControlOf(const SyncClash& clash) {
    const FieldSpec* field = FieldOfKind(clash.oper_code, clash.field);
    if (!field) return nullptr;
    for (const ShownField& f : kBaseFields)
        if (std::string_view(f.field) == field->name) return f.control;
    return nullptr;
}

}  // namespace

void CAddConnectionDlg::ShowClashes() {
    clashBar_ = ClashBar::AddTo(FindControl(add_connection::kBasePage), store_, OPER_CONTACT, card_.bc_id);
    if (clashBar_) clashBar_->SetOnAdopted([this](const SyncClash& clash) { OnClashAdopted(clash); });
}

void CAddConnectionDlg::OnClashAdopted(const SyncClash& clash) {
    if (IsDeleteClash(clash)) {
        Close(1);
        return;
    }
    // The form and the record as read both take the adopted value where the base page
    // shows the field, so a save neither undoes nor repeats it. A field shown elsewhere
    // keeps the old value in both, which a save leaves alone.
    const char* control = BaseControlOf(clash);
    if (!control) return;
    card_ = AdoptField(card_, clash.field, clash.other);
    SetText(control, clash.other);
}

}  // namespace kivtal
