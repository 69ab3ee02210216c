// The login window's two fields. Each is an edit and a label sharing one place: the
// label shows the account (or its placeholder) and the password mask while the field
// rests, the edit takes over while the user types.
#include <QAbstractItemView>
#include <QLineEdit>

#include "ui/controls/ComboKiv.h"
#include "ui/dialogs/LoginTexts.h"
#include "ui/dialogs/LoginWnd.h"
#include "ui/dialogs/LoginWndControls.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/ControlAttributes.h"

namespace kivtal {
namespace {

// The skin font of the mask's bullets, and of the placeholder shown in its place.
const QString kMaskFont = QStringLiteral("5");
const QString kPlaceholderFont = QStringLiteral("2");
const QString kPlaceholderColor = QStringLiteral("0xFF9AA3AD");
const QString kValueColor = QStringLiteral("0xFF333333");

// A resting field's label: its value, or the placeholder in grey.
void ShowFieldLabel(QWidget* label, const QString& value, const QString& placeholder) {
    if (!label) return;
    SetControlAttribute(label, QStringLiteral("textcolor"), value.isEmpty() ? kPlaceholderColor : kValueColor);
    SetControlText(label, value.isEmpty() ? placeholder : value);
}

}  // namespace

QString CLoginWnd::FieldText(const char* name) const { return ControlText(FindControl(QString::fromLatin1(name))); }

void CLoginWnd::SetAttribute(const char* control, const char* attribute, const char* value) {
    SetControlAttribute(FindControl(QString::fromLatin1(control)), QString::fromLatin1(attribute),
                        QString::fromLatin1(value));
}

void CLoginWnd::StyleField(const char* page, const char* pic, const char* picImage, bool editing) {
    SetAttribute(page, "bkimage",
                 editing ? "file='account_Focus.png' corner='4,4,4,4' dest='0,1,289,40'"
                         : "file='account_input.png' corner='2,2,2,2'");
    SetAttribute(pic, "bkimage", picImage);
}

void CLoginWnd::HideField(QWidget* field) {
    // Hiding the focused control would pass the focus on to the next one, and the
    // labels act on getting it; the window keeps it instead.
    if (field->hasFocus()) setFocus(Qt::OtherFocusReason);
    field->hide();
}

void CLoginWnd::InitWindow() {
    // Both fields start at rest, their labels showing.
    LeaveAccountEditing();
    LeavePasswordEditing();
    // The drop-down is only an arrow; its list spans the whole account field.
    auto* combo = FindControl<ComboKiv>(login_wnd::kAccountBtn);
    QWidget* page = FindControl(login_wnd::kAccountPage);
    if (combo && page) combo->view()->setMinimumWidth(page->minimumWidth());
    // Tab in reading order, from the account straight to the password; a resting
    // field's label passes the focus on to its edit.
    const LayoutControl order[] = {login_wnd::kAccountShow,  login_wnd::kInputAccount,  login_wnd::kAccountBtn,
                                   login_wnd::kPasswordShow, login_wnd::kInputPassword, login_wnd::kAutoLogin,
                                   login_wnd::kLoginBtn,     login_wnd::kRegistBtn,     login_wnd::kFindPassword};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget* before = FindControl(order[i - 1]);
        QWidget* after = FindControl(order[i]);
        if (before && after) setTabOrder(before, after);
    }
    if (combo) combo->setFocusPolicy(Qt::ClickFocus);  // the arrow opens the list; the edit takes the keys
    // The fields' parts are named after the field, as a screen reader announces them.
    const std::pair<LayoutControl, const char*> names[] = {
        {login_wnd::kAccountShow, "账号"},          {login_wnd::kInputAccount, "账号"},
        {login_wnd::kPasswordShow, "密码"},         {login_wnd::kInputPassword, "密码"},
        {login_wnd::kAccountBtn, "选择记住的账号"},
    };
    for (const auto& [control, name] : names)
        if (QWidget* widget = FindControl(control)) widget->setAccessibleName(QString::fromUtf8(name));
}

