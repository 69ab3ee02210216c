#pragma once
// The editors' scenes for kivtal-screens: the contact editor new and on each page of
// a filled contact, on a second copy of it (Clash), its scanner choice and a field-rule
// message; the profile editor's view and form.
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "store/StorePaths.h"
#include "text/FieldRules.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/AddConnectionDlgControls.h"
#include "ui/editors/BankRows.h"
#include "ui/editors/UserInforEditWnd.h"
#include "ui/editors/UserInforEditWndControls.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal::screens {

enum class ContactEditorScene { New, Base, Business, Life, Relations, Clash, Scanner, RuleMessage };

inline LocalStore& EditorStore() {
    static QTemporaryDir dir;
    static LocalStore store(StorePaths{dir.path().toStdString() + "/user/", DefaultRefDbPath()});
    static const bool filled = [&] {
        store.EnsureUserDb("demo");
        ContactStore contacts(store);
        for (const char* name : {"同事", "客户", "朋友"}) {
            CardGroup g;
            g.group_name = name;
            contacts.AddGroup(g);
        }
        return true;
    }();
    (void)filled;
    return store;
}

// A contact with every page filled: the screenshots' contact, and the tests' too.
inline BusinessCard DemoContact() {
    BusinessCard c;
    c.bc_name = "李明";
    c.cell_phone = "13812345678";
    c.qq = "123456";
    c.mail = "liming@example.com";
    c.company_name = "上海远景贸易有限公司";
    c.web_site = "www.example.com";
    c.addr_c_detail = "上海市浦东新区世纪大道100号";
    c.group_id = 2;
    c.bc_comment = "展会上认识，对物流合作有兴趣";
    c.position = "采购经理";
    c.main_business = "外贸[pig]物流[pig]仓储[pig]";
    c.business_id = 51;
    c.job_category_id = 3;
    c.fix_phone = "021-55556666";
    c.fax = "021-55556667";
    c.birthday_type = 2;
    c.birthday = "2001--4-05";
    c.addr_f_detail = "上海市徐汇区";
    c.home_phone = "021-66667777";
    c.hobby = "读书[pig]旅游[pig]";
    c.belief = "佛教[pig]";
    c.habit = "早起[pig]";
    c.favor_food = "川菜[pig]";
    c.relate_contacts = "张三[gx]同学[pig]王芳[gx]同事[pig]";
    c.how_to_konw = "2019年广交会";
    for (const char* bank : {"中国银行", "招商银行"}) {
        UserBankInfo a;
        a.bank_name = bank;
        a.ubank_branch = "上海分行";
        a.ubank_subbranch = "陆家嘴支行";
        a.ubank_user = "李明";
        a.ubank_card = "6222020000000001";
        c.bank_accounts.push_back(a);
    }
    return c;
}

inline int DemoContactId() {
    static const int id = [] {
        BusinessCard c = DemoContact();
        ContactStore(EditorStore()).AddContact(c);
        return c.bc_id;
    }();
    return id;
}

// A second copy of the contact: the one kivtal-screens gives clashes with another
// device's edits.
inline int SecondContactId() {
    static const int id = [] {
        BusinessCard c = DemoContact();
        c.bc_name = "周八";
        ContactStore(EditorStore()).AddContact(c);
        return c.bc_id;
    }();
    return id;
}

inline int SceneContactId(ContactEditorScene scene) {
    switch (scene) {
        case ContactEditorScene::New:
        case ContactEditorScene::Scanner:
        case ContactEditorScene::RuleMessage: return 0;
        case ContactEditorScene::Clash: return SecondContactId();
        default: return DemoContactId();
    }
}

inline std::vector<QWidget*> ShowContactEditor(ContactEditorScene scene, const std::function<void()>& settle) {
    CAddConnectionDlg* dlg = CAddConnectionDlg::Open(EditorStore(), nullptr, SceneContactId(scene), 2);
    dlg->SetNetworkProbe([] { return true; });
    dlg->move(40, 40);
    dlg->ShowWindow(true);
    settle();
    std::vector<QWidget*> windows{dlg};
    switch (scene) {
        case ContactEditorScene::Business: dlg->OpenPage(kBusinessPage); break;
        case ContactEditorScene::Life: dlg->OpenPage(kLifePage); break;
        case ContactEditorScene::Relations: dlg->OpenPage(kRelationsPage); break;
        case ContactEditorScene::Scanner:
            if (QWidget* sec = dlg->FindControl(add_connection::kAddBySec)) QMetaObject::invokeMethod(sec, "click");
            break;
        case ContactEditorScene::RuleMessage: {
            const RuleMessage message = CheckContactName(u"张三😀").message.value_or(RuleMessage{});
            auto* box =
                new CTalMsgBox(QString::fromStdString(message.title), QString::fromStdString(message.text), 0, 0);
            box->Create(dlg, QStringLiteral("温馨提示"));
            box->CenterWindow();
            box->ShowWindow();
            windows.push_back(box);
            break;
        }
        default: break;
    }
    settle();
    return windows;
}

enum class ProfileScene { View, Form, Certified };

inline std::vector<QWidget*> ShowProfileEditor(ProfileScene scene, const std::function<void()>& settle) {
    UserInfo profile;
    profile.username = "张晓明";
    profile.cell_phone = "13812345678";
    profile.company1 = "远景贸易";
    profile.job_position1 = "销售总监";
    profile.business1_id = 51;
    profile.job_category1_id = 2;
    profile.area_id = 440106;
    profile.mail = "zhang@example.com";
    profile.address = "天河路100号";
    profile.birthday_type = 1;
    profile.birthday = "1980-06-18";
    profile.certification = scene == ProfileScene::Certified ? 1 : 0;
    auto* wnd = new CUserInforEditWnd(EditorStore(), profile);
    wnd->Create(nullptr, QStringLiteral("个人资料修改"));
    wnd->move(40, 40);
    wnd->ShowWindow(true);
    settle();
    if (scene != ProfileScene::View)
        if (QWidget* edit = wnd->FindControl(user_info_edit::kEdit)) QMetaObject::invokeMethod(edit, "click");
    settle();
    return {wnd};
}

}  // namespace kivtal::screens
