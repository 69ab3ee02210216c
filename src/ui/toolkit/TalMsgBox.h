#pragma once
// The styled message boxes: the two-button box for questions and tips, and the
// one-button box for device errors.
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

inline constexpr int kMsgBoxOk = 1;
inline constexpr int kMsgBoxCancel = 2;

class CTalMsgBox : public WindowImplBase {
    Q_OBJECT

public:
    // buttons: 1 = OK and Cancel, anything else = OK only. titleStyle: 1 = the title
    // goes to "TalTitle" and "title" is hidden; otherwise the title goes to "title".
    CTalMsgBox(QString title, QString text, int buttons, int titleStyle);

    QString GetSkinFile() const override { return QStringLiteral("TalMessageBox.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("KivTalMessageBox"); }

protected:
    std::vector<QString> EnterButtons() const override;
    std::vector<QString> EscapeButtons() const override;
    bool OpensOnFirstField() const override { return true; }
    void Notify(const QString& type, QWidget* sender) override;
    // Closing from outside is a cancel, never a silent OK.
    void OnSystemClose() override { Close(kMsgBoxCancel); }

private:
    void Fill();

    QString title_;
    QString text_;
    int buttons_;
    int titleStyle_;
};

// Asks or tells the user. A null title means "温馨提示". With a parent the box is modal
// and the result is 1 (OK) or 2 (Cancel or close); without a parent it is shown
// without blocking and the result is 1 at once, so never ask a question that way.
int ShowTalMsgBox(const QString& title, QWidget* parent, const QString& text, int buttons = 0, int titleStyle = 0);

class CMessageBox : public WindowImplBase {
    Q_OBJECT

public:
    explicit CMessageBox(QString text);

    QString GetSkinFile() const override { return QStringLiteral("KivMessageBox.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("KivMessageBox"); }

protected:
    std::vector<QString> EnterButtons() const override;
    std::vector<QString> EscapeButtons() const override;
    bool OpensOnFirstField() const override { return true; }
    void Notify(const QString& type, QWidget* sender) override;

private:
    QString text_;
};

// Shows a CMessageBox owned by parent modally; 1 when it was closed by the user.
int ShowMessageBox(QWidget* parent, const QString& text);

}  // namespace kivtal
