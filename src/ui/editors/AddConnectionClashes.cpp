// The contact's clashes with another device's edits, each under the field it concerns,
// and a mark on the tab of every page that holds one.
#include <QTextEdit>
#include <string_view>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/ClashAdopt.h"
#include "ui/controls/FindEdit.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/AddConnectionDlgControls.h"
#include "ui/editors/ClashBar.h"

namespace kivtal {

namespace {

// The control that shows each field of the value-string table, and its page. A field
// missing here (ww, common) has its clash in the bar above the first page.
struct ShownField {
    const char* field;
    int page;
    const char* control;
};
constexpr ShownField kShownFields[] = {
    {"name", kBasePage, add_connection::kNameEdit.name},
    {"title", kBasePage, add_connection::kMrOption.name},
    {"mobile", kBasePage, add_connection::kPhoneEdit.name},
    {"qq", kBasePage, add_connection::kQqEdit.name},
    {"email", kBasePage, add_connection::kEmailEdit.name},
    {"company", kBasePage, add_connection::kCompanyEdit.name},
    {"web_site", kBasePage, add_connection::kWebEdit.name},
    {"company_address", kBasePage, add_connection::kCompanyAddressEdit.name},
    {"group", kBasePage, add_connection::kGroupCombo.name},
    {"comment", kBasePage, add_connection::kRemarkEdit.name},
    {"position", kBusinessPage, add_connection_business::kPositionEdit.name},
    {"office_phone", kBusinessPage, add_connection_business::kFixPhoneEdit.name},
    {"fax", kBusinessPage, add_connection_business::kFaxEdit.name},
    {"business", kBusinessPage, add_connection_business::kMainBusiness.name},
    {"industry", kBusinessPage, add_connection_business::kTradeCombo.name},
    {"job_category", kBusinessPage, add_connection_business::kJobCombo.name},
    {"home_address", kLifePage, add_connection_life::kAddressEdit.name},
    {"home_phone", kLifePage, add_connection_life::kPhoneEdit.name},
    {"birthday_type", kLifePage, add_connection_life::kBirthdayType.name},
    {"birthday", kLifePage, add_connection_life::kBirthdayType.name},
    {"hobby", kLifePage, add_connection_life::kHobbies.name},
    {"belief", kLifePage, add_connection_life::kBeliefs.name},
    {"habit", kLifePage, add_connection_life::kHabits.name},
    {"food", kLifePage, add_connection_life::kFoods.name},
    {"related", kRelationsPage, add_connection_relations::kRelations.name},
    {"how_met", kRelationsPage, add_connection_relations::kHowToKnow.name},
};

const ShownField* ShownFieldOf(const SyncClash& clash) {
    const FieldSpec* field = FieldOfKind(clash.oper_code, clash.field);
    if (!field) return nullptr;
    for (const ShownField& f : kShownFields)
        if (std::string_view(f.field) == field->name) return &f;
    return nullptr;
}

}  // namespace

void CAddConnectionDlg::ShowClashes() {
    clashes_ = new RecordClashes(
        store_, OPER_CONTACT, card_.bc_id, FindControl(add_connection::kBasePage),
        [this](const SyncClash& clash) {
            const ShownField* f = ShownFieldOf(clash);
            if (!f) return ClashPlace{};
            return ClashPlace{true, built_[f->page] ? FindControl(f->control) : nullptr};
        },
        this);
    clashes_->SetOnAdopted([this](const SyncClash& clash) { OnClashAdopted(clash); });
    clashes_->SetOnChanged([this] { MarkClashPages(); });
    MarkClashPages();
}

void CAddConnectionDlg::PlaceClashes() {
    if (clashes_) clashes_->Reload();
}

void CAddConnectionDlg::MarkClashPages() {
    std::array<bool, 4> marked{};
    for (const SyncClash& clash : clashes_->Open())
        if (const ShownField* f = ShownFieldOf(clash)) marked[f->page] = true;
    for (int p = 0; p < 4; ++p) MarkClashTab(FindControl(PageTab(p)), marked[p]);
}

void CAddConnectionDlg::OnClashAdopted(const SyncClash& clash) {
    if (IsDeleteClash(clash)) {
        Close(1);
        return;
    }
    // The form and the record as read both take the adopted value where the form can
    // show it (a text field, or a page not filled yet, which fills from the record), so
    // a save neither undoes nor repeats it. A picker or list already filled keeps the
    // old value in both, which a save leaves alone.
    const ShownField* f = ShownFieldOf(clash);
    if (!f) return;
    QWidget* control = FindControl(f->control);
    const bool text = qobject_cast<FindEdit*>(control) || qobject_cast<QTextEdit*>(control);
    if (!text && filled_[f->page]) return;
    card_ = AdoptField(card_, clash.field, clash.other);
    if (text) SetText(f->control, clash.other);
}

}  // namespace kivtal
