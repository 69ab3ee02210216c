#pragma once
// The controls of the main window that the contacts pane looks up.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace contacts_pane {
// The pane's part of the layout: its page, then its side in the left column.
inline constexpr LayoutControl kPage{"userList_page", "QWidget"};
inline constexpr LayoutControl kSide{"myplan_page", "QWidget"};
inline constexpr LayoutControl kPart[] = {kPage, kSide};

inline constexpr LayoutControl kGroupList{"table_list", "QListWidget"};
inline constexpr LayoutControl kContactList{"user_list", "kivtal::ListKiv"};
inline constexpr LayoutControl kHeader{"user_title_page", "QWidget"};
inline constexpr LayoutControl kGroupEmpty{"group_empty", "QLabel"};
inline constexpr LayoutControl kContactsEmpty{"user_empty", "QLabel"};
inline constexpr LayoutControl kLetterBar{"sort_btn_layout", "QWidget"};
inline constexpr LayoutControl kSearchTip{"search_tip", "QAbstractButton"};
inline constexpr LayoutControl kSearchEdit{"search_edit", "QLineEdit"};
inline constexpr LayoutControl kSearchButton{"searchbtn", "QAbstractButton"};
inline constexpr LayoutControl kSortButton{"sort_user", "QAbstractButton"};
inline constexpr LayoutControl kSettingsButton{"btn_set", "QAbstractButton"};
inline constexpr LayoutControl kAddGroup{"add_title", "QAbstractButton"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kPage, kSide, kGroupList, kContactList, kHeader, kGroupEmpty, kContactsEmpty, kLetterBar, kSearchTip, kSearchEdit, kSearchButton,
    kSortButton, kSettingsButton, kAddGroup};
// clang-format on
}  // namespace contacts_pane
inline constexpr LayoutControls kContactsPaneControls{"HomePage.xml", contacts_pane::kAll};

// The parts of a contact group's row, made in code.
namespace group_row {
inline constexpr LayoutControl kLabel{"group_label", "QLabel"};
inline constexpr LayoutControl kRename{"group_rename", "QPushButton"};
inline constexpr LayoutControl kDelete{"group_delete", "QPushButton"};
inline constexpr LayoutControl kEdit{"group_edit", "QLineEdit"};
inline constexpr LayoutControl kEditOk{"group_edit_ok", "QPushButton"};
inline constexpr LayoutControl kEditCancel{"grou_edit_delete", "QPushButton"};
}  // namespace group_row

}  // namespace kivtal
