// Filling the editor's pages from the record and reading them back.
#include <QAbstractButton>
#include <QTextEdit>

#include "store/ContactStore.h"
#include "text/EditorChecks.h"
#include "ui/controls/ComboKiv.h"
#include "ui/controls/EditorPickers.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/AddConnectionDlgControls.h"
#include "ui/editors/AreaPickers.h"
#include "ui/editors/BankRows.h"
#include "ui/editors/BirthdayPickers.h"
#include "ui/editors/FieldText.h"
#include "ui/editors/ListText.h"
#include "ui/editors/PickerFill.h"
#include "ui/editors/ReferencePickers.h"
#include "ui/editors/RowList.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TypedText.h"

namespace kivtal {
namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string U(const QString& text) { return TypedUtf8(text); }

std::vector<Entry> OneFieldEntries(const QStringList& texts) {
    std::vector<Entry> entries;
    for (const QString& t : texts) entries.push_back(Entry{t});
    return entries;
}

// The plain lists of the life page and their record fields.
struct LifeList {
    const char* container;
    std::string BusinessCard::*field;
};
constexpr LifeList kLifeLists[] = {{add_connection_life::kHobbies.name, &BusinessCard::hobby},
                                   {add_connection_life::kBeliefs.name, &BusinessCard::belief},
                                   {add_connection_life::kHabits.name, &BusinessCard::habit},
                                   {add_connection_life::kFoods.name, &BusinessCard::favor_food}};

}  // namespace

void CAddConnectionDlg::FillPage(int page) {
    switch (page) {
        case kBasePage: return FillBase();
        case kBusinessPage: return FillBusiness();
        case kLifePage: return FillLife();
        case kRelationsPage: return FillRelations();
        default: return;
    }
}

void CAddConnectionDlg::FillBase() {
    SetText(add_connection::kNameEdit.name, card_.bc_name);
    if (auto* mr =
            FindControl<QAbstractButton>(card_.title == 1 ? add_connection::kMrOption : add_connection::kMissOption))
        mr->setChecked(true);
    SetText(add_connection::kPhoneEdit.name, card_.cell_phone);
    SetText(add_connection::kQqEdit.name, card_.qq);
    SetText(add_connection::kEmailEdit.name, card_.mail);
    SetText(add_connection::kCompanyEdit.name, card_.company_name);
    SetText(add_connection::kWebEdit.name, card_.web_site);
    SetText(add_connection::kCompanyAddressEdit.name, card_.addr_c_detail);
    auto* group = FindControl<ComboKiv>(add_connection::kGroupCombo);
    ChooseValue(group, card_.group_id);
    if (group && group->currentIndex() < 0) {
        // A group deleted elsewhere still names the contact's group until the user picks.
        CardGroup g;
        if (ContactStore(store_).GroupById(card_.group_id, g) == 0) group->setPlaceholderText(Q(g.group_name));
    }
    // An empty remark shows the layout's grey placeholder.
    SetText(add_connection::kRemarkEdit.name, card_.bc_comment);
}

void CAddConnectionDlg::ReadBase(BusinessCard& card) const {
    card.bc_name = U(Text(add_connection::kNameEdit.name));
    auto* mr = FindControl<QAbstractButton>(add_connection::kMrOption);
    card.title = mr && mr->isChecked() ? 1 : 2;
    card.cell_phone = U(Text(add_connection::kPhoneEdit.name));
    card.qq = U(Text(add_connection::kQqEdit.name));
    card.mail = U(Text(add_connection::kEmailEdit.name));
    card.company_name = U(Text(add_connection::kCompanyEdit.name));
    card.web_site = U(Text(add_connection::kWebEdit.name));
    card.addr_c_detail = U(area_->WithAreaAtHead(Text(add_connection::kCompanyAddressEdit.name)));
    // Nothing chosen (the contact's group was deleted elsewhere): the group stays. The
    // store fills the name pinyin and the group's server id.
    auto* group = FindControl<ComboKiv>(add_connection::kGroupCombo);
    if (group && group->currentIndex() >= 0) card.group_id = group->GetSelection();
    card.bc_comment = U(Text(add_connection::kRemarkEdit.name));
}

