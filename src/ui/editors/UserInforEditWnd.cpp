#include "ui/editors/UserInforEditWnd.h"

#include <QAbstractButton>
#include <QLayout>
#include <algorithm>
#include <stdexcept>

#include "model/Diagnostics.h"
#include "model/EditMerge.h"
#include "store/AccountStore.h"
#include "text/EditorChecks.h"
#include "ui/controls/ComboKiv.h"
#include "ui/controls/EditorPickers.h"
#include "ui/editors/AreaPickers.h"
#include "ui/editors/BirthdayPickers.h"
#include "ui/editors/EditorMessages.h"
#include "ui/editors/FieldText.h"
#include "ui/editors/ReferencePickers.h"
#include "ui/editors/UserInforEditWndControls.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/TypedText.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

constexpr int kCertifiedNameRefused = 2007;
// An older number of the profile result, still answered the same way.
constexpr unsigned WM_RES_SYNC_USER_INFO_OLD = WM_USER + 1054;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string U(const QString& text) { return TypedUtf8(text); }

}  // namespace

CUserInforEditWnd::CUserInforEditWnd(LocalStore& store, UserInfo profile)
    : store_(store), profile_(std::move(profile)) {}

CUserInforEditWnd::~CUserInforEditWnd() = default;

int CUserInforEditWnd::Run(WindowImplBase* owner) {
    UserInfo profile;
    AccountStore(LocalStore::Instance()).ReadProfile(profile);
    auto* wnd = new CUserInforEditWnd(LocalStore::Instance(), profile);
    if (!wnd->Create(owner, QStringLiteral("个人资料修改"))) {
        wnd->deleteLater();
        return 0;
    }
    if (owner) wnd->SetReturnWindow(owner->GetHandle());
    wnd->CenterWindow();
    return wnd->ShowModal();
}

void CUserInforEditWnd::InitWindow() {
    birthday_ = std::make_unique<BirthdayPickers>(
        FindControl<ComboKiv>(user_info_edit::kRemindCombo), FindControl<ComboKiv>(user_info_edit::kYearCombo),
        FindControl<ComboKiv>(user_info_edit::kMonthCombo), FindControl<ComboKiv>(user_info_edit::kDayCombo),
        YearOrder::Ascending);
    area_ = std::make_unique<AreaPickers>(store_, FindControl<ComboKiv>(user_info_edit::kCountryCombo),
                                          FindControl<ComboKiv>(user_info_edit::kProvinceCombo),
                                          FindControl<ComboKiv>(user_info_edit::kAreaCombo));
    SetupIndustryPicker(store_, FindControl<TradeCombo>(user_info_edit::kTradeCombo));
    ShowEditPage(false);
}

void CUserInforEditWnd::Notify(const QString& type, QWidget* sender) {
    const QString name = ControlName(sender);
    if (type == u"windowinit") {
        saving_ = false;
        TakeResults();
        Post(WorkerRequest::Sync(SYNC_BY_USER));
        FillPickers();
        Fill();
    } else if (type == u"click") {
        if (name == user_info_edit::kSave) OnSave();
        else if (name == user_info_edit::kCancel || name == user_info_edit::kBtnClose) Close(1);
        else if (name == user_info_edit::kEdit) ShowEditPage(true);
        else if (name == user_info_edit::kRemind) {
            if (QWidget* tip = FindControl(user_info_edit::kRemindLayout))
                tip->setVisible(!static_cast<QAbstractButton*>(sender)->isChecked());
        }
    } else if (type == u"killfocus" && name == find_edit::kEdit && sender->isVisible()) {
        CheckLeftField(this, Editor::Profile, sender, checkingField_);
    }
}

std::intptr_t CUserInforEditWnd::HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                                     bool& handled) {
    handled = true;
    if (number == WM_RES_SYNC) OnSyncResult(static_cast<int>(wParam));
    else if (number == WM_RES_SYNC_USER_INFO || number == WM_RES_SYNC_USER_INFO_OLD)
        OnProfileResult(static_cast<int>(wParam));
    else if (number == WM_COMBO_PICKED) {
        auto* picker = ComboKiv::FromMessage(lParam);
        if (!birthday_->OnPicked(picker)) area_->OnPicked(picker);
    } else handled = false;
    return 0;
}

