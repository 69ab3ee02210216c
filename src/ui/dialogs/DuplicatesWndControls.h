#pragma once
// The controls the duplicates window looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace duplicates_wnd {
inline constexpr LayoutControl kGroups{"dup_groups", "QListWidget"};
inline constexpr LayoutControl kEmpty{"dup_empty", "QLabel"};
inline constexpr LayoutControl kReasons{"dup_reasons", "QLabel"};
inline constexpr LayoutControl kFields{"dup_fields", "QTableWidget"};
inline constexpr LayoutControl kMerge{"dup_merge", "QAbstractButton"};
inline constexpr LayoutControl kIgnore{"dup_ignore", "QAbstractButton"};
inline constexpr LayoutControl kClose{"dup_close", "QAbstractButton"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QAbstractButton"};

inline constexpr LayoutControl kAll[] = {kGroups, kEmpty, kReasons, kFields, kMerge, kIgnore, kClose, kBtnClose};
}  // namespace duplicates_wnd
inline constexpr LayoutControls kDuplicatesControls{"duplicates.xml", duplicates_wnd::kAll};

}  // namespace kivtal
