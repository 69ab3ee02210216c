#pragma once
// The move-to-group window: every contact group as an option "groupName"; "login_btn"
// moves the contact into the chosen group, "btn_close" and "searchbtn" only close.
// ShowModal returns kChangeGroupMoved when the contact was moved, 1 otherwise.
#include "store/LocalStore.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

inline constexpr int kChangeGroupMoved = 2;

class CChangeGroupWnd : public WindowImplBase {
    Q_OBJECT

public:
    CChangeGroupWnd(LocalStore& store, int contactId);

    QString GetSkinFile() const override { return QStringLiteral("changeGroup.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELChangeGroupWnd"); }

protected:
    void InitWindow() override;
    void Notify(const QString& type, QWidget* sender) override;
    // Enter moves the contact once a group is chosen; Escape cancels.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Move();
    void FocusFirstOption();

    LocalStore& store_;
    int contactId_;
    int chosen_ = 0;  // 0: nothing chosen
};

}  // namespace kivtal
