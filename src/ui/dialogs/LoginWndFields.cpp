// The login window's two fields. Each is an edit and a label sharing one place: the
// label shows the account (or its placeholder) and the password mask while the field
// rests, the edit takes over while the user types.
#include <QAbstractItemView>
#include <QLineEdit>

#include "ui/controls/ComboKiv.h"
#include "ui/dialogs/LoginTexts.h"
#include "ui/dialogs/LoginWnd.h"
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
    auto* combo = FindControl<ComboKiv>(QStringLiteral("account_btn"));
    QWidget* page = FindControl(QStringLiteral("account_page"));
    if (combo && page) combo->view()->setMinimumWidth(page->minimumWidth());
}

void CLoginWnd::FillAccountList(const LoginRecordList& logins) {
    auto* combo = FindControl<ComboKiv>(QStringLiteral("account_btn"));
    if (!combo) return;
    combo->RemoveAll();
    for (std::size_t i = 0; i < logins.size(); ++i)
        combo->AddItem(QString::fromStdString(logins[i].login_user), static_cast<int>(i));
}

void CLoginWnd::FillFields(const QString& account, const QString& password) {
    SetControlText(FindControl(QStringLiteral("input_account")), account);
    SetControlText(FindControl(QStringLiteral("input_password")), password);
    ShowFieldLabel(FindControl(QStringLiteral("account_show")), account, kAccountPlaceholder);
    ShowPasswordLabel(!password.isEmpty());
    if (password.isEmpty()) rememberedDigest_.clear();
}

void CLoginWnd::ShowPasswordLabel(bool masked) {
    QWidget* label = FindControl(QStringLiteral("password_show"));
    if (!label) return;
    SetControlAttribute(label, QStringLiteral("font"), masked ? kMaskFont : kPlaceholderFont);
    ShowFieldLabel(label, masked ? kPasswordMask : QString(), kPasswordPlaceholder);
}

void CLoginWnd::ClearPassword() {
    SetControlText(FindControl(QStringLiteral("input_password")), {});
    ShowPasswordLabel(false);
    rememberedDigest_.clear();
}

void CLoginWnd::EnterAccountEditing(bool focus) {
    auto* edit = FindControl<QLineEdit>(QStringLiteral("input_account"));
    QWidget* label = FindControl(QStringLiteral("account_show"));
    if (!edit || !label) return;
    const QString shown = ControlText(label);
    edit->setText(shown == kAccountPlaceholder ? QString() : shown);
    edit->show();
    edit->selectAll();
    if (focus) edit->setFocus(Qt::OtherFocusReason);
    HideField(label);
    StyleField("account_page", "account_pic", "file='Account_gray.png'", true);
    SetAttribute("account_btn", "bkimage", "file='account_Nbtn_normal.png'");
    SetAttribute("account_btn", "hotimage", "file='account_Nbtn_hover.png'");
}

void CLoginWnd::LeaveAccountEditing() {
    auto* edit = FindControl<QLineEdit>(QStringLiteral("input_account"));
    QWidget* label = FindControl(QStringLiteral("account_show"));
    if (!edit || !label) return;
    ShowFieldLabel(label, edit->text(), kAccountPlaceholder);
    label->show();
    HideField(edit);
    StyleField("account_page", "account_pic", "file='Account.png'", false);
    SetAttribute("account_btn", "bkimage", "file='account_btn_normal.png'");
    SetAttribute("account_btn", "hotimage", "file='account_btn_hover.png'");
    SetAttribute("account_btn", "pushedimage", "file='account_btn_pushdown.png'");
    SetAttribute("account_btn", "focusedimage", "file='account_btn_pushdown.png'");
}

void CLoginWnd::EnterPasswordEditing() {
    auto* edit = FindControl<QLineEdit>(QStringLiteral("input_password"));
    QWidget* label = FindControl(QStringLiteral("password_show"));
    if (!edit || !label) return;
    // A remembered password is never edited, only replaced.
    edit->setEchoMode(QLineEdit::Password);
    edit->clear();
    rememberedDigest_.clear();
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    HideField(label);
    StyleField("password_page", "password_pic", "file='password_gray.png'", true);
}

void CLoginWnd::LeavePasswordEditing() {
    auto* edit = FindControl<QLineEdit>(QStringLiteral("input_password"));
    QWidget* label = FindControl(QStringLiteral("password_show"));
    if (!edit || !label) return;
    ShowPasswordLabel(!edit->text().isEmpty());
    label->show();
    HideField(edit);
    StyleField("password_page", "password_pic", "file='password.png'", false);
}

}  // namespace kivtal
