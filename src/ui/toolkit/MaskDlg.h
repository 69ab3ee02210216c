#pragma once
// The mask: a window laid over its owner while a modal child window or a
// synchronisation runs, so the covered window cannot be clicked. During a
// synchronisation it also shows a notice box with the mask's text.
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class CLoginMsgBoxWnd;

inline const QString kMaskTitle = QStringLiteral("蒙版");
inline const QString kSyncBusyText = QStringLiteral("数据正在同步，请勿关闭客户端或者关闭计算机。");

class CMaskDlg : public WindowImplBase {
    Q_OBJECT

public:
    CMaskDlg();

    QString GetSkinFile() const override { return QStringLiteral("MaskWnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("KivMaskWnd"); }

    QString Text() const { return text_; }
    void SetText(const QString& text) { text_ = text; }
    // The notice box shown while busy; nullptr when none.
    CLoginMsgBoxWnd* NoticeBox() const { return notice_.data(); }

    // Lays the mask exactly over its owner's window and shows it (without the focus).
    void CoverOwner();

protected:
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void OnFinalMessage() override;
    int CaptionHeight() const override { return 0; }
    bool StaysOnScreen() const override { return false; }

private:
    void EnterBusy();
    void LeaveBusy();

    QString text_ = QStringLiteral("Loading...");
    QPointer<CLoginMsgBoxWnd> notice_;
};

// Creates the mask owned by owner, hidden; nullptr when its layout cannot be loaded.
CMaskDlg* CreateMask(QWidget* owner);

// The owner's synchronisation busy display: entering sets the mask's text and the
// owner's busy flag and posts WM_UI_MASK_BUSY; leaving posts WM_UI_MASK_IDLE only when
// the flag was set, and clears it.
void EnterSyncBusy(CMaskDlg* mask, bool& busy);
void LeaveSyncBusy(CMaskDlg* mask, bool& busy);

// Lays the mask over its owner while a modal window runs above it (one scope).
class MaskCover {
public:
    explicit MaskCover(CMaskDlg* mask) : mask_(mask) {
        if (mask_) mask_->CoverOwner();
    }
    ~MaskCover() {
        if (mask_) mask_->ShowWindow(false);
    }
    MaskCover(const MaskCover&) = delete;
    MaskCover& operator=(const MaskCover&) = delete;

private:
    QPointer<CMaskDlg> mask_;
};

}  // namespace kivtal
