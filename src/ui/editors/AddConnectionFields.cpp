// Filling the editor's pages from the record and reading them back.
#include <QAbstractButton>
#include <QTextEdit>

#include "store/ContactStore.h"
#include "text/ChsToPinyin.h"
#include "text/EditorChecks.h"
#include "text/TextConv.h"
#include "ui/controls/ComboKiv.h"
#include "ui/controls/EditorPickers.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/BankRows.h"
#include "ui/editors/BirthdayPickers.h"
#include "ui/editors/FieldText.h"
#include "ui/editors/ListText.h"
#include "ui/editors/PickerFill.h"
#include "ui/editors/ReferencePickers.h"
#include "ui/editors/RowList.h"
#include "ui/toolkit/ControlAccess.h"

namespace kivtal {
namespace {

const QString kRemarkDefault = QStringLiteral("备注内容");

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string U(const QString& text) { return text.toStdString(); }

std::vector<Entry> OneFieldEntries(const QStringList& texts) {
    std::vector<Entry> entries;
    for (const QString& t : texts) entries.push_back(Entry{t});
    return entries;
}

std::string NamePinyinOf(const std::string& name) {
    return AnsiToUtf8(ChsToPinyin::Instance().ToPinyin(Utf8ToAnsi(name)));
}

// The plain lists of the life page and their record fields.
struct LifeList {
    const char* container;
    std::string BusinessCard::*field;
};
constexpr LifeList kLifeLists[] = {{"intration_layou", &BusinessCard::hobby},
                                   {"xingyang_page", &BusinessCard::belief},
                                   {"left_layoput", &BusinessCard::habit},
                                   {"food_like", &BusinessCard::favor_food}};

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
    SetText("base_name_edit", card_.bc_name);
    if (auto* mr = FindControl<QAbstractButton>(card_.title == 1 ? "mr_option" : "miss_opotion")) mr->setChecked(true);
    SetText("base_phone_edit", card_.cell_phone);
    SetText("base_qq_edit", card_.qq);
    SetText("base_email_edit", card_.mail);
    SetText("base_company_edit", card_.company_name);
    SetText("base_net_edit", card_.web_site);
    SetText("base_com_address_edit", card_.addr_c_detail);
    auto* group = FindControl<ComboKiv>("group_combo");
    ChooseValue(group, card_.group_id);
    if (group && group->currentIndex() < 0) {
        // A group deleted elsewhere still names the contact's group until the user picks.
        CardGroup g;
        if (ContactStore(store_).GroupById(card_.group_id, g) == 0) group->setPlaceholderText(Q(g.group_name));
    }
    SetText("remark_edit", card_.bc_comment.empty() ? U(kRemarkDefault) : card_.bc_comment);
}

void CAddConnectionDlg::ReadBase(BusinessCard& card) const {
    card.bc_name = U(Text("base_name_edit"));
    card.bc_name_pinyin = NamePinyinOf(card.bc_name);
    auto* mr = FindControl<QAbstractButton>("mr_option");
    card.title = mr && mr->isChecked() ? 1 : 2;
    card.cell_phone = U(Text("base_phone_edit"));
    card.qq = U(Text("base_qq_edit"));
    card.mail = U(Text("base_email_edit"));
    card.company_name = U(Text("base_company_edit"));
    card.web_site = U(Text("base_net_edit"));
    card.addr_c_detail = U(Text("base_com_address_edit"));
    // Nothing chosen (the contact's group was deleted elsewhere): the group stays.
    auto* group = FindControl<ComboKiv>("group_combo");
    if (group && group->currentIndex() >= 0) {
        card.group_id = group->GetSelection();
        CardGroup g;
        if (card.group_id == 0) card.server_group_id = 0;
        else card.server_group_id = ContactStore(store_).GroupById(card.group_id, g) == 0 ? g.server_id : -1;
    }
    const QString remark = Text("remark_edit");
    card.bc_comment = remark == kRemarkDefault ? std::string() : U(remark);
}

void CAddConnectionDlg::FillBusiness() {
    SetText("business_object_edit", card_.position);
    List(QStringLiteral("main_sail")).SetEntries(OneFieldEntries(SplitEntries(Q(card_.main_business))));
    ShowIndustry(store_, FindControl<TradeCombo>("trade_in"), card_.business_id);
    ChooseValue(FindControl<ComboKiv>("trade_zhineng"), card_.job_category_id);
    banks_->FillBankRows(card_.bank_accounts);
    SetText("business_fix_phone", card_.fix_phone);
    SetText("business_fax_edit", card_.fax);
}

void CAddConnectionDlg::ReadBusiness(BusinessCard& card) const {
    card.position = U(Text("business_object_edit"));
    card.main_business = U(JoinEntries(List(QStringLiteral("main_sail")).FirstFields()));
    if (auto* trade = FindControl<TradeCombo>("trade_in")) card.business_id = trade->Tag();
    auto* jobs = FindControl<ComboKiv>("trade_zhineng");
    card.job_category_id = jobs ? jobs->GetSelection() : -1;
    banks_->ReadBankRows(card.bank_accounts);
    card.fix_phone = U(Text("business_fix_phone"));
    card.fax = U(Text("business_fax_edit"));
}

void CAddConnectionDlg::FillLife() {
    birthday_->SetBirthday(card_.birthday_type, card_.birthday);
    SetText("life_Address", card_.addr_f_detail);
    SetText("life_phone", card_.home_phone);
    for (const LifeList& l : kLifeLists)
        List(QString::fromLatin1(l.container)).SetEntries(OneFieldEntries(SplitEntries(Q(card_.*l.field))));
}

void CAddConnectionDlg::ReadLife(BusinessCard& card) const {
    card.birthday_type = birthday_->Type();
    card.birthday = birthday_->Text();
    card.addr_f_detail = U(Text("life_Address"));
    card.home_phone = U(Text("life_phone"));
    for (const LifeList& l : kLifeLists)
        card.*l.field = U(JoinEntries(List(QString::fromLatin1(l.container)).FirstFields()));
}

void CAddConnectionDlg::FillRelations() {
    std::vector<Entry> entries;
    for (const auto& [name, relation] : SplitRelations(Q(card_.relate_contacts))) entries.push_back({name, relation});
    List(QStringLiteral("relevance_page")).SetEntries(entries);
    if (!card_.how_to_konw.empty()) SetText("howtoknow_control", card_.how_to_konw);
}

void CAddConnectionDlg::ReadRelations(BusinessCard& card) const {
    std::vector<Relation> relations;
    for (const Entry& e : List(QStringLiteral("relevance_page")).Entries()) relations.emplace_back(e.value(0), e.value(1));
    card.relate_contacts = U(JoinRelations(relations));
    card.how_to_konw = U(Text("howtoknow_control"));
}

void CAddConnectionDlg::ReadForm(ContactForm& form) const {
    form.name = Text("base_name_edit").toStdU16String();
    form.mobile = Text("base_phone_edit").toStdU16String();
    form.qq = Text("base_qq_edit").toStdU16String();
    form.email = Text("base_email_edit").toStdU16String();
    form.fax = Text("business_fax_edit").toStdU16String();
    form.officePhone = Text("business_fix_phone").toStdU16String();
    form.homePhone = Text("life_phone").toStdU16String();
    for (const QString& name : List(QStringLiteral("relevance_page")).FirstFields())
        form.relatedNames.push_back(name.toStdU16String());
}

}  // namespace kivtal
