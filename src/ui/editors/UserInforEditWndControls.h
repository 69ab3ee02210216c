#pragma once
// The controls the own-profile editor looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace user_info_edit {
inline constexpr LayoutControl kTitle{"title", "QLabel"};
inline constexpr LayoutControl kShowName{"show_name", "QLabel"};
inline constexpr LayoutControl kShowPhone{"show_phone", "QLabel"};
inline constexpr LayoutControl kShowCompany{"show_company", "QLabel"};
inline constexpr LayoutControl kShowJob{"show_job", "QLabel"};
inline constexpr LayoutControl kShowMail{"show_mail", "QLabel"};
inline constexpr LayoutControl kShowAddress{"show_address", "QLabel"};
inline constexpr LayoutControl kShowBirthday{"show_birthday", "QLabel"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QAbstractButton"};
inline constexpr LayoutControl kSave{"Save_button", "QAbstractButton"};
inline constexpr LayoutControl kCancel{"cancel_button", "QAbstractButton"};
inline constexpr LayoutControl kEdit{"edit_btn", "QAbstractButton"};
inline constexpr LayoutControl kOptionMr{"option_mr", "QAbstractButton"};
inline constexpr LayoutControl kOptionMiss{"option_miss", "QAbstractButton"};
inline constexpr LayoutControl kRemind{"remind_btn", "QAbstractButton"};
inline constexpr LayoutControl kShowPage{"show_page", "QWidget"};
inline constexpr LayoutControl kEditPage{"edit_page", "QWidget"};
inline constexpr LayoutControl kRemindLayout{"tip_layout", "QWidget"};
inline constexpr LayoutControl kNameEdit{"user_name_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kPhoneEdit{"user_phone", "kivtal::FindEdit"};
inline constexpr LayoutControl kCompanyEdit{"company_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kJobEdit{"job_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kEmailEdit{"email_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kHomePhoneEdit{"home_phone", "kivtal::FindEdit"};
inline constexpr LayoutControl kFaxEdit{"fax_phone", "kivtal::FindEdit"};
inline constexpr LayoutControl kAddressEdit{"adress_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kTradeCombo{"trade_in", "kivtal::TradeCombo"};
inline constexpr LayoutControl kJobCombo{"trade_zhineng", "kivtal::ComboKiv"};
inline constexpr LayoutControl kRemindCombo{"remind_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kYearCombo{"combo_year", "kivtal::ComboKiv"};
inline constexpr LayoutControl kMonthCombo{"combo_month", "kivtal::ComboKiv"};
inline constexpr LayoutControl kDayCombo{"combo_day", "kivtal::ComboKiv"};
inline constexpr LayoutControl kCountryCombo{"country_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kProvinceCombo{"province_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kAreaCombo{"area_combo", "kivtal::ComboKiv"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kTitle, kShowName, kShowPhone, kShowCompany, kShowJob, kShowMail, kShowAddress, kShowBirthday, kBtnClose, kSave,
    kCancel, kEdit, kOptionMr, kOptionMiss, kRemind, kShowPage, kEditPage, kRemindLayout, kNameEdit, kPhoneEdit,
    kCompanyEdit, kJobEdit, kEmailEdit, kHomePhoneEdit, kFaxEdit, kAddressEdit, kTradeCombo, kJobCombo, kRemindCombo,
    kYearCombo, kMonthCombo, kDayCombo, kCountryCombo, kProvinceCombo, kAreaCombo};
// clang-format on
}  // namespace user_info_edit
inline constexpr LayoutControls kUserInfoEditControls{"UserInfoEditWnd.xml", user_info_edit::kAll};

}  // namespace kivtal
