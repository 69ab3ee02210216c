#pragma once
// The notice box: a small window with an animation view (login progress, waiting for
// the worker) and a message view (tips and failures), and the process-wide busy notice
// built on it.
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class GifLabel;

inline constexpr std::uintptr_t kNoticeAnimationTimer = 131;
inline const QString kNoticeCaption = QStringLiteral("Kivtal v1.0");

class CLoginMsgBoxWnd : public WindowImplBase {
    Q_OBJECT

public:
    // title is shown in "title_msg", tip in "tip_msg".
    explicit CLoginMsgBoxWnd(QString title = {}, QString tip = {});

    QString GetSkinFile() const override { return QStringLiteral("LoginMsgBox.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("LoginMsgBox"); }

    void SetTitleText(const QString& title);
    void SetTipText(const QString& tip);
    void ShowAnimationView();
    void ShowMessageView();
    bool IsAnimationView() const { return animation_; }

protected:
    void InitWindow() override;
    void Notify(const QString& type, QWidget* sender) override;
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    void OnFinalMessage() override { KillTimer(kNoticeAnimationTimer); }

private:
    void ApplyView();

    QString title_;
    QString tip_;
    bool animation_ = true;
};

// A notice box owned by owner, captioned "Kivtal v1.0" with that title text, centred
// over its owner and still hidden; nullptr when its layout cannot be loaded.
CLoginMsgBoxWnd* CreateNoticeBox(QWidget* owner, const QString& title);

// Runs a modal busy notice (animation view) owned by parent until CloseBusyNotice or
// the user closes it. False at once, showing nothing, while one is already open.
bool ShowBusyNotice(QWidget* parent);
// Closes the open busy notice with 1, if any.
void CloseBusyNotice();
bool IsBusyNoticeOpen();

}  // namespace kivtal
