#pragma once
// The controls the matter editor looks up in its layout.
#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

namespace add_matter {
inline constexpr LayoutControl kTitle{"title", "QLabel"};
inline constexpr LayoutControl kBtnClose{"btn_close", "QAbstractButton"};
inline constexpr LayoutControl kPages{"pages", "QStackedWidget"};
inline constexpr LayoutControl kShowPage{"show_page", "QWidget"};
inline constexpr LayoutControl kEditPage{"edit_page", "QWidget"};
inline constexpr LayoutControl kRemarkPage{"edit_beizhu_page", "QWidget"};
inline constexpr LayoutControl kReminderPage{"add_matter_time", "QWidget"};
inline constexpr LayoutControl kShowText{"matter_show_edit", "QTextEdit"};
inline constexpr LayoutControl kShowTime{"tip_time_show", "QLabel"};
inline constexpr LayoutControl kShowGroup{"work_group_show", "QLabel"};
inline constexpr LayoutControl kShowRecipients{"tip_user_name", "QLabel"};
inline constexpr LayoutControl kShowReminder{"tip_time", "QLabel"};
inline constexpr LayoutControl kRemarkList{"tip_msg_list", "QListWidget"};
inline constexpr LayoutControl kReminderList{"tip_time_list", "QListWidget"};
inline constexpr LayoutControl kEditMatter{"edit_matter_btn", "QAbstractButton"};
inline constexpr LayoutControl kDeleteMatter{"delete_matter_btn", "QAbstractButton"};
inline constexpr LayoutControl kAddRemark{"add_beizhu", "QAbstractButton"};
inline constexpr LayoutControl kAddReminder{"add_matter_time_btn", "QAbstractButton"};
inline constexpr LayoutControl kMatterEdit{"edit_matter_edit", "QTextEdit"};
inline constexpr LayoutControl kBeginTime{"begin_time", "QDateEdit"};
inline constexpr LayoutControl kEndTime{"end_time", "QDateEdit"};
inline constexpr LayoutControl kGroupCombo{"matter_group_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kTopMost{"top_most", "QAbstractButton"};
inline constexpr LayoutControl kRemind{"remind_btn", "QAbstractButton"};
inline constexpr LayoutControl kRemindLayout{"tip_layout", "QWidget"};
inline constexpr LayoutControl kEditRemindTime{"editpage_remind_time", "QDateEdit"};
inline constexpr LayoutControl kEditRemindCombo{"editpage_remind_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kEditMinuteCombo{"editpage_min_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kEditRemindMe{"editpage_remind_me_btn", "QAbstractButton"};
inline constexpr LayoutControl kRemindOthers{"remind_other_btn", "QAbstractButton"};
inline constexpr LayoutControl kEditRecipients{"select_combo", "QTreeWidget"};
inline constexpr LayoutControl kSaveEdit{"save_edit_page", "QAbstractButton"};
inline constexpr LayoutControl kCancelEdit{"cancel_edit_page", "QAbstractButton"};
inline constexpr LayoutControl kRemarkEdit{"beizhu_edit", "QTextEdit"};
inline constexpr LayoutControl kSaveRemark{"save_mask_btn", "QAbstractButton"};
inline constexpr LayoutControl kCancelRemark{"cacel_mask_btn", "QAbstractButton"};
inline constexpr LayoutControl kReminderEdit{"add_matter_time_edit", "QTextEdit"};
inline constexpr LayoutControl kReminderTime{"matter_time_remind", "QDateEdit"};
inline constexpr LayoutControl kReminderCombo{"add_remind_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kReminderMinuteCombo{"add_min_combo", "kivtal::ComboKiv"};
inline constexpr LayoutControl kReminderRemindMe{"add_remind_me_btn", "QAbstractButton"};
inline constexpr LayoutControl kReminderRemindOthers{"remark_matter_user_combo", "QAbstractButton"};
inline constexpr LayoutControl kReminderRecipients{"matter_user_combo", "QTreeWidget"};
inline constexpr LayoutControl kSaveReminder{"save_tip_time", "QAbstractButton"};
inline constexpr LayoutControl kCancelReminder{"cancel_tip_time", "QAbstractButton"};

// The list is bin-packed by hand: the formatter would put one name a line.
// clang-format off
inline constexpr LayoutControl kAll[] = {
    kTitle, kBtnClose, kPages, kShowPage, kEditPage, kRemarkPage, kReminderPage, kShowText, kShowTime, kShowGroup,
    kShowRecipients, kShowReminder, kRemarkList, kReminderList, kEditMatter, kDeleteMatter, kAddRemark, kAddReminder,
    kMatterEdit, kBeginTime, kEndTime, kGroupCombo, kTopMost, kRemind, kRemindLayout, kEditRemindTime, kEditRemindCombo,
    kEditMinuteCombo, kEditRemindMe, kRemindOthers, kEditRecipients, kSaveEdit, kCancelEdit, kRemarkEdit, kSaveRemark,
    kCancelRemark, kReminderEdit, kReminderTime, kReminderCombo, kReminderMinuteCombo, kReminderRemindMe,
    kReminderRemindOthers, kReminderRecipients, kSaveReminder, kCancelReminder};
// clang-format on
}  // namespace add_matter
inline constexpr LayoutControls kAddMatterControls{"AddMatter.xml", add_matter::kAll};

}  // namespace kivtal