void CLoginWnd::FillAccountList(const LoginRecordList& logins) {
    auto* combo = FindControl<ComboKiv>(login_wnd::kAccountBtn);
    if (!combo) return;
    combo->RemoveAll();
    for (std::size_t i = 0; i < logins.size(); ++i)
        combo->AddItem(QString::fromStdString(logins[i].login_user), static_cast<int>(i));
}

void CLoginWnd::FillFields(const QString& account, const QString& password) {
    SetControlText(FindControl(login_wnd::kInputAccount), account);
    SetControlText(FindControl(login_wnd::kInputPassword), password);
    ShowFieldLabel(FindControl(login_wnd::kAccountShow), account, kAccountPlaceholder);
    ShowPasswordLabel(!password.isEmpty());
    if (password.isEmpty()) rememberedDigest_.clear();
}

void CLoginWnd::ShowPasswordLabel(bool masked) {
    QWidget* label = FindControl(login_wnd::kPasswordShow);
    if (!label) return;
    SetControlAttribute(label, QStringLiteral("font"), masked ? kMaskFont : kPlaceholderFont);
    ShowFieldLabel(label, masked ? kPasswordMask : QString(), kPasswordPlaceholder);
}

void CLoginWnd::ClearPassword() {
    SetControlText(FindControl(login_wnd::kInputPassword), {});
    ShowPasswordLabel(false);
    rememberedDigest_.clear();
}

void CLoginWnd::EnterAccountEditing(bool focus) {
    auto* edit = FindControl<QLineEdit>(login_wnd::kInputAccount);
    QWidget* label = FindControl(login_wnd::kAccountShow);
    if (!edit || !label) return;
    const QString shown = ControlText(label);
    edit->setText(shown == kAccountPlaceholder ? QString() : shown);
    edit->show();
    edit->selectAll();
    if (focus) edit->setFocus(Qt::OtherFocusReason);
    HideField(label);
    StyleField(login_wnd::kAccountPage.name, login_wnd::kAccountPic.name, "file='Account_gray.png'", true);
    SetAttribute(login_wnd::kAccountBtn.name, "bkimage", "file='account_Nbtn_normal.png'");
    SetAttribute(login_wnd::kAccountBtn.name, "hotimage", "file='account_Nbtn_hover.png'");
}

void CLoginWnd::LeaveAccountEditing() {
    auto* edit = FindControl<QLineEdit>(login_wnd::kInputAccount);
    QWidget* label = FindControl(login_wnd::kAccountShow);
    if (!edit || !label) return;
    ShowFieldLabel(label, edit->text(), kAccountPlaceholder);
    label->show();
    HideField(edit);
    StyleField(login_wnd::kAccountPage.name, login_wnd::kAccountPic.name, "file='Account.png'", false);
    SetAttribute(login_wnd::kAccountBtn.name, "bkimage", "file='account_btn_normal.png'");
    SetAttribute(login_wnd::kAccountBtn.name, "hotimage", "file='account_btn_hover.png'");
    SetAttribute(login_wnd::kAccountBtn.name, "pushedimage", "file='account_btn_pushdown.png'");
    SetAttribute(login_wnd::kAccountBtn.name, "focusedimage", "file='account_btn_pushdown.png'");
}

void CLoginWnd::EnterPasswordEditing() {
    auto* edit = FindControl<QLineEdit>(login_wnd::kInputPassword);
    QWidget* label = FindControl(login_wnd::kPasswordShow);
    if (!edit || !label) return;
    // A remembered password is never edited, only replaced.
    edit->setEchoMode(QLineEdit::Password);
    edit->clear();
    rememberedDigest_.clear();
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    HideField(label);
    StyleField(login_wnd::kPasswordPage.name, login_wnd::kPasswordPic.name, "file='password_gray.png'", true);
}

void CLoginWnd::LeavePasswordEditing() {
    auto* edit = FindControl<QLineEdit>(login_wnd::kInputPassword);
    QWidget* label = FindControl(login_wnd::kPasswordShow);
    if (!edit || !label) return;
    ShowPasswordLabel(!edit->text().isEmpty());
    label->show();
    HideField(edit);
    StyleField(login_wnd::kPasswordPage.name, login_wnd::kPasswordPic.name, "file='password.png'", false);
}

}  // namespace kivtal
