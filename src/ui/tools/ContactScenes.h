#pragma once
// The contacts pane's demo data and its scenes for kivtal-screens: groups and contacts,
// news (one with a picture), and the pane's states, menus and windows.
#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QLineEdit>
#include <functional>
#include <string>
#include <vector>

#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "ui/dialogs/ChangeGroupWnd.h"
#include "ui/dialogs/SystemMsgWnd.h"
#include "ui/dialogs/UserSettingWnd.h"
#include "ui/main/ContactColumns.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/HomePage.h"
#include "ui/main/MenuWnd.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal::screens {

inline void FillDemoContacts(LocalStore& store) {
    ContactStore contacts(store);
    std::vector<int> groupIds;
    for (const char* name : {"客户", "同事", "朋友"}) {
        CardGroup group;
        group.group_name = name;
        contacts.AddGroup(group);
        groupIds.push_back(group.group_id);
    }
    struct Demo {
        const char *name, *pinyin, *phone, *company, *position, *mail;
        int group, common;
    };
    const Demo demo[] = {
        {"安雅", "ANYA", "13911112222", "北京云图科技有限公司", "市场总监", "anya@yuntu.cn", 0, 1},
        {"陈立", "CHENLI", "13822223333", "上海明远贸易公司", "采购经理", "chenli@mingyuan.com", 0, 0},
        {"董晓雯", "DONGXIAOWEN", "13733334444", "杭州西湖文化传媒", "编辑", "dxw@xihu.cn", 2, 1},
        {"高峰", "GAOFENG", "13644445555", "深圳前海资本", "合伙人", "gaofeng@qhcap.com", 0, 0},
        {"李娜", "LINA", "13555556666", "北京云图科技有限公司", "工程师", "lina@yuntu.cn", 1, 0},
        {"刘洋", "LIUYANG", "13466667777", "成都天府软件园", "产品经理", "liuyang@tfsp.cn", 1, 1},
        {"王伟", "WANGWEI", "13377778888", "广州南方物流", "总经理", "wangwei@nfwl.com", 0, 0},
        {"张晓明", "ZHANGXIAOMING", "13288889999", "南京金陵律师事务所", "律师", "zxm@jinling.law", 2, 0},
        {"Zoe Lin", "ZOE LIN", "13199990000", "Lin Design Studio", "设计师", "zoe@lindesign.com", 2, 0},
        {"3M 客服", "3M KEFU", "4008001234", "3M 中国", "", "", 0, 0},
    };
    for (const Demo& d : demo) {
        BusinessCard c;
        c.bc_name = d.name;
        c.bc_name_pinyin = d.pinyin;
        c.cell_phone = d.phone;
        c.company_name = d.company;
        c.position = d.position;
        c.mail = d.mail;
        c.group_id = groupIds[static_cast<std::size_t>(d.group)];
        c.common_use = d.common;
        contacts.AddContact(c);
    }
}

// A picture with a centred text, saved as folder/file; its path.
inline std::string DemoPicture(const QString& folder, const QString& file, QSize size, const char* background,
                               const char* ink, int pixelSize, const QString& text) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(QColor(background));
    QPainter painter(&image);
    painter.setPen(QColor(ink));
    QFont font("Noto Sans CJK SC");
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    painter.end();
    const QString path = folder + "/" + file;
    image.save(path);
    return path.toStdString();
}

inline std::string DemoNewsPicture(const QString& folder) {
    return DemoPicture(folder, QStringLiteral("news.png"), QSize(540, 300), "#fdf3e3", "#c0792b", 36,
                       QStringLiteral("新版本上线\n名片扫描更快更准"));
}

inline NewsList DemoNews(const QString& folder) {
    NewsList news(3);
    news[0].news_title = "春节期间客服安排";
    news[0].news_content =
        "春节期间（2月9日至2月17日）客服电话暂停服务，在线留言将在节后两个工作日内回复。祝您新春快乐！";
    news[0].create_time = 1700000000;
    news[0].news_server_id = 1;
    news[1].news_title = "新版本上线";
    news[1].news_type = 1;
    news[1].extra_data_path = DemoNewsPicture(folder);
    news[1].create_time = 1700500000;
    news[1].news_server_id = 2;
    news[2].news_title = "同步服务升级完成";
    news[2].news_content = "同步服务已完成升级，多台设备之间的同步更快更稳定。";
    news[2].create_time = 1701000000;
    news[2].news_state = 1;
    news[2].news_server_id = 3;
    return news;
}

enum class ContactScene { GroupEdit, LetterFilter, AllColumns, ContactMenu, SortMenu, SettingMenu };

// The main window on its contacts page in one of the pane's states.
inline std::vector<QWidget*> ShowContactScene(CHomePage* home, ContactScene scene,
                                              const std::function<void()>& settle) {
    std::vector<QWidget*> windows{home};
    CContactsPane& pane = home->Contacts();
    auto post = [&](unsigned message, std::intptr_t w) {
        home->SendMessage(message, w, 0);
        settle();
    };
    switch (scene) {
        case ContactScene::GroupEdit: {
            auto* groups = home->FindControl<QListWidget>(contacts_pane::kGroupList);
            const int id = groups && groups->count() > 2 ? groups->item(2)->data(Qt::UserRole).toInt() : 0;
            post(WM_UI_GROUP_RENAME, id);
            break;
        }
        case ContactScene::LetterFilter:
            for (QWidget* w : home->findChildren<QWidget*>("sort_btn"))
                if (w->property("text").toString() == u"L") QMetaObject::invokeMethod(w, "click");
            settle();
            break;
        case ContactScene::AllColumns: post(WM_UI_SET_COLUMNS, 63); break;
        case ContactScene::ContactMenu: {
            const QRect button = pane.GlobalPartRect(pane.Rows().Rows().front().id, kMenuPart);
            CMenuWnd* menu =
                ShowMenuAt(*home, new CMenuWnd(QStringLiteral("UserMenu.xml"), 1), button.topLeft() + QPoint(-70, 13));
            settle();
            if (menu) windows.push_back(menu);
            break;
        }
        case ContactScene::SortMenu:
        case ContactScene::SettingMenu: {
            const bool sort = scene == ContactScene::SortMenu;
            QWidget* anchor = home->FindControl(sort ? contacts_pane::kSortButton : contacts_pane::kSettingsButton);
            const QPoint at = sort ? anchor->mapToGlobal(QPoint(0, anchor->height()))
                                   : anchor->mapToGlobal(QPoint(0, 0)) + QPoint(-89, 22);
            CMenuWnd* menu = ShowMenuAt(
                *home, new CMenuWnd(sort ? QStringLiteral("sortcombo.xml") : QStringLiteral("SettingMenu.xml")), at);
            settle();
            if (menu) windows.push_back(menu);
            break;
        }
    }
    return windows;
}

template <class Window>
std::vector<QWidget*> ShowSmallWindow(Window* window, const QString& title, const std::function<void()>& settle) {
    window->Create(nullptr, title);
    window->move(60, 60);
    window->ShowWindow(true);
    settle();
    return {window};
}

inline std::vector<QWidget*> ShowNews(LocalStore& store, int openRow, const std::function<void()>& settle) {
    auto* news = new CSystemMsgWnd(store, 0);
    std::vector<QWidget*> windows = ShowSmallWindow(news, QStringLiteral("系统消息"), settle);
    if (openRow >= 0) {
        news->OpenRow(openRow);
        settle();
    }
    return windows;
}

}  // namespace kivtal::screens