void CUserInforEditWnd::FillPickers() {
    birthday_->Setup();
    area_->Setup();
    FillJobPicker(store_, FindControl<ComboKiv>(user_info_edit::kJobCombo));
}

void CUserInforEditWnd::Fill() {
    SetText(user_info_edit::kNameEdit.name, profile_.username);
    if (QWidget* name = FindControl(user_info_edit::kNameEdit)) name->setEnabled(profile_.certification != 1);
    if (auto* option =
            FindControl<QAbstractButton>(profile_.title == 1 ? user_info_edit::kOptionMr : user_info_edit::kOptionMiss))
        option->setChecked(true);
    SetText(user_info_edit::kPhoneEdit.name, profile_.cell_phone);
    SetText(user_info_edit::kCompanyEdit.name, profile_.company1);
    ShowIndustry(store_, FindControl<TradeCombo>(user_info_edit::kTradeCombo), profile_.business1_id);
    if (auto* jobs = FindControl<ComboKiv>(user_info_edit::kJobCombo)) jobs->SelectValue(profile_.job_category1_id);
    SetText(user_info_edit::kJobEdit.name, profile_.job_position1);
    area_->SetAreaId(profile_.area_id);
    SetText(user_info_edit::kEmailEdit.name, profile_.mail);
    SetText(user_info_edit::kHomePhoneEdit.name, profile_.fix_phone);
    SetText(user_info_edit::kFaxEdit.name, profile_.fax);
    SetText(user_info_edit::kAddressEdit.name, profile_.address);
    birthday_->SetBirthday(profile_.birthday_type, profile_.birthday);

    SetControlText(FindControl(user_info_edit::kShowName), Q(profile_.username));
    SetControlText(FindControl(user_info_edit::kShowPhone), Q(profile_.cell_phone));
    SetControlText(FindControl(user_info_edit::kShowCompany), Q(profile_.company1));
    SetControlText(FindControl(user_info_edit::kShowJob), Q(profile_.job_position1));
    SetControlText(FindControl(user_info_edit::kShowMail), Q(profile_.mail));
    SetControlText(FindControl(user_info_edit::kShowAddress), Q(profile_.address));
    SetControlText(FindControl(user_info_edit::kShowBirthday), Q(profile_.birthday));
    shown_ = profile_;
    ReadForm(shown_);
}

void CUserInforEditWnd::ReadForm(UserInfo& profile) const {
    profile.username = U(Text(user_info_edit::kNameEdit.name));
    auto* mr = FindControl<QAbstractButton>(user_info_edit::kOptionMr);
    profile.title = mr && mr->isChecked() ? 1 : 2;
    profile.cell_phone = U(Text(user_info_edit::kPhoneEdit.name));
    profile.company1 = U(Text(user_info_edit::kCompanyEdit.name));
    if (auto* trade = FindControl<TradeCombo>(user_info_edit::kTradeCombo)) profile.business1_id = trade->Tag();
    auto* jobs = FindControl<ComboKiv>(user_info_edit::kJobCombo);
    profile.job_category1_id = jobs ? jobs->GetSelection() : -1;
    profile.job_position1 = U(Text(user_info_edit::kJobEdit.name));
    profile.area_id = area_->AreaId();
    profile.mail = U(Text(user_info_edit::kEmailEdit.name));
    profile.fix_phone = U(Text(user_info_edit::kHomePhoneEdit.name));
    profile.fax = U(Text(user_info_edit::kFaxEdit.name));
    profile.address = U(Text(user_info_edit::kAddressEdit.name));
    profile.birthday_type = birthday_->Type();
    profile.birthday = birthday_->Text();
}

