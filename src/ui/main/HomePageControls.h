#pragma once
// The controls the main window looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace home_page {
inline constexpr LayoutControl kCaptionBar{"caption_bar", "QWidget"};
inline constexpr LayoutControl kBtnSync{"btn_cogradient", "kivtal::GifButton"};
inline constexpr LayoutControl kMsgTip{"msg_tip", "QAbstractButton"};
inline constexpr LayoutControl kUserName{"user_name", "QLabel"};
inline constexpr LayoutControl kNumberShow{"number_show", "QLabel"};
inline constexpr LayoutControl kAdvert{"advert", "QAbstractButton"};
inline constexpr LayoutControl kBtnMin{"btn_min", "QAbstractButton"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QAbstractButton"};
inline constexpr LayoutControl kLogo{"logo", "QAbstractButton"};
inline constexpr LayoutControl kFeedback{"Feedback", "QAbstractButton"};
inline constexpr LayoutControl kStartSEC{"startSEC", "QAbstractButton"};
inline constexpr LayoutControl kMyConnect{"my_connect", "QAbstractButton"};
inline constexpr LayoutControl kDoorLeft{"door_left", "QWidget"};
inline constexpr LayoutControl kDoorRight{"door_right", "QWidget"};
inline constexpr LayoutControl kDoorLeftButton{"door_left_button", "QAbstractButton"};
inline constexpr LayoutControl kDoorRightButton{"door_right_button", "QAbstractButton"};
inline constexpr LayoutControl kWaitPlanLabel{"wait_plan_label", "QAbstractButton"};
inline constexpr LayoutControl kAddConnection{"add_Connection", "QAbstractButton"};
inline constexpr LayoutControl kAddEvent{"add_event", "QAbstractButton"};
inline constexpr LayoutControl kSetAsideNotice{"set_aside_notice", "QFrame"};
inline constexpr LayoutControl kSetAsideText{"set_aside_text", "QLabel"};
inline constexpr LayoutControl kSetAsideRetry{"set_aside_retry", "QAbstractButton"};
inline constexpr LayoutControl kSetAsideDiscard{"set_aside_discard", "QAbstractButton"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kCaptionBar, kBtnSync, kMsgTip, kUserName, kNumberShow, kAdvert, kBtnMin, kBtnClose,
    kLogo, kFeedback, kStartSEC, kMyConnect, kDoorLeft, kDoorRight, kDoorLeftButton, kDoorRightButton, kWaitPlanLabel,
    kAddConnection, kAddEvent, kSetAsideNotice,
    kSetAsideText, kSetAsideRetry, kSetAsideDiscard};
// clang-format on
}  // namespace home_page
inline constexpr LayoutControls kHomePageControls{"HomePage.xml", home_page::kAll};

}  // namespace kivtal
