#include "ui/toolkit/TalMsgBox.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBoxControls.h"

namespace kivtal {
namespace {

const QString kDefaultTitle = QStringLiteral("温馨提示");
const QString kTipCaption = QStringLiteral("温馨提示");
const QString kConnectFailedTitle = QStringLiteral("连接失败");

void SetTextOf(WindowImplBase& window, const QString& name, const QString& text) {
    if (QWidget* control = window.FindControl(name)) SetControlText(control, text);
}

void SetVisibleOf(WindowImplBase& window, const QString& name, bool visible) {
    if (QWidget* control = window.FindControl(name)) control->setVisible(visible);
}

// The content edit is cleared first, then filled with one-and-a-half line spacing.
void FillContent(WindowImplBase& window, const LayoutControl& content, const QString& text) {
    auto* edit = window.FindControl<QTextEdit>(content);
    if (!edit) return;
    edit->clear();
    edit->setPlainText(text);
    QTextCursor cursor(edit->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    cursor.mergeBlockFormat(format);
}

// Creation failures count as Cancel: a question nobody saw was not answered yes.
int RunModalBox(WindowImplBase* box, QWidget* parent, const QString& caption) {
    if (!box->Create(parent, caption)) {
        delete box;
        return kMsgBoxCancel;
    }
    box->CenterWindow();
    return box->ShowModal();
}

}  // namespace

CTalMsgBox::CTalMsgBox(QString title, QString text, int buttons, int titleStyle)
    : title_(std::move(title)), text_(std::move(text)), buttons_(buttons), titleStyle_(titleStyle) {}

void CTalMsgBox::Notify(const QString& type, QWidget* sender) {
    if (type == u"windowinit") {
        Fill();
        return;
    }
    if (type != u"click") return;
    const QString name = ControlName(sender);
    if (name == tal_msg_box::kOkOfPair || name == tal_msg_box::kOk) Close(kMsgBoxOk);
    else if (name == tal_msg_box::kCancelOfPair || name == tal_msg_box::kClose) Close(kMsgBoxCancel);
}

void CTalMsgBox::Fill() {
    const bool styled = titleStyle_ == 1;
    SetTextOf(*this, styled ? tal_msg_box::kStyledTitle : tal_msg_box::kTitle, title_);
    SetVisibleOf(*this, tal_msg_box::kTitle, !styled);
    SetVisibleOf(*this, tal_msg_box::kStyledTitle, styled);
    FillContent(*this, tal_msg_box::kContent, text_);
    SetVisibleOf(*this, tal_msg_box::kOkCancelRow, buttons_ == 1);
    SetVisibleOf(*this, tal_msg_box::kOkRow, buttons_ != 1);
}

int ShowTalMsgBox(const QString& title, QWidget* parent, const QString& text, int buttons, int titleStyle) {
    auto* box = new CTalMsgBox(title.isNull() ? kDefaultTitle : title, text, buttons, titleStyle);
    if (parent) return RunModalBox(box, parent, kTipCaption);
    if (box->Create(nullptr, kTipCaption)) {
        box->CenterWindow();
        box->ShowWindow();
    } else {
        delete box;
    }
    return kMsgBoxOk;
}

CMessageBox::CMessageBox(QString text) : text_(std::move(text)) {}

void CMessageBox::Notify(const QString& type, QWidget* sender) {
    if (type == u"windowinit") {
        SetTextOf(*this, kiv_msg_box::kTitle, kConnectFailedTitle);
        FillContent(*this, kiv_msg_box::kContent, text_);
        return;
    }
    const QString name = ControlName(sender);
    if (type == u"click" && (name == kiv_msg_box::kOk || name == kiv_msg_box::kClose)) Close(1);
}

int ShowMessageBox(QWidget* parent, const QString& text) {
    return RunModalBox(new CMessageBox(text), parent, kConnectFailedTitle);
}

std::vector<QString> CTalMsgBox::EnterButtons() const { return {tal_msg_box::kOkOfPair.name, tal_msg_box::kOk.name}; }

std::vector<QString> CTalMsgBox::EscapeButtons() const {
    return {tal_msg_box::kCancelOfPair.name, tal_msg_box::kClose.name};
}

std::vector<QString> CMessageBox::EnterButtons() const { return {kiv_msg_box::kOk.name}; }

std::vector<QString> CMessageBox::EscapeButtons() const { return {kiv_msg_box::kClose.name}; }

}  // namespace kivtal
