#pragma once
// The controls the news window looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace system_msg {
inline constexpr LayoutControl kList{"main_list", "QListWidget"};
inline constexpr LayoutControl kEmpty{"news_empty", "QLabel"};
inline constexpr LayoutControl kListPage{"list_page", "QWidget"};
inline constexpr LayoutControl kContentPage{"content_page", "QWidget"};
inline constexpr LayoutControl kTitle{"title_text", "QLabel"};
inline constexpr LayoutControl kTime{"title_time", "QLabel"};
inline constexpr LayoutControl kText{"text_show", "QTextEdit"};
inline constexpr LayoutControl kPicture{"pic_show", "QLabel"};
inline constexpr LayoutControl kBack{"back_btn", "QAbstractButton"};
inline constexpr LayoutControl kBtnMin{"btn_min", "QAbstractButton"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QAbstractButton"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kList, kEmpty, kListPage, kContentPage, kTitle, kTime, kText, kPicture, kBack, kBtnMin, kBtnClose};
// clang-format on
}  // namespace system_msg
inline constexpr LayoutControls kSystemMsgControls{"SystemMsgWnd.xml", system_msg::kAll};

}  // namespace kivtal
