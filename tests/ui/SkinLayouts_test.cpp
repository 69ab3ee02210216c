// Every layout of the skin loads, and every control name the code looks up exists
// with the kind the code expects: a missing name is found here, not by a user.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <memory>

#include "ui/controls/GifLabel.h"
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
    {"HomePage.xml", "user_list", "QListWidget"},
    {"HomePage.xml", "matter_group_list", "QListWidget"},
    {"HomePage.xml", "user_empty", "QLabel"},
    {"HomePage.xml", "matter_empty", "QWidget"},
    {"menu.xml", "menu_exit", "QAbstractButton"},
    {"menu.xml", "menu_regist", "QAbstractButton"},
    {"UserInfoEditWnd.xml", "title", "QLabel"},
    {"UserInfoEditWnd.xml", "show_name", "QLabel"},
    {"UserInfoEditWnd.xml", "show_phone", "QLabel"},
    {"UserInfoEditWnd.xml", "show_company", "QLabel"},
    {"UserInfoEditWnd.xml", "show_job", "QLabel"},
    {"UserInfoEditWnd.xml", "show_mail", "QLabel"},
    {"UserInfoEditWnd.xml", "show_address", "QLabel"},
    {"UserInfoEditWnd.xml", "show_birthday", "QLabel"},
    {"UserInfoEditWnd.xml", "btn_close", "QAbstractButton"},
    {"UserInfoEditWnd.xml", "Save_button", "QAbstractButton"},
    {"UserInfoEditWnd.xml", "cancel_button", "QAbstractButton"},
    {"UserInfoEditWnd.xml", "edit_btn", "QAbstractButton"},
    {"UserInfoEditWnd.xml", "option_mr", "QAbstractButton"},
    {"UserInfoEditWnd.xml", "option_miss", "QAbstractButton"},
    {"UserInfoEditWnd.xml", "remind_btn", "QAbstractButton"},
    {"UserInfoEditWnd.xml", "show_page", "QWidget"},
    {"UserInfoEditWnd.xml", "edit_page", "QWidget"},
    {"UserInfoEditWnd.xml", "tip_layout", "QWidget"},
    {"UserInfoEditWnd.xml", "user_name_edit", "kivtal::FindEdit"},
    {"UserInfoEditWnd.xml", "user_phone", "kivtal::FindEdit"},
    {"UserInfoEditWnd.xml", "company_edit", "kivtal::FindEdit"},
    {"UserInfoEditWnd.xml", "job_edit", "kivtal::FindEdit"},
    {"UserInfoEditWnd.xml", "email_edit", "kivtal::FindEdit"},
    {"UserInfoEditWnd.xml", "home_phone", "kivtal::FindEdit"},
    {"UserInfoEditWnd.xml", "fax_phone", "kivtal::FindEdit"},
    {"UserInfoEditWnd.xml", "adress_edit", "kivtal::FindEdit"},
    {"UserInfoEditWnd.xml", "trade_in", "kivtal::TradeCombo"},
    {"UserInfoEditWnd.xml", "trade_zhineng", "kivtal::ComboKiv"},
    {"UserInfoEditWnd.xml", "remind_combo", "kivtal::ComboKiv"},
    {"UserInfoEditWnd.xml", "combo_year", "kivtal::ComboKiv"},
    {"UserInfoEditWnd.xml", "combo_month", "kivtal::ComboKiv"},
    {"UserInfoEditWnd.xml", "combo_day", "kivtal::ComboKiv"},
    {"UserInfoEditWnd.xml", "country_combo", "kivtal::ComboKiv"},
    {"UserInfoEditWnd.xml", "province_combo", "kivtal::ComboKiv"},
    {"UserInfoEditWnd.xml", "area_combo", "kivtal::ComboKiv"},
    {"AddConnection.xml", "title", "QLabel"},
    {"AddConnection.xml", "btn_close", "QAbstractButton"},
    {"AddConnection.xml", "cancel", "QAbstractButton"},
    {"AddConnection.xml", "next", "QAbstractButton"},
    {"AddConnection.xml", "base", "QAbstractButton"},
    {"AddConnection.xml", "business", "QAbstractButton"},
    {"AddConnection.xml", "lift", "QAbstractButton"},
    {"AddConnection.xml", "connection", "QAbstractButton"},
    {"AddConnection.xml", "AddByUser", "QAbstractButton"},
    {"AddConnection.xml", "AddBySEC", "QAbstractButton"},
    {"AddConnection.xml", "mr_option", "QAbstractButton"},
    {"AddConnection.xml", "miss_opotion", "QAbstractButton"},
    {"AddConnectionBusiness.xml", "add_main_business", "QAbstractButton"},
    {"AddConnectionBusiness.xml", "add_bank", "QAbstractButton"},
    {"AddConnectionLife.xml", "add_intration", "QAbstractButton"},
    {"AddConnectionLife.xml", "add_belief", "QAbstractButton"},
    {"AddConnectionLife.xml", "add_Habits", "QAbstractButton"},
    {"AddConnectionLife.xml", "add_food_like", "QAbstractButton"},
    {"AddConnectionRelations.xml", "add_relevance", "QAbstractButton"},
    {"AddConnection.xml", "base_message_Layout", "QWidget"},
    {"AddConnection.xml", "business_message_Layout", "QWidget"},
    {"AddConnection.xml", "lift_message", "QWidget"},
    {"AddConnection.xml", "connection_message", "QWidget"},
    {"AddConnection.xml", "user_page", "QWidget"},
    {"AddConnection.xml", "sec_page", "QWidget"},
    {"AddConnection.xml", "frist_page", "QWidget"},
    {"AddConnection.xml", "sec_info_page", "QWidget"},
    {"AddConnection.xml", "camera_page", "QWidget"},
    {"AddConnection.xml", "KivMCamera", "QWidget"},
    {"AddConnection.xml", "remark_edit_bk", "QWidget"},
    {"AddConnection.xml", "page_scroll", "QWidget"},
    {"AddConnectionBusiness.xml", "main_sail", "QWidget"},
    {"AddConnectionBusiness.xml", "bank_page", "QWidget"},
    {"AddConnectionLife.xml", "intration_layou", "QWidget"},
    {"AddConnectionLife.xml", "xingyang_page", "QWidget"},
    {"AddConnectionLife.xml", "left_layoput", "QWidget"},
    {"AddConnectionLife.xml", "food_like", "QWidget"},
    {"AddConnectionRelations.xml", "relevance_page", "QWidget"},
    {"AddConnection.xml", "connect_device", "QAbstractButton"},
    {"AddConnection.xml", "begin_device", "QAbstractButton"},
    {"AddConnection.xml", "base_name_edit", "kivtal::FindEdit"},
    {"AddConnection.xml", "base_phone_edit", "kivtal::FindEdit"},
    {"AddConnection.xml", "base_qq_edit", "kivtal::FindEdit"},
    {"AddConnection.xml", "base_email_edit", "kivtal::FindEdit"},
    {"AddConnection.xml", "base_company_edit", "kivtal::FindEdit"},
    {"AddConnection.xml", "base_net_edit", "kivtal::FindEdit"},
    {"AddConnection.xml", "base_com_address_edit", "kivtal::FindEdit"},
    {"AddConnectionBusiness.xml", "business_object_edit", "kivtal::FindEdit"},
    {"AddConnectionBusiness.xml", "business_fix_phone", "kivtal::FindEdit"},
    {"AddConnectionBusiness.xml", "business_fax_edit", "kivtal::FindEdit"},
    {"AddConnectionLife.xml", "life_Address", "kivtal::FindEdit"},
    {"AddConnectionLife.xml", "life_phone", "kivtal::FindEdit"},
    {"AddConnection.xml", "group_combo", "kivtal::GroupCombo"},
    {"AddConnectionBusiness.xml", "trade_in", "kivtal::TradeCombo"},
    {"AddConnectionBusiness.xml", "trade_zhineng", "kivtal::ComboKiv"},
    {"AddConnectionLife.xml", "birthday_type", "kivtal::ComboKiv"},
    {"AddConnectionLife.xml", "combo_year", "kivtal::ComboKiv"},
    {"AddConnectionLife.xml", "combo_month", "kivtal::ComboKiv"},
    {"AddConnectionLife.xml", "combo_day", "kivtal::ComboKiv"},
    {"AddConnection.xml", "country_combo", "kivtal::ComboKiv"},
    {"AddConnection.xml", "province_combo", "kivtal::ComboKiv"},
    {"AddConnection.xml", "area_combo", "kivtal::ComboKiv"},
    {"AddConnection.xml", "remark_edit", "QTextEdit"},
    {"AddConnectionRelations.xml", "howtoknow_control", "QTextEdit"},
};

std::unique_ptr<QWidget> Load(const QString& layout) {
    SkinLoader loader(nullptr);
    return std::unique_ptr<QWidget>(loader.LoadLayout(layout, nullptr));
}

TEST(SkinLayouts, EveryLayoutLoads) {
    const QStringList layouts = QDir(":/skin").entryList({"*.xml"}, QDir::Files);
    for (const char* required : {"TalMessageBox.xml", "KivMessageBox.xml", "LoginMsgBox.xml", "MaskWnd.xml",
                                 "LoginWnd.xml", "HomePage.xml", "menu.xml", "AddConnection.xml",
                                 "AddConnectionBusiness.xml", "AddConnectionLife.xml", "AddConnectionRelations.xml",
                                 "UserInfoEditWnd.xml"})
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
