#pragma once
// The controls the login window looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace login_wnd {
inline constexpr LayoutControl kInputAccount{"input_account", "QLineEdit"};
inline constexpr LayoutControl kAccountShow{"account_show", "QAbstractButton"};
inline constexpr LayoutControl kInputPassword{"input_password", "QLineEdit"};
inline constexpr LayoutControl kPasswordShow{"password_show", "QAbstractButton"};
inline constexpr LayoutControl kAccountBtn{"account_btn", "kivtal::ComboKiv"};
inline constexpr LayoutControl kAutoLogin{"auto_login", "QCheckBox"};
inline constexpr LayoutControl kLoginBtn{"login_btn", "QPushButton"};
inline constexpr LayoutControl kRegistBtn{"regist_btn", "QPushButton"};
inline constexpr LayoutControl kFindPassword{"find_password", "QPushButton"};
inline constexpr LayoutControl kBtnMin{"btn_min", "QPushButton"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QPushButton"};
inline constexpr LayoutControl kAccountPage{"account_page", "QWidget"};
inline constexpr LayoutControl kAccountPic{"account_pic", "QLabel"};
inline constexpr LayoutControl kPasswordPage{"password_page", "QWidget"};
inline constexpr LayoutControl kPasswordPic{"password_pic", "QLabel"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kInputAccount, kAccountShow, kInputPassword, kPasswordShow, kAccountBtn, kAutoLogin, kLoginBtn, kRegistBtn,
    kFindPassword, kBtnMin, kBtnClose, kAccountPage, kAccountPic, kPasswordPage, kPasswordPic};
// clang-format on
}  // namespace login_wnd
inline constexpr LayoutControls kLoginWndControls{"LoginWnd.xml", login_wnd::kAll};

}  // namespace kivtal