void CAddConnectionDlg::FillBusiness() {
    SetText(add_connection_business::kPositionEdit.name, card_.position);
    List(add_connection_business::kMainBusiness).SetEntries(OneFieldEntries(SplitEntries(Q(card_.main_business))));
    ShowIndustry(store_, FindControl<TradeCombo>(add_connection_business::kTradeCombo), card_.business_id);
    ChooseValue(FindControl<ComboKiv>(add_connection_business::kJobCombo), card_.job_category_id);
    banks_->FillBankRows(card_.bank_accounts);
    SetText(add_connection_business::kFixPhoneEdit.name, card_.fix_phone);
    SetText(add_connection_business::kFaxEdit.name, card_.fax);
}

void CAddConnectionDlg::ReadBusiness(BusinessCard& card) const {
    card.position = U(Text(add_connection_business::kPositionEdit.name));
    card.main_business = U(JoinEntries(List(add_connection_business::kMainBusiness).FirstFields()));
    if (auto* trade = FindControl<TradeCombo>(add_connection_business::kTradeCombo)) card.business_id = trade->Tag();
    auto* jobs = FindControl<ComboKiv>(add_connection_business::kJobCombo);
    card.job_category_id = jobs ? jobs->GetSelection() : -1;
    banks_->ReadBankRows(card.bank_accounts);
    card.fix_phone = U(Text(add_connection_business::kFixPhoneEdit.name));
    card.fax = U(Text(add_connection_business::kFaxEdit.name));
}

void CAddConnectionDlg::FillLife() {
    birthday_->SetBirthday(card_.birthday_type, card_.birthday);
    SetText(add_connection_life::kAddressEdit.name, card_.addr_f_detail);
    SetText(add_connection_life::kPhoneEdit.name, card_.home_phone);
    for (const LifeList& l : kLifeLists)
        List(QString::fromLatin1(l.container)).SetEntries(OneFieldEntries(SplitEntries(Q(card_.*l.field))));
}

void CAddConnectionDlg::ReadLife(BusinessCard& card) const {
    card.birthday_type = birthday_->Type();
    card.birthday = birthday_->Text();
    card.addr_f_detail = U(Text(add_connection_life::kAddressEdit.name));
    card.home_phone = U(Text(add_connection_life::kPhoneEdit.name));
    for (const LifeList& l : kLifeLists)
        card.*l.field = U(JoinEntries(List(QString::fromLatin1(l.container)).FirstFields()));
}

void CAddConnectionDlg::FillRelations() {
    std::vector<Entry> entries;
    for (const auto& [name, relation] : SplitRelations(Q(card_.relate_contacts))) entries.push_back({name, relation});
    List(add_connection_relations::kRelations).SetEntries(entries);
    if (!card_.how_to_konw.empty()) SetText(add_connection_relations::kHowToKnow.name, card_.how_to_konw);
}

void CAddConnectionDlg::ReadRelations(BusinessCard& card) const {
    std::vector<Relation> relations;
    for (const Entry& e : List(add_connection_relations::kRelations).Entries())
        relations.emplace_back(e.value(0), e.value(1));
    card.relate_contacts = U(JoinRelations(relations));
    card.how_to_konw = U(Text(add_connection_relations::kHowToKnow.name));
}

void CAddConnectionDlg::ReadForm(ContactForm& form) const {
    form.name = Text(add_connection::kNameEdit.name).toStdU16String();
    form.mobile = Text(add_connection::kPhoneEdit.name).toStdU16String();
    form.qq = Text(add_connection::kQqEdit.name).toStdU16String();
    form.email = Text(add_connection::kEmailEdit.name).toStdU16String();
    form.fax = Text(add_connection_business::kFaxEdit.name).toStdU16String();
    form.officePhone = Text(add_connection_business::kFixPhoneEdit.name).toStdU16String();
    form.homePhone = Text(add_connection_life::kPhoneEdit.name).toStdU16String();
    for (const QString& name : List(add_connection_relations::kRelations).FirstFields())
        form.relatedNames.push_back(name.toStdU16String());
}

}  // namespace kivtal
