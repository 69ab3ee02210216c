#pragma once
// The controls the settings window looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace user_setting {
inline constexpr LayoutControl kShowCompany{"company_ctl", "QAbstractButton"};
inline constexpr LayoutControl kShowEmail{"email_ctl", "QAbstractButton"};
inline constexpr LayoutControl kShowObj{"obj_ctl", "QAbstractButton"};
inline constexpr LayoutControl kShowGroup{"group_ctl", "QAbstractButton"};
inline constexpr LayoutControl kAutoBegin{"auto_begin", "QAbstractButton"};
inline constexpr LayoutControl kMinimiseOnClose{"min_intr", "QAbstractButton"};
inline constexpr LayoutControl kBirthdayDays{"birthday_days", "QSpinBox"};
inline constexpr LayoutControl kSave{"Save_button", "QAbstractButton"};
inline constexpr LayoutControl kCancel{"Cancel_Button", "QAbstractButton"};
inline constexpr LayoutControl kBtnMin{"btn_min", "QAbstractButton"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QAbstractButton"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kShowCompany, kShowEmail, kShowObj, kShowGroup, kAutoBegin, kMinimiseOnClose, kBirthdayDays, kSave, kCancel,
    kBtnMin, kBtnClose};
// clang-format on
}  // namespace user_setting
inline constexpr LayoutControls kUserSettingControls{"UserSettingWnd.xml", user_setting::kAll};

}  // namespace kivtal
