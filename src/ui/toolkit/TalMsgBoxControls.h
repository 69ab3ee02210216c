#pragma once
// The controls the message boxes look up in their layouts.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace tal_msg_box {
inline constexpr LayoutControl kTitle{"title", "QLabel"};
inline constexpr LayoutControl kStyledTitle{"TalTitle", "QLabel"};
inline constexpr LayoutControl kContent{"contentre", "QTextEdit"};
inline constexpr LayoutControl kOkCancelRow{"IDOKCANCEL", "QWidget"};
inline constexpr LayoutControl kOkRow{"IDOK", "QWidget"};
inline constexpr LayoutControl kOkOfPair{"_btn_ok", "QPushButton"};
inline constexpr LayoutControl kCancelOfPair{"_btn_cancel", "QPushButton"};
inline constexpr LayoutControl kOk{"btn_ok", "QPushButton"};
inline constexpr LayoutControl kClose{"btn_close", "QPushButton"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kTitle, kStyledTitle, kContent, kOkCancelRow, kOkRow, kOkOfPair, kCancelOfPair, kOk, kClose};
// clang-format on
}  // namespace tal_msg_box
inline constexpr LayoutControls kTalMessageBoxControls{"TalMessageBox.xml", tal_msg_box::kAll};

namespace kiv_msg_box {
inline constexpr LayoutControl kTitle{"title", "QLabel"};
inline constexpr LayoutControl kContent{"contentre", "QTextEdit"};
inline constexpr LayoutControl kOk{"okbtn", "QPushButton"};
inline constexpr LayoutControl kClose{"btn_close", "QPushButton"};

inline constexpr LayoutControl kAll[] = {kTitle, kContent, kOk, kClose};
}  // namespace kiv_msg_box
inline constexpr LayoutControls kKivMessageBoxControls{"KivMessageBox.xml", kiv_msg_box::kAll};

}  // namespace kivtal
