#include "ui/toolkit/NoticeBox.h"

#include "net/WorkerMessages.h"
#include "ui/toolkit/GifLabel.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/NoticeBoxControls.h"

namespace kivtal {
namespace {

// How often the animation advances a frame.
constexpr int kAnimationIntervalMs = 100;

QPointer<CLoginMsgBoxWnd>& BusyNotice() {
    static QPointer<CLoginMsgBoxWnd> notice;
    return notice;
}

}  // namespace

CLoginMsgBoxWnd::CLoginMsgBoxWnd(QString title, QString tip) : title_(std::move(title)), tip_(std::move(tip)) {}

void CLoginMsgBoxWnd::SetTitleText(const QString& title) {
    title_ = title;
    if (QWidget* label = FindControl(notice_box::kTitle)) SetControlText(label, title);
}

void CLoginMsgBoxWnd::SetTipText(const QString& tip) {
    tip_ = tip;
    if (QWidget* label = FindControl(notice_box::kTip)) SetControlText(label, tip);
}

void CLoginMsgBoxWnd::ShowAnimationView() {
    animation_ = true;
    ApplyView();
}

void CLoginMsgBoxWnd::ShowMessageView() {
    animation_ = false;
    ApplyView();
}

void CLoginMsgBoxWnd::InitWindow() {
    SetTitleText(title_);
    SetTipText(tip_);
    ApplyView();
}

void CLoginMsgBoxWnd::ApplyView() {
    if (QWidget* gif = FindControl(notice_box::kAnimationRow)) gif->setVisible(animation_);
    if (QWidget* normal = FindControl(notice_box::kPlainRow)) normal->setVisible(!animation_);
    // The animation only costs time while it can be seen.
    if (animation_) SetTimer(kNoticeAnimationTimer, kAnimationIntervalMs);
    else KillTimer(kNoticeAnimationTimer);
}

void CLoginMsgBoxWnd::Notify(const QString& type, QWidget* sender) {
    const QString name = ControlName(sender);
    if (type == u"click" && (name == notice_box::kClose || name == notice_box::kOk)) Close(1);
}

std::intptr_t CLoginMsgBoxWnd::HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t,
                                                   bool& handled) {
    if (number == WM_TIMER && static_cast<std::uintptr_t>(wParam) == kNoticeAnimationTimer) {
        if (auto* gif = FindControl<GifLabel>(notice_box::kAnimation)) gif->NextFrame();
        handled = true;
    }
    return 0;
}

CLoginMsgBoxWnd* CreateNoticeBox(QWidget* owner, const QString& title) {
    auto* box = new CLoginMsgBoxWnd(title);
    if (!box->Create(owner, kNoticeCaption)) {
        delete box;
        return nullptr;
    }
    box->CenterWindow();
    return box;
}

bool ShowBusyNotice(QWidget* parent) {
    if (BusyNotice()) return false;
    CLoginMsgBoxWnd* box = CreateNoticeBox(parent, kNoticeCaption);
    if (!box) return false;
    const QPointer<CLoginMsgBoxWnd> mine(box);
    BusyNotice() = mine;
    box->ShowAnimationView();
    box->ShowModal();
    // A newer notice opened after this one was closed keeps its place.
    if (BusyNotice() == mine) BusyNotice() = nullptr;
    return true;
}

void CloseBusyNotice() {
    if (CLoginMsgBoxWnd* box = BusyNotice()) box->Close(1);
    BusyNotice() = nullptr;
}

bool IsBusyNoticeOpen() { return !BusyNotice().isNull(); }

}  // namespace kivtal
