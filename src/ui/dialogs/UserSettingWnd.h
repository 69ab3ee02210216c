#pragma once
// The settings window: the optional contact-list columns, start with the desktop
// session, whether closing the main window only hides it, and how many days ahead a
// birthday is first reminded of (this device's own, never synced). Saving writes the
// settings, asks for a sync, and tells the main window the new column mask.
#include <functional>

#include "model/Records.h"
#include "store/LocalStore.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class CUserSettingWnd : public WindowImplBase {
    Q_OBJECT

public:
    // requestSync is called after a successful write (it knows whether the login is
    // offline); mainWindow receives WM_UI_SET_COLUMNS.
    CUserSettingWnd(LocalStore& store, WindowHandle mainWindow, std::function<void()> requestSync);

    QString GetSkinFile() const override { return QStringLiteral("UserSettingWnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELUserSettingWnd"); }

protected:
    std::vector<QString> EnterButtons() const override;
    std::vector<QString> EscapeButtons() const override;
    bool OpensOnFirstField() const override { return true; }
    void Notify(const QString& type, QWidget* sender) override;

private:
    void Fill();
    void Save();
    bool Checked(const char* name) const;
    void SetChecked(const char* name, bool checked);

    LocalStore& store_;
    WindowHandle mainWindow_;
    std::function<void()> requestSync_;
};

}  // namespace kivtal
