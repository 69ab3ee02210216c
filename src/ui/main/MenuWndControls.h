#pragma once
// The items of the menus that the main window and its contacts pane answer.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace menu_wnd {
inline constexpr LayoutControl kExit{"menu_exit", "QAbstractButton"};
inline constexpr LayoutControl kRegist{"menu_regist", "QAbstractButton"};
inline constexpr LayoutControl kRecharge{"menu_recharge", "QAbstractButton"};

inline constexpr LayoutControl kAll[] = {kExit, kRegist, kRecharge};
}  // namespace menu_wnd
inline constexpr LayoutControls kMenuControls{"menu.xml", menu_wnd::kAll};

namespace user_menu {
inline constexpr LayoutControl kEdit{"menu_user_edit", "QAbstractButton"};
inline constexpr LayoutControl kMoveGroup{"menu_move_group", "QAbstractButton"};
inline constexpr LayoutControl kDelete{"menu_user_delete", "QAbstractButton"};

inline constexpr LayoutControl kAll[] = {kEdit, kMoveGroup, kDelete};
}  // namespace user_menu
inline constexpr LayoutControls kUserMenuControls{"UserMenu.xml", user_menu::kAll};

namespace sort_menu {
inline constexpr LayoutControl kAToZ{"menu_sort_a2z", "QAbstractButton"};
inline constexpr LayoutControl kZToA{"menu_sort_z2a", "QAbstractButton"};
inline constexpr LayoutControl kNewestFirst{"menu_sort_n2o", "QAbstractButton"};
inline constexpr LayoutControl kOldestFirst{"menu_sort_o2n", "QAbstractButton"};

inline constexpr LayoutControl kAll[] = {kAToZ, kZToA, kNewestFirst, kOldestFirst};
}  // namespace sort_menu
inline constexpr LayoutControls kSortMenuControls{"sortcombo.xml", sort_menu::kAll};

// Its recharge, regist and exit items carry the tray menu's names, so one answer serves both.
namespace setting_menu {
inline constexpr LayoutControl kUserMsg{"menu_usermsg", "QAbstractButton"};
inline constexpr LayoutControl kImportContacts{"menu_import_contacts", "QAbstractButton"};
inline constexpr LayoutControl kExportAll{"menu_export_all", "QAbstractButton"};
inline constexpr LayoutControl kExportGroup{"menu_export_group", "QAbstractButton"};
inline constexpr LayoutControl kFindDuplicates{"menu_find_duplicates", "QAbstractButton"};
inline constexpr LayoutControl kPcSetting{"menu_pcsetting", "QAbstractButton"};
inline constexpr LayoutControl kUserSetting{"menu_userstting", "QAbstractButton"};
inline constexpr LayoutControl kRecharge{"menu_recharge", "QAbstractButton"};
inline constexpr LayoutControl kReport{"menu_report", "QAbstractButton"};
inline constexpr LayoutControl kRegist{"menu_regist", "QAbstractButton"};
inline constexpr LayoutControl kExit{"menu_exit", "QAbstractButton"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kUserMsg, kImportContacts, kExportAll, kExportGroup, kFindDuplicates, kPcSetting, kUserSetting, kRecharge,
    kReport, kRegist, kExit};
// clang-format on
}  // namespace setting_menu
inline constexpr LayoutControls kSettingMenuControls{"SettingMenu.xml", setting_menu::kAll};

}  // namespace kivtal
