#pragma once
// The controls the notice box looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace notice_box {
inline constexpr LayoutControl kTitle{"title_msg", "QLabel"};
inline constexpr LayoutControl kTip{"tip_msg", "QLabel"};
inline constexpr LayoutControl kAnimationRow{"Gif_control", "QWidget"};
inline constexpr LayoutControl kPlainRow{"normal_control", "QWidget"};
inline constexpr LayoutControl kAnimation{"giftabel", "kivtal::GifLabel"};
inline constexpr LayoutControl kClose{"btn_close", "QPushButton"};
inline constexpr LayoutControl kOk{"okbtn", "QPushButton"};

inline constexpr LayoutControl kAll[] = {kTitle, kTip, kAnimationRow, kPlainRow, kAnimation, kClose, kOk};
}  // namespace notice_box
inline constexpr LayoutControls kLoginMsgBoxControls{"LoginMsgBox.xml", notice_box::kAll};

}  // namespace kivtal
