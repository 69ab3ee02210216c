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
#include "ui/dialogs/LoginWndControls.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/HomePageControls.h"
#include "ui/main/MattersPaneControls.h"
#include "ui/main/MenuWndControls.h"
#include "ui/toolkit/NoticeBoxControls.h"
#include "ui/toolkit/TalMsgBoxControls.h"
#include "ui/toolkit/SkinLoader.h"

namespace kivtal {
namespace {

// Every window's table of the controls its code uses.
const LayoutControls kWindows[] = {
    kTalMessageBoxControls, kKivMessageBoxControls, kLoginMsgBoxControls,
    kLoginWndControls, kHomePageControls, kContactsPaneControls,
    kMattersPaneControls, kMenuControls, kUserMenuControls,
    kSortMenuControls, kSettingMenuControls};

// Controls of windows that have no table of their own yet.
struct ControlCase {
    const char* layout;
    const char* name;
    const char* kind;  // class the control must be or derive from
};

const ControlCase kControls[] = {
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
    {"AddConnection.xml", "KivMCamera", "kivtal::CCameraUI"},
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
                                  "LoginWnd.xml", "HomePage.xml", "AddMatter.xml", "menu.xml", "UserMenu.xml",
                                  "SettingMenu.xml", "sortcombo.xml", "changeGroup.xml", "UserSettingWnd.xml",
                                  "SystemMsgWnd.xml", "AddConnection.xml", "AddConnectionBusiness.xml",
                                  "AddConnectionLife.xml", "AddConnectionRelations.xml", "UserInfoEditWnd.xml"})
        EXPECT_TRUE(layouts.contains(required)) << required;
    for (const QString& layout : layouts) {
        SkinLoader loader(nullptr);
        std::unique_ptr<QWidget> root(loader.LoadLayout(layout, nullptr));
        EXPECT_NE(root, nullptr) << layout.toStdString() << ": " << loader.errorString().toStdString();
    }
}

TEST(SkinLayouts, EveryControlTheCodeUsesExistsWithItsKind) {
    for (const LayoutControls& window : kWindows) {
        const std::unique_ptr<QWidget> root = Load(window.layout);
        ASSERT_NE(root, nullptr) << window.layout;
        for (const LayoutControl& c : window.controls) {
            SCOPED_TRACE(std::string(window.layout) + " / " + c.name);
            const QList<QWidget*> found = root->findChildren<QWidget*>(c.name);
            ASSERT_EQ(found.size(), 1);
            EXPECT_TRUE(found[0]->inherits(c.kind)) << found[0]->metaObject()->className();
        }
    }
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
    const std::unique_ptr<QWidget> root = Load(kLoginMsgBoxControls.layout);
    ASSERT_NE(root, nullptr);
    auto* gif = root->findChild<GifLabel*>(notice_box::kAnimation.name);
    ASSERT_NE(gif, nullptr);
    ASSERT_GT(gif->FrameCount(), 1);
    const int first = gif->CurrentFrame();
    gif->NextFrame();
    EXPECT_EQ(gif->CurrentFrame(), (first + 1) % gif->FrameCount());
}

}  // namespace
}  // namespace kivtal