void CUserInforEditWnd::OnSave() {
    ProfileForm form;
    form.name = Text(user_info_edit::kNameEdit.name).toStdU16String();
    form.mobile = Text(user_info_edit::kPhoneEdit.name).toStdU16String();
    form.email = Text(user_info_edit::kEmailEdit.name).toStdU16String();
    form.fax = Text(user_info_edit::kFaxEdit.name).toStdU16String();
    form.homePhone = Text(user_info_edit::kHomePhoneEdit.name).toStdU16String();
    const ComboChain area = area_->Chain();
    const ComboChain birthday = birthday_->Chain();
    form.area = area.View();
    form.birthday = birthday.View();
    const SaveCheck check = CheckProfileSave(form);
    ShowRuleMessages(this, check.messages);
    if (!check.passed) return;
    TakeResults();
    Post(WorkerRequest::Sync(SYNC_BY_USER));
    saving_ = true;
    ShowBusyNotice(this);
}

void CUserInforEditWnd::OnSyncResult(int result) {
    if (!saving_) {
        // The answer to the opening sync: the store may hold a newer profile now.
        HandBackResults();
        DebugLine("收到初始化同步结果消息");
        AccountStore(store_).ReadProfile(profile_);
        // Once the user is typing, the form stays as typed; the fresh copy still
        // supplies the ids the request carries.
        if (!editStarted_) {
            FillPickers();
            Fill();
        }
        return;
    }
    if (result != 0) {
        saving_ = false;
        CloseBusyNotice();
        ShowTalMsgBox({}, this, QStringLiteral("服务器出错，请稍后重试"));
        return;
    }
    sent_ = EditedProfile();
    TakeResults();
    Post(WorkerRequest::With(WM_REQ_SYNC_MODIFY_USER_INFO, sent_));
    DebugLine("调用ModifyUserInfo");
    saving_ = false;
}

// Only what the user changed in the form goes over the profile as it is now: the save's
// sync (or one since the form was filled) may have brought newer values for the rest.
UserInfo CUserInforEditWnd::EditedProfile() const {
    UserInfo edited = shown_;
    ReadForm(edited);
    UserInfo current = profile_;
    AccountStore(store_).ReadProfile(current);
    try {
        return MergeEdit(shown_, edited, current);
    } catch (const std::invalid_argument&) {  // a text holds the separator: the commit refuses it
        return edited;
    }
}

void CUserInforEditWnd::OnProfileResult(int result) {
    DebugLine("收到添加操作结果");
    status_ = result == 0 ? kAccepted : result == kCertifiedNameRefused ? kNameCertified : kFailed;
    CloseBusyNotice();
    if (status_ == kNameCertified) ShowTalMsgBox({}, this, QStringLiteral("您的姓名以及实名认证成功，无法修改姓名"));
    HandBackResults();
    if (status_ == kAccepted) Close(1);
    else if (status_ == kFailed) ShowTalMsgBox({}, this, QStringLiteral("服务器异常，请稍后再试"));
}

void CUserInforEditWnd::ShowEditPage(bool edit) {
    editStarted_ = editStarted_ || edit;
    if (QWidget* show = FindControl(user_info_edit::kShowPage)) show->setVisible(!edit);
    if (QWidget* form = FindControl(user_info_edit::kEditPage)) form->setVisible(edit);
    // The short view and the long form each get a window of their own height.
    if (layout()) layout()->activate();
    resize(width(), edit ? std::max(height(), sizeHint().height()) : sizeHint().height());
}

void CUserInforEditWnd::Post(WorkerRequest request) {
    WorkerLink* link = worker_ ? worker_ : AppWorker();
    if (link) link->Post(std::move(request));
}

void CUserInforEditWnd::TakeResults() {
    WorkerLink* link = worker_ ? worker_ : AppWorker();
    if (link) link->SetResultWindow(GetHandle());
}

void CUserInforEditWnd::HandBackResults() {
    WorkerLink* link = worker_ ? worker_ : AppWorker();
    if (link && returnWindow_ != 0) link->SetResultWindow(returnWindow_);
}

std::vector<QString> CUserInforEditWnd::EnterButtons() const {
    return {user_info_edit::kSave.name, user_info_edit::kEdit.name};
}

std::vector<QString> CUserInforEditWnd::EscapeButtons() const {
    return {user_info_edit::kCancel.name, user_info_edit::kBtnClose.name};
}

}  // namespace kivtal
