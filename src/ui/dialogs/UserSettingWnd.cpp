#include "ui/dialogs/UserSettingWnd.h"

#include <QAbstractButton>
#include <QSpinBox>

#include "ui/toolkit/AutoRun.h"
#include "store/AccountStore.h"
#include "store/BirthdayNotices.h"
#include "ui/dialogs/UserSettingWndControls.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowRegistry.h"

namespace kivtal {
namespace {

// The name and the cell-phone column are always shown: no control offers them.
constexpr int kAlwaysShown = 3;

struct ColumnOption {
    const char* control;
    int bit;
};

constexpr ColumnOption kColumnOptions[] = {
    {user_setting::kShowCompany.name, UserSettings::kShowCompany},
    {user_setting::kShowEmail.name, UserSettings::kShowEmail},
    {user_setting::kShowObj.name, UserSettings::kShowObj},
    {user_setting::kShowGroup.name, UserSettings::kShowGroup},
};

}  // namespace

CUserSettingWnd::CUserSettingWnd(LocalStore& store, WindowHandle mainWindow, std::function<void()> requestSync)
    : store_(store), mainWindow_(mainWindow), requestSync_(std::move(requestSync)) {}

bool CUserSettingWnd::Checked(const char* name) const {
    const auto* option = FindControl<QAbstractButton>(name);
    return option && option->isChecked();
}

void CUserSettingWnd::SetChecked(const char* name, bool checked) {
    if (auto* option = FindControl<QAbstractButton>(name)) {
        option->setEnabled(true);
        option->setChecked(checked);
    }
}

void CUserSettingWnd::Fill() {
    UserSettings settings;  // a failed read leaves these defaults shown
    AccountStore(store_).ReadSettings(settings);
    for (const ColumnOption& c : kColumnOptions) SetChecked(c.control, (settings.coloumn_show & c.bit) != 0);
    SetChecked(user_setting::kAutoBegin.name, settings.auto_run == 1);
    SetChecked(user_setting::kMinimiseOnClose.name, settings.exit_ways == 0);
    int days = kDefaultBirthdayNoticeDays;  // this device's own: it never syncs
    ReadBirthdayNoticeDays(store_, days);
    if (auto* spin = FindControl<QSpinBox>(user_setting::kBirthdayDays)) spin->setValue(days);
}

void CUserSettingWnd::Save() {
    UserSettings settings;
    AccountStore account(store_);
    account.ReadSettings(settings);
    settings.coloumn_show = kAlwaysShown;
    for (const ColumnOption& c : kColumnOptions)
        if (Checked(c.control)) settings.coloumn_show |= c.bit;
    if (Checked(user_setting::kAutoBegin.name)) {
        settings.auto_run = 1;
        SetAutoRun(ProgramPath());
    } else {
        ClearAutoRun();
        settings.auto_run = 0;
    }
    settings.exit_ways = Checked(user_setting::kMinimiseOnClose.name) ? 0 : 1;
    // Without its row (the service gives each device one at its first sync) an update
    // would change nothing and still report success: say so instead of pretending.
    const auto* days = FindControl<QSpinBox>(user_setting::kBirthdayDays);
    const bool daysStored = !days || SaveBirthdayNoticeDays(store_, days->value()) == 0;
    const bool stored = settings.s_id != 0 && account.ModifySettings(settings) == 0 && daysStored;
    if (stored && requestSync_) requestSync_();
    if (!stored) ShowTalMsgBox(QStringLiteral("温馨提示"), this, QStringLiteral("保存数据失败"));
    // The main window takes the mask whatever the write's outcome.
    WindowRegistry::Post(mainWindow_, WM_UI_SET_COLUMNS, settings.coloumn_show, 0);
    Close(1);
}

void CUserSettingWnd::Notify(const QString& type, QWidget* sender) {
    if (type == u"windowinit") {
        Fill();
        return;
    }
    if (type != u"click") return;
    const QString name = ControlName(sender);
    if (name == user_setting::kBtnMin) showMinimized();
    else if (name == user_setting::kBtnClose || name == user_setting::kCancel) Close(1);
    else if (name == user_setting::kSave) Save();
}

std::vector<QString> CUserSettingWnd::EnterButtons() const { return {user_setting::kSave.name}; }

std::vector<QString> CUserSettingWnd::EscapeButtons() const {
    return {user_setting::kCancel.name, user_setting::kBtnClose.name};
}

}  // namespace kivtal
