#include "ui/toolkit/MaskDlg.h"

#include <QMouseEvent>

#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

// The busy notice sits a little below the centre so the owner's title stays readable.
constexpr int kNoticeDropPixels = 25;

}  // namespace

CMaskDlg::CMaskDlg() {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    // Without a compositor the mask is simply opaque, which hides the owner as well.
    setWindowOpacity(0.45);
}

void CMaskDlg::CoverOwner() {
    if (QWidget* owner = parentWidget()) setGeometry(owner->window()->geometry());
    ShowWindow(true);
}

std::intptr_t CMaskDlg::HandleCustomMessage(unsigned number, std::intptr_t, std::intptr_t, bool& handled) {
    if (number == WM_UI_MASK_BUSY) EnterBusy();
    else if (number == WM_UI_MASK_IDLE) LeaveBusy();
    else return 0;
    handled = true;
    return 0;
}

void CMaskDlg::EnterBusy() {
    if (notice_) return;
    CoverOwner();
    CLoginMsgBoxWnd* notice = CreateNoticeBox(this, kNoticeCaption);
    if (!notice) return;
    notice->move(notice->pos() + QPoint(0, kNoticeDropPixels));
    notice->SetTitleText(text_);
    notice->ShowAnimationView();
    notice->ShowWindow(true);
    notice_ = notice;
}

void CMaskDlg::LeaveBusy() {
    if (notice_) notice_->Close(1);
    notice_ = nullptr;
    ShowWindow(false);
}

void CMaskDlg::mousePressEvent(QMouseEvent* event) { event->accept(); }

void CMaskDlg::focusInEvent(QFocusEvent*) {}

void CMaskDlg::OnFinalMessage() {
    if (notice_) notice_->Close(1);
}

CMaskDlg* CreateMask(QWidget* owner) {
    auto* mask = new CMaskDlg;
    if (!mask->Create(owner, kMaskTitle)) {
        delete mask;
        return nullptr;
    }
    mask->CenterWindow();
    return mask;
}

void EnterSyncBusy(CMaskDlg* mask, bool& busy) {
    busy = true;
    if (!mask) return;
    mask->SetText(kSyncBusyText);
    mask->PostMessage(WM_UI_MASK_BUSY);
}

void LeaveSyncBusy(CMaskDlg* mask, bool& busy) {
    if (!busy) return;
    busy = false;
    if (mask) mask->PostMessage(WM_UI_MASK_IDLE);
}

}  // namespace kivtal
