#pragma once
// The main window over a scratch user database with contacts and groups, and the ways
// a test drives its contacts pane: rows, group rows, parts of a row, menu items and
// the message boxes the pane asks.
#include <QListWidget>
#include <QTest>
#include <string>
#include <vector>

#include "store/ContactStore.h"
#include "ui/controls/ListKiv.h"
#include "ui/main/ContactColumns.h"
#include "ui/main/ContactsPane.h"
#include "ui/support/HomeFixture.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/MenuItems.h"

namespace kivtal::test {

class ContactsFixture : public HomeFixture {
protected:
    int AddGroup(const std::string& name) {
        CardGroup group;
        group.group_name = name;
        EXPECT_EQ(ContactStore(store).AddGroup(group), StoreStatus::kOk);
        return group.group_id;
    }
    int AddContact(const std::string& name, const std::string& pinyin, int groupId = 0, int common = 0,
                   const std::string& phone = "") {
        BusinessCard card;
        card.bc_name = name;
        card.bc_name_pinyin = pinyin;
        card.group_id = groupId;
        card.common_use = common;
        card.cell_phone = phone;
        EXPECT_EQ(ContactStore(store).AddContact(card), StoreStatus::kOk);
        return card.bc_id;
    }
    BusinessCard Stored(int contactId) {
        BusinessCard card;
        EXPECT_EQ(ContactStore(store).ContactById(contactId, card), 0);
        return card;
    }

    CContactsPane& Pane() { return home->Contacts(); }
    QListWidget* Groups() { return home->FindControl<QListWidget>("table_list"); }
    ListKiv* List() { return home->FindControl<ListKiv>("user_list"); }

    // The names listed, top to bottom.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const ContactRow& row : Pane().Rows().Rows()) names.push_back(row.name.toStdString());
        return names;
    }
    // The group list's rows as shown: "全部(3)", "常用(1)", "客户(2)".
    std::vector<std::string> GroupTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < Groups()->count(); ++i) {
            QListWidgetItem* item = Groups()->item(i);
            QWidget* row = Groups()->itemWidget(item);
            QWidget* label = row ? row->findChild<QWidget*>("group_label") : nullptr;
            texts.push_back((label ? ControlText(label) : item->text()).toStdString());
        }
        return texts;
    }
    int GroupRowOf(int groupId) {
        for (int i = 0; i < Groups()->count(); ++i)
            if (Groups()->item(i)->data(Qt::UserRole).toInt() == groupId) return i;
        return -1;
    }
    QWidget* InGroupRow(int groupId, const char* name) {
        QWidget* row = Groups()->itemWidget(Groups()->item(GroupRowOf(groupId)));
        return row ? row->findChild<QWidget*>(name) : nullptr;
    }
    void ChooseGroup(int row) {
        Groups()->setCurrentRow(row);
        Pump();
    }

    // Press and release on a part of a contact's row, through the window system.
    void ClickPart(int contactId, const QString& part) {
        const int row = Pane().Rows().RowOfContact(contactId);
        const QRect rect = List()->PartRect(row, part);
        ASSERT_FALSE(rect.isEmpty()) << part.toStdString() << " of contact " << contactId;
        const QPoint at = List()->viewport()->mapTo(home.data(), rect.center());
        QTest::mouseClick(home->windowHandle(), Qt::LeftButton, {}, at);
        Pump();
    }
    void MenuItem(const char* item, int contactId = 0) {
        home->SendMessage(WM_UI_MENU_ITEM, MenuItemCode(QString::fromLatin1(item)), contactId);
        Pump();
    }
    void ClickNamed(QWidget* control) {
        ASSERT_NE(control, nullptr);
        QTest::mouseClick(control, Qt::LeftButton);
        Pump();
    }
};

// Answers the next message box with button and records its text; one-shot.
struct BoxAnswer {
    QString text;
    QString title;
    bool asked = false;
};
inline void AnswerBox(const QString& button, BoxAnswer& answer) {
    AnswerNextModal(button, [&answer](WindowImplBase& box) {
        answer.asked = true;
        answer.text = ControlText(box.FindControl("contentre"));
        answer.title = ControlText(box.FindControl("TalTitle"));
        if (answer.title.isEmpty()) answer.title = ControlText(box.FindControl("title"));
    });
}

}  // namespace kivtal::test
