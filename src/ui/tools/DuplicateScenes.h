#pragma once
// The duplicates window over a book of its own: people typed or imported twice, written
// differently, and one card stored twice.
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "store/ContactStore.h"
#include "text/NamePinyin.h"
#include "ui/dialogs/DuplicatesWnd.h"
#include "ui/tools/ContactScenes.h"

namespace kivtal::screens {

inline LocalStore& DuplicatesStore() {
    static QTemporaryDir dir;
    static LocalStore store(StorePaths{dir.path().toStdString() + "/user/", "/nonexistent/doz2a_v3.db"});
    static const bool filled = [&] {
        store.EnsureUserDb("demo");
        ContactStore contacts(store);
        CardGroup clients;
        clients.group_name = "客户";
        contacts.AddGroup(clients);
        const auto add = [&](const char* name, const char* company, const char* mobile, const char* mail,
                             const char* position, int groupId) {
            BusinessCard c;
            c.bc_name = name;
            c.bc_name_pinyin = NamePinyin(name);
            c.company_name = company;
            c.cell_phone = mobile;
            c.mail = mail;
            c.position = position;
            c.group_id = groupId;
            contacts.AddContact(c);
        };
        add("张伟", "蓝海科技", "13800138000", "zw@lanhai.cn", "经理", clients.group_id);
        add("张 伟", "蓝海科技有限公司", "+86 138-0013-8000", "", "总经理", 0);
        add("Anna Müller", "Acme", "", "anna@acme.de", "Sales", 0);
        add("Müller Anna", "ACME", "13900000000", "Anna@Acme.de", "", clients.group_id);
        add("陈静", "红山集团", "13500000000", "", "", 0);
        add("陈静", "红山集团", "13500000000", "", "", 0);
        return true;
    }();
    (void)filled;
    return store;
}

inline std::vector<QWidget*> ShowDuplicates(const std::function<void()>& settle) {
    return ShowSmallWindow(new CDuplicatesWnd(DuplicatesStore()), QStringLiteral("查找重复联系人"), settle);
}

}  // namespace kivtal::screens
