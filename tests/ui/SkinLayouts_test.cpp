// Every layout of the skin loads, and every control name the code looks up exists
// with the kind the code expects: a missing name is found here, not by a user.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <memory>

#include "ui/controls/GifLabel.h"
#include "ui/controls/ListKiv.h"
#include "ui/toolkit/SkinLoader.h"

namespace kivtal {
namespace {

struct ControlCase {
    const char* layout;
    const char* name;
    const char* kind;  // class the control must be or derive from
};

const ControlCase kControls[] = {
    {"TalMessageBox.xml", "title", "QLabel"},
    {"TalMessageBox.xml", "TalTitle", "QLabel"},
    {"TalMessageBox.xml", "contentre", "QTextEdit"},
    {"TalMessageBox.xml", "IDOKCANCEL", "QWidget"},
    {"TalMessageBox.xml", "IDOK", "QWidget"},
    {"TalMessageBox.xml", "_btn_ok", "QPushButton"},
    {"TalMessageBox.xml", "_btn_cancel", "QPushButton"},
    {"TalMessageBox.xml", "btn_ok", "QPushButton"},
    {"TalMessageBox.xml", "btn_close", "QPushButton"},
    {"KivMessageBox.xml", "title", "QLabel"},
    {"KivMessageBox.xml", "contentre", "QTextEdit"},
    {"KivMessageBox.xml", "okbtn", "QPushButton"},
    {"KivMessageBox.xml", "btn_close", "QPushButton"},
    {"LoginMsgBox.xml", "title_msg", "QLabel"},
    {"LoginMsgBox.xml", "tip_msg", "QLabel"},
    {"LoginMsgBox.xml", "Gif_control", "QWidget"},
    {"LoginMsgBox.xml", "normal_control", "QWidget"},
    {"LoginMsgBox.xml", "giftabel", "kivtal::GifLabel"},
    {"LoginMsgBox.xml", "btn_close", "QPushButton"},
    {"LoginMsgBox.xml", "okbtn", "QPushButton"},
    {"LoginWnd.xml", "input_account", "QLineEdit"},
    {"LoginWnd.xml", "account_show", "QAbstractButton"},
    {"LoginWnd.xml", "input_password", "QLineEdit"},
    {"LoginWnd.xml", "password_show", "QAbstractButton"},
    {"LoginWnd.xml", "account_btn", "kivtal::ComboKiv"},
    {"LoginWnd.xml", "auto_login", "QCheckBox"},
    {"LoginWnd.xml", "login_btn", "QPushButton"},
    {"LoginWnd.xml", "regist_btn", "QPushButton"},
    {"LoginWnd.xml", "find_password", "QPushButton"},
    {"LoginWnd.xml", "btn_min", "QPushButton"},
    {"LoginWnd.xml", "btn_close", "QPushButton"},
    {"LoginWnd.xml", "account_page", "QWidget"},
    {"LoginWnd.xml", "account_pic", "QLabel"},
    {"LoginWnd.xml", "password_page", "QWidget"},
    {"LoginWnd.xml", "password_pic", "QLabel"},
    {"HomePage.xml", "userList_page", "QWidget"},
    {"HomePage.xml", "matter_page", "QWidget"},
    {"HomePage.xml", "btn_cogradient", "kivtal::GifButton"},
    {"HomePage.xml", "msg_tip", "QAbstractButton"},
    {"HomePage.xml", "user_name", "QLabel"},
    {"HomePage.xml", "number_show", "QLabel"},
    {"HomePage.xml", "advert", "QAbstractButton"},
    {"HomePage.xml", "btn_min", "QAbstractButton"},
    {"HomePage.xml", "btn_close", "QAbstractButton"},
    {"HomePage.xml", "logo", "QAbstractButton"},
    {"HomePage.xml", "Feedback", "QAbstractButton"},
    {"HomePage.xml", "startSEC", "QAbstractButton"},
    {"HomePage.xml", "my_connect", "QAbstractButton"},
    {"HomePage.xml", "door_left", "QWidget"},
    {"HomePage.xml", "door_right", "QWidget"},
    {"HomePage.xml", "door_left_button", "QAbstractButton"},
    {"HomePage.xml", "door_right_button", "QAbstractButton"},
    {"HomePage.xml", "wait_plan_label", "QAbstractButton"},
    {"HomePage.xml", "myplan_page", "QWidget"},
    {"HomePage.xml", "matter_group_page", "QWidget"},
    {"HomePage.xml", "add_Connection", "QAbstractButton"},
    {"HomePage.xml", "add_event", "QAbstractButton"},
    {"HomePage.xml", "table_list", "QListWidget"},
    {"HomePage.xml", "user_list", "kivtal::ListKiv"},
    {"HomePage.xml", "user_title_page", "QWidget"},
    {"HomePage.xml", "group_empty", "QLabel"},
    {"HomePage.xml", "sort_btn_layout", "QWidget"},
    {"HomePage.xml", "search_tip", "QAbstractButton"},
    {"HomePage.xml", "search_edit", "QLineEdit"},
    {"HomePage.xml", "searchbtn", "QAbstractButton"},
    {"HomePage.xml", "sort_user", "QAbstractButton"},
    {"HomePage.xml", "btn_set", "QAbstractButton"},
    {"HomePage.xml", "add_title", "QAbstractButton"},
    {"HomePage.xml", "matter_group_list", "QListWidget"},
    {"HomePage.xml", "user_empty", "QLabel"},
    {"HomePage.xml", "matter_empty", "QWidget"},
    {"HomePage.xml", "calendar", "kivtal::CCalendarUI"},
    {"HomePage.xml", "time_base", "kivtal::CTimeBase"},
    {"HomePage.xml", "Add_matter_group", "QAbstractButton"},
    {"HomePage.xml", "Add_Matter_frist", "QAbstractButton"},
    {"HomePage.xml", "today_event", "kivtal::CMultiLineButtonUI"},
    {"HomePage.xml", "tomorrow_event", "kivtal::CMultiLineButtonUI"},
    {"HomePage.xml", "aftertomorrow_event", "kivtal::CMultiLineButtonUI"},
    {"HomePage.xml", "threedayformnow_event", "kivtal::CMultiLineButtonUI"},
    {"HomePage.xml", "delmonth", "QAbstractButton"},
    {"HomePage.xml", "addmonth", "QAbstractButton"},
    {"AddMatter.xml", "title", "QLabel"},
    {"AddMatter.xml", "btn_close", "QAbstractButton"},
    {"AddMatter.xml", "pages", "QStackedWidget"},
    {"AddMatter.xml", "show_page", "QWidget"},
    {"AddMatter.xml", "edit_page", "QWidget"},
    {"AddMatter.xml", "edit_beizhu_page", "QWidget"},
    {"AddMatter.xml", "add_matter_time", "QWidget"},
    {"AddMatter.xml", "matter_show_edit", "QTextEdit"},
    {"AddMatter.xml", "tip_time_show", "QLabel"},
    {"AddMatter.xml", "work_group_show", "QLabel"},
    {"AddMatter.xml", "tip_user_name", "QLabel"},
    {"AddMatter.xml", "tip_time", "QLabel"},
    {"AddMatter.xml", "tip_msg_list", "QListWidget"},
    {"AddMatter.xml", "tip_time_list", "QListWidget"},
    {"AddMatter.xml", "edit_matter_btn", "QAbstractButton"},
    {"AddMatter.xml", "delete_matter_btn", "QAbstractButton"},
    {"AddMatter.xml", "add_beizhu", "QAbstractButton"},
    {"AddMatter.xml", "add_matter_time_btn", "QAbstractButton"},
    {"AddMatter.xml", "edit_matter_edit", "QTextEdit"},
    {"AddMatter.xml", "begin_time", "QDateEdit"},
    {"AddMatter.xml", "end_time", "QDateEdit"},
    {"AddMatter.xml", "matter_group_combo", "kivtal::ComboKiv"},
    {"AddMatter.xml", "top_most", "QAbstractButton"},
    {"AddMatter.xml", "remind_btn", "QAbstractButton"},
    {"AddMatter.xml", "tip_layout", "QWidget"},
    {"AddMatter.xml", "editpage_remind_time", "QDateEdit"},
    {"AddMatter.xml", "editpage_remind_combo", "kivtal::ComboKiv"},
    {"AddMatter.xml", "editpage_min_combo", "kivtal::ComboKiv"},
    {"AddMatter.xml", "editpage_remind_me_btn", "QAbstractButton"},
    {"AddMatter.xml", "remind_other_btn", "QAbstractButton"},
    {"AddMatter.xml", "select_combo", "QTreeWidget"},
    {"AddMatter.xml", "save_edit_page", "QAbstractButton"},
    {"AddMatter.xml", "cancel_edit_page", "QAbstractButton"},
    {"AddMatter.xml", "beizhu_edit", "QTextEdit"},
    {"AddMatter.xml", "save_mask_btn", "QAbstractButton"},
    {"AddMatter.xml", "cacel_mask_btn", "QAbstractButton"},
    {"AddMatter.xml", "add_matter_time_edit", "QTextEdit"},
    {"AddMatter.xml", "matter_time_remind", "QDateEdit"},
    {"AddMatter.xml", "add_remind_combo", "kivtal::ComboKiv"},
    {"AddMatter.xml", "add_min_combo", "kivtal::ComboKiv"},
    {"AddMatter.xml", "add_remind_me_btn", "QAbstractButton"},
    {"AddMatter.xml", "remark_matter_user_combo", "QAbstractButton"},
    {"AddMatter.xml", "matter_user_combo", "QTreeWidget"},
    {"AddMatter.xml", "save_tip_time", "QAbstractButton"},
    {"AddMatter.xml", "cancel_tip_time", "QAbstractButton"},
    {"menu.xml", "menu_exit", "QAbstractButton"},
    {"menu.xml", "menu_regist", "QAbstractButton"},
    {"UserMenu.xml", "menu_user_edit", "QAbstractButton"},
    {"UserMenu.xml", "menu_move_group", "QAbstractButton"},
    {"UserMenu.xml", "menu_user_delete", "QAbstractButton"},
    {"sortcombo.xml", "menu_sort_a2z", "QAbstractButton"},
    {"sortcombo.xml", "menu_sort_z2a", "QAbstractButton"},
    {"sortcombo.xml", "menu_sort_n2o", "QAbstractButton"},
    {"sortcombo.xml", "menu_sort_o2n", "QAbstractButton"},
    {"SettingMenu.xml", "menu_usermsg", "QAbstractButton"},
    {"SettingMenu.xml", "menu_import_contacts", "QAbstractButton"},
    {"SettingMenu.xml", "menu_export_all", "QAbstractButton"},
    {"SettingMenu.xml", "menu_export_group", "QAbstractButton"},
    {"SettingMenu.xml", "menu_pcsetting", "QAbstractButton"},
    {"SettingMenu.xml", "menu_userstting", "QAbstractButton"},
    {"SettingMenu.xml", "menu_recharge", "QAbstractButton"},
    {"SettingMenu.xml", "menu_report", "QAbstractButton"},
    {"SettingMenu.xml", "menu_regist", "QAbstractButton"},
    {"SettingMenu.xml", "menu_exit", "QAbstractButton"},
    {"changeGroup.xml", "group_options", "QWidget"},
    {"changeGroup.xml", "no_group_tip", "QLabel"},
    {"changeGroup.xml", "login_btn", "QAbstractButton"},
    {"changeGroup.xml", "searchbtn", "QAbstractButton"},
    {"changeGroup.xml", "btn_close", "QAbstractButton"},
    {"UserSettingWnd.xml", "company_ctl", "QAbstractButton"},
    {"UserSettingWnd.xml", "email_ctl", "QAbstractButton"},
    {"UserSettingWnd.xml", "obj_ctl", "QAbstractButton"},
    {"UserSettingWnd.xml", "group_ctl", "QAbstractButton"},
    {"UserSettingWnd.xml", "auto_begin", "QAbstractButton"},
    {"UserSettingWnd.xml", "min_intr", "QAbstractButton"},
    {"UserSettingWnd.xml", "Save_button", "QAbstractButton"},
    {"UserSettingWnd.xml", "Cancel_Button", "QAbstractButton"},
    {"UserSettingWnd.xml", "btn_min", "QAbstractButton"},
    {"UserSettingWnd.xml", "btn_close", "QAbstractButton"},
    {"SystemMsgWnd.xml", "main_list", "QListWidget"},
    {"SystemMsgWnd.xml", "news_empty", "QLabel"},
    {"SystemMsgWnd.xml", "list_page", "QWidget"},
    {"SystemMsgWnd.xml", "content_page", "QWidget"},
    {"SystemMsgWnd.xml", "title_text", "QLabel"},
    {"SystemMsgWnd.xml", "title_time", "QLabel"},
    {"SystemMsgWnd.xml", "text_show", "QTextEdit"},
    {"SystemMsgWnd.xml", "pic_show", "QLabel"},
    {"SystemMsgWnd.xml", "back_btn", "QAbstractButton"},
    {"SystemMsgWnd.xml", "btn_min", "QAbstractButton"},
    {"SystemMsgWnd.xml", "btn_close", "QAbstractButton"},
};

std::unique_ptr<QWidget> Load(const QString& layout) {
    SkinLoader loader(nullptr);
    return std::unique_ptr<QWidget>(loader.LoadLayout(layout, nullptr));
}

TEST(SkinLayouts, EveryLayoutLoads) {
    const QStringList layouts = QDir(":/skin").entryList({"*.xml"}, QDir::Files);
    for (const char* required : {"TalMessageBox.xml", "KivMessageBox.xml", "LoginMsgBox.xml", "MaskWnd.xml",
                                  "LoginWnd.xml", "HomePage.xml", "AddMatter.xml", "menu.xml", "UserMenu.xml",
                                  "SettingMenu.xml", "sortcombo.xml", "changeGroup.xml", "UserSettingWnd.xml",
                                  "SystemMsgWnd.xml"})
        EXPECT_TRUE(layouts.contains(required)) << required;
    for (const QString& layout : layouts) {
        SkinLoader loader(nullptr);
        std::unique_ptr<QWidget> root(loader.LoadLayout(layout, nullptr));
        EXPECT_NE(root, nullptr) << layout.toStdString() << ": " << loader.errorString().toStdString();
    }
}

TEST(SkinLayouts, EveryControlTheCodeUsesExistsWithItsKind) {
    for (const ControlCase& c : kControls) {
        SCOPED_TRACE(std::string(c.layout) + " / " + c.name);
        const std::unique_ptr<QWidget> root = Load(c.layout);
        ASSERT_NE(root, nullptr);
        const QList<QWidget*> found = root->findChildren<QWidget*>(c.name);
        ASSERT_EQ(found.size(), 1);
        EXPECT_TRUE(found[0]->inherits(c.kind)) << found[0]->metaObject()->className();
    }
}

TEST(SkinLayouts, TheAnimatedLabelFindsItsFrames) {
    const std::unique_ptr<QWidget> root = Load("LoginMsgBox.xml");
    ASSERT_NE(root, nullptr);
    auto* gif = root->findChild<GifLabel*>("giftabel");
    ASSERT_NE(gif, nullptr);
    ASSERT_GT(gif->FrameCount(), 1);
    const int first = gif->CurrentFrame();
    gif->NextFrame();
    EXPECT_EQ(gif->CurrentFrame(), (first + 1) % gif->FrameCount());
}

}  // namespace
}  // namespace kivtal
