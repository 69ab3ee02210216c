// Saving the contact: checks in their fixed order, the store write, the sync request.
#include "net/LoginUser.h"
#include "store/ContactStore.h"
#include "text/EditorChecks.h"
#include "ui/controls/FindEdit.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/AreaPickers.h"
#include "ui/editors/BirthdayPickers.h"
#include "ui/editors/EditorMessages.h"
#include "ui/editors/ListText.h"
#include "ui/editors/RowList.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {

bool CAddConnectionDlg::Save() {
    if (!initialised_) Initialise();
    // Pages the user never opened keep the stored values.
    for (int page = kBusinessPage; page <= kRelationsPage; ++page) EnsureFilled(page);
    if (!PassesChecks()) return false;
    BusinessCard card = card_;
    ReadBase(card);
    ReadBusiness(card);
    ReadLife(card);
    ReadRelations(card);
    if (!Store(card)) return false;
    card_ = std::move(card);
    RequestSync();
    Close(1);
    return true;
}

bool CAddConnectionDlg::PassesChecks() {
    ContactForm form;
    ReadForm(form);
    const ComboChain area = area_->Chain();
    const ComboChain birthday = birthday_->Chain();
    form.area = area.View();
    form.birthday = birthday.View();
    const SaveCheck check = CheckContactSave(form);
    if (!check.passed) {
        ShowFailure(FailedControl(check.field), check.messages);
        return false;
    }
    return ListsHoldNoMarks();
}

// The marks join a list's entries in the stored text: an entry holding one would come
// back as two.
bool CAddConnectionDlg::ListsHoldNoMarks() {
    const QStringList marks{kEntryMark, kRelationMark};
    for (const auto& list : lists_) {
        FindEdit* field = list->FieldHolding(marks);
        if (!field) continue;
        QString mark = kEntryMark;
        for (const QString& m : marks)
            if (field->GetText().contains(m)) mark = m;
        const QString label = QString(list->Spec().label).remove(QLatin1Char(' '));
        const RuleMessage message{
            kTipTitle,
            (label + QStringLiteral("的一项含有“%1”：它是分隔各项的记号，请删去后再保存").arg(mark)).toStdString()};
        ShowFailure(field, {message});
        return false;
    }
    return true;
}

void CAddConnectionDlg::ShowFailure(QWidget* control, const std::vector<RuleMessage>& messages) {
    // The page comes up before the message, so the user reads it over the field it names.
    if (const int page = PageOf(control); page >= 0) OpenPage(page);
    ShowRuleMessages(this, messages);
    FocusControl(control);
}

QWidget* CAddConnectionDlg::FailedControl(const std::string& field) const {
    if (field.empty()) return nullptr;
    const QList<QWidget*> named = findChildren<QWidget*>(QString::fromStdString(field));
    // Of several rows with the same field (the relations), the first whose text fails.
    for (QWidget* control : named) {
        auto* edit = qobject_cast<FindEdit*>(control);
        const QString text = edit ? edit->GetText() : ControlText(control);
        if (!CheckField(Editor::Contact, field, text.toStdU16String()).passed) return control;
    }
    return named.isEmpty() ? nullptr : named.front();
}

int CAddConnectionDlg::PageOf(const QWidget* control) const {
    for (int page = kBasePage; page <= kRelationsPage; ++page) {
        const QWidget* holder = PageHolder(page);
        if (holder && control && holder->isAncestorOf(control)) return page;
    }
    return -1;
}

bool CAddConnectionDlg::Store(BusinessCard& card) {
    ContactStore contacts(store_);
    if (!editing_) card.main_tab = 1;
    // The store leaves the record as it was on failure, so the user can simply retry:
    // the window stays open with everything typed. An edit writes only what the user
    // changed since the editor read the contact, so a sync meanwhile is not undone.
    const StoreStatus result = editing_ ? contacts.SaveContactEdit(card_, card) : contacts.AddContact(card);
    if (result == StoreStatus::kOk) return true;
    ShowTalMsgBox(QStringLiteral("温馨提示"), this, QStringLiteral("保存数据失败"));
    return false;
}

void CAddConnectionDlg::RequestSync() {
    if (LoginUser::Instance().snapshot().login_mode == LoginUserState::kModeOffline) return;
    WorkerLink* link = worker_ ? worker_ : AppWorker();
    if (link) link->Post(WorkerRequest::Sync(SYNC_BY_OPER_EFFECT));
}

}  // namespace kivtal
