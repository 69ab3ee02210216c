#pragma once
// The items of the tray menu that the main window answers.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace menu_wnd {
inline constexpr LayoutControl kExit{"menu_exit", "QAbstractButton"};
inline constexpr LayoutControl kRegist{"menu_regist", "QAbstractButton"};
inline constexpr LayoutControl kRecharge{"menu_recharge", "QAbstractButton"};

inline constexpr LayoutControl kAll[] = {kExit, kRegist, kRecharge};
}  // namespace menu_wnd
inline constexpr LayoutControls kMenuControls{"menu.xml", menu_wnd::kAll};

}  // namespace kivtal
