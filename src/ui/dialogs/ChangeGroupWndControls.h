#pragma once
// The controls the group chooser looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace change_group {
inline constexpr LayoutControl kOptions{"group_options", "QWidget"};
inline constexpr LayoutControl kNoGroupTip{"no_group_tip", "QLabel"};
inline constexpr LayoutControl kOk{"login_btn", "QAbstractButton"};
inline constexpr LayoutControl kCancel{"searchbtn", "QAbstractButton"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QAbstractButton"};
inline constexpr LayoutControl kScroll{"group_scroll", "QScrollArea"};

inline constexpr LayoutControl kAll[] = {kOptions, kNoGroupTip, kOk, kCancel, kBtnClose, kScroll};
}  // namespace change_group
inline constexpr LayoutControls kChangeGroupControls{"changeGroup.xml", change_group::kAll};

}  // namespace kivtal
