#pragma once
// The controls the contact editor looks up in its layout and in the layouts of its
// business, life and relations pages.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace add_connection {
inline constexpr LayoutControl kTitle{"title", "QLabel"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QAbstractButton"};
inline constexpr LayoutControl kCancel{"cancel", "QAbstractButton"};
inline constexpr LayoutControl kNext{"next", "QAbstractButton"};
inline constexpr LayoutControl kBaseTab{"base", "QAbstractButton"};
inline constexpr LayoutControl kBusinessTab{"business", "QAbstractButton"};
inline constexpr LayoutControl kLifeTab{"lift", "QAbstractButton"};
inline constexpr LayoutControl kRelationsTab{"connection", "QAbstractButton"};
inline constexpr LayoutControl kAddByUser{"AddByUser", "QAbstractButton"};
inline constexpr LayoutControl kAddBySec{"AddBySEC", "QAbstractButton"};
inline constexpr LayoutControl kMrOption{"mr_option", "QAbstractButton"};
inline constexpr LayoutControl kMissOption{"miss_opotion", "QAbstractButton"};
inline constexpr LayoutControl kBasePage{"base_message_Layout", "QWidget"};
inline constexpr LayoutControl kBusinessPage{"business_message_Layout", "QWidget"};
inline constexpr LayoutControl kLifePage{"lift_message", "QWidget"};
inline constexpr LayoutControl kRelationsPage{"connection_message", "QWidget"};
inline constexpr LayoutControl kUserPage{"user_page", "QWidget"};
inline constexpr LayoutControl kSecPage{"sec_page", "QWidget"};
inline constexpr LayoutControl kFirstPage{"frist_page", "QWidget"};
inline constexpr LayoutControl kSecInfoPage{"sec_info_page", "QWidget"};
inline constexpr LayoutControl kCameraPage{"camera_page", "QWidget"};
inline constexpr LayoutControl kCamera{"KivMCamera", "kivtal::CCameraUI"};
inline constexpr LayoutControl kRemarkBackground{"remark_edit_bk", "QWidget"};
inline constexpr LayoutControl kPageScroll{"page_scroll", "QScrollArea"};
inline constexpr LayoutControl kConnectDevice{"connect_device", "QAbstractButton"};
inline constexpr LayoutControl kBeginDevice{"begin_device", "QAbstractButton"};
inline constexpr LayoutControl kNameEdit{"base_name_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kPhoneEdit{"base_phone_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kQqEdit{"base_qq_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kEmailEdit{"base_email_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kCompanyEdit{"base_company_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kWebEdit{"base_net_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kCompanyAddressEdit{"base_com_address_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kGroupCombo{"group_combo", "kivtal::GroupCombo"};
inline constexpr LayoutControl kCountryCombo{"country_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kProvinceCombo{"province_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kAreaCombo{"area_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kRemarkEdit{"remark_edit", "QTextEdit"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kTitle, kBtnClose, kCancel, kNext, kBaseTab, kBusinessTab, kLifeTab, kRelationsTab, kAddByUser, kAddBySec,
    kMrOption, kMissOption, kBasePage, kBusinessPage, kLifePage, kRelationsPage, kUserPage, kSecPage, kFirstPage,
    kSecInfoPage, kCameraPage, kCamera, kRemarkBackground, kPageScroll, kConnectDevice, kBeginDevice, kNameEdit,
    kPhoneEdit, kQqEdit, kEmailEdit, kCompanyEdit, kWebEdit, kCompanyAddressEdit, kGroupCombo, kCountryCombo,
    kProvinceCombo, kAreaCombo, kRemarkEdit};
// clang-format on
}  // namespace add_connection
inline constexpr LayoutControls kAddConnectionControls{"AddConnection.xml", add_connection::kAll};

namespace add_connection_business {
inline constexpr LayoutControl kMainBusiness{"main_sail", "QWidget"};
inline constexpr LayoutControl kAddMainBusiness{"add_main_business", "QAbstractButton"};
inline constexpr LayoutControl kBanks{"bank_page", "QWidget"};
inline constexpr LayoutControl kAddBank{"add_bank", "QAbstractButton"};
inline constexpr LayoutControl kPositionEdit{"business_object_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kFixPhoneEdit{"business_fix_phone", "kivtal::FindEdit"};
inline constexpr LayoutControl kFaxEdit{"business_fax_edit", "kivtal::FindEdit"};
inline constexpr LayoutControl kTradeCombo{"trade_in", "kivtal::TradeCombo"};
inline constexpr LayoutControl kJobCombo{"trade_zhineng", "kivtal::ComboKiv"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kMainBusiness, kAddMainBusiness, kBanks, kAddBank, kPositionEdit, kFixPhoneEdit, kFaxEdit, kTradeCombo, kJobCombo};
// clang-format on
}  // namespace add_connection_business
inline constexpr LayoutControls kAddConnectionBusinessControls{"AddConnectionBusiness.xml",
                                                               add_connection_business::kAll};

namespace add_connection_life {
inline constexpr LayoutControl kHobbies{"intration_layou", "QWidget"};
inline constexpr LayoutControl kAddHobby{"add_intration", "QAbstractButton"};
inline constexpr LayoutControl kBeliefs{"xingyang_page", "QWidget"};
inline constexpr LayoutControl kAddBelief{"add_belief", "QAbstractButton"};
inline constexpr LayoutControl kHabits{"left_layoput", "QWidget"};
inline constexpr LayoutControl kAddHabit{"add_Habits", "QAbstractButton"};
inline constexpr LayoutControl kFoods{"food_like", "QWidget"};
inline constexpr LayoutControl kAddFood{"add_food_like", "QAbstractButton"};
inline constexpr LayoutControl kAddressEdit{"life_Address", "kivtal::FindEdit"};
inline constexpr LayoutControl kPhoneEdit{"life_phone", "kivtal::FindEdit"};
inline constexpr LayoutControl kBirthdayType{"birthday_type", "kivtal::ComboKiv"};
inline constexpr LayoutControl kYearCombo{"combo_year", "kivtal::ComboKiv"};
inline constexpr LayoutControl kMonthCombo{"combo_month", "kivtal::ComboKiv"};
inline constexpr LayoutControl kDayCombo{"combo_day", "kivtal::ComboKiv"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kHobbies, kAddHobby, kBeliefs, kAddBelief, kHabits, kAddHabit, kFoods, kAddFood, kAddressEdit, kPhoneEdit,
    kBirthdayType, kYearCombo, kMonthCombo, kDayCombo};
// clang-format on
}  // namespace add_connection_life
inline constexpr LayoutControls kAddConnectionLifeControls{"AddConnectionLife.xml", add_connection_life::kAll};

namespace add_connection_relations {
inline constexpr LayoutControl kRelations{"relevance_page", "QWidget"};
inline constexpr LayoutControl kAddRelation{"add_relevance", "QAbstractButton"};
inline constexpr LayoutControl kHowToKnow{"howtoknow_control", "QTextEdit"};

inline constexpr LayoutControl kAll[] = {kRelations, kAddRelation, kHowToKnow};
}  // namespace add_connection_relations
inline constexpr LayoutControls kAddConnectionRelationsControls{"AddConnectionRelations.xml",
                                                                add_connection_relations::kAll};

}  // namespace kivtal
