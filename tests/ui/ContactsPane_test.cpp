// The contacts pane on a real main window over a real user database: groups, sorting,
// the letter bar, search, the common mark, the column mask, the contact menu and the
// empty states.
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTimer>
#include <QPointer>
#include <QTextEdit>

#include <array>
#include <map>

#include "net/LoginUser.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/support/AccessibleWalk.h"
#include "ui/support/ContactsFixture.h"

namespace kivtal {
namespace {

using test::AnswerBox;
using test::BoxAnswer;
using test::ContactsFixture;
using test::Pump;
using Strings = std::vector<std::string>;

bool Shown(CHomePage& home, const char* name) {
    QWidget* control = home.FindControl(name);
    return control && control->isVisibleTo(&home);
}

void GoOffline() {
    LoginUser::Instance().update([](LoginUserState& s) { s.login_mode = LoginUserState::kModeOffline; });
}

// --- Groups ---

TEST_F(ContactsFixture, GroupListCountsAllCommonAndEachGroup) {
    const int clients = AddGroup("客户");
    AddGroup("空组");
    AddContact("安雅", "ANYA", clients, 1);
    AddContact("陈立", "CHENLI", clients);
    const int gone = AddContact("高峰", "GAOFENG");
    BusinessCard deleted = Stored(gone);
    ASSERT_EQ(ContactStore(store).DeleteContact(deleted), StoreStatus::kOk);
    Open();
    EXPECT_EQ(GroupTexts(), (Strings{"全部(2)", "常用(1)", "客户(2)", "空组(0)", "回收站(1)"}));
    EXPECT_EQ(Groups()->currentRow(), 0);
    EXPECT_EQ(Names(), (Strings{"安雅", "陈立"}));
}

TEST_F(ContactsFixture, NewGroupsTakeTheFirstFreeDefaultName) {
    Open();
    for (int i = 0; i < 3; ++i) ClickNamed(home->FindControl("add_title"));
    EXPECT_EQ(GroupTexts(),
              (Strings{"全部(0)", "常用(0)", "请输入组名(0)", "请输入组名1(0)", "请输入组名2(0)", "回收站(0)"}));
    CardGroupList stored;
    ContactStore(store).ContactGroups(stored);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2].group_name, "请输入组名2");
    EXPECT_EQ(Pane().EditingRow(), 4);  // the last one is being named
}

TEST_F(ContactsFixture, RenameRefusesAnotherGroupsNameInAnyCaseAndAcceptsItsOwn) {
    AddGroup("Clients");
    const int team = AddGroup("Team");
    Open();
    home->SendMessage(WM_UI_GROUP_RENAME, team);
    auto* edit = qobject_cast<QLineEdit*>(InGroupRow(team, "group_edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisibleTo(home));
    EXPECT_EQ(edit->text(), "Team");
    EXPECT_EQ(edit->maxLength(), 8);

    edit->setText("CLIENTS");
    BoxAnswer box;
    AnswerBox("btn_ok", box);
    ClickNamed(InGroupRow(team, "group_edit_ok"));
    EXPECT_EQ(box.text, "该组名已存在！");
    EXPECT_NE(Pane().EditingRow(), -1);  // still naming
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);

    edit->setText("Team");
    ClickNamed(InGroupRow(team, "group_edit_ok"));
    EXPECT_EQ(Pane().EditingRow(), -1);

    home->SendMessage(WM_UI_GROUP_RENAME, team);
    edit->setText("伙伴");
    QTest::keyClick(edit, Qt::Key_Return);
    Pump();
    EXPECT_EQ(GroupTexts()[3], "伙伴(0)");
    CardGroup stored;
    ContactStore(store).GroupById(team, stored);
    EXPECT_EQ(stored.group_name, "伙伴");
    ASSERT_EQ(worker.Count(WM_REQ_SYNC), 1);
    EXPECT_EQ(worker.requests.back().reason, SYNC_BY_OPER_EFFECT);
}

TEST_F(ContactsFixture, CancellingARenameWritesNothingAndCancellingANewGroupRemovesIt) {
    const int team = AddGroup("Team");
    Open();
    home->SendMessage(WM_UI_GROUP_RENAME, team);
    qobject_cast<QLineEdit*>(InGroupRow(team, "group_edit"))->setText("Other");
    QWidget* cancel = InGroupRow(team, "grou_edit_delete");
    EXPECT_EQ(cancel->toolTip(), "放弃修改");
    ClickNamed(cancel);
    EXPECT_EQ(GroupTexts()[2], "Team(0)");
    CardGroup stored;
    ContactStore(store).GroupById(team, stored);
    EXPECT_EQ(stored.group_name, "Team");

    ClickNamed(home->FindControl("add_title"));
    const int added = Groups()->item(3)->data(Qt::UserRole).toInt();
    cancel = InGroupRow(added, "grou_edit_delete");
    EXPECT_EQ(cancel->toolTip(), "取消添加");
    BoxAnswer box;
    AnswerBox("_btn_ok", box);
    ClickNamed(cancel);
    EXPECT_FALSE(box.asked);  // no question for a row just added
    EXPECT_EQ(GroupTexts(), (Strings{"全部(0)", "常用(0)", "Team(0)", "回收站(0)"}));
    ContactStore(store).GroupById(added, stored);
    EXPECT_EQ(stored.group_state, 1);
    EXPECT_EQ(Pane().EditingRow(), -1);
}

TEST_F(ContactsFixture, RenameOfAGroupDeletedElsewhereSaysSoAndDropsTheRow) {
    const int team = AddGroup("Team");
    Open();
    home->SendMessage(WM_UI_GROUP_RENAME, team);
    Exec("UPDATE tb_bc_group SET group_state = 1;");  // another device's delete, synced in
    qobject_cast<QLineEdit*>(InGroupRow(team, "group_edit"))->setText("New");
    BoxAnswer box;
    AnswerBox("btn_ok", box);
    ClickNamed(InGroupRow(team, "group_edit_ok"));
    EXPECT_EQ(box.text, "该分组已被删除");
    EXPECT_EQ(GroupTexts(), (Strings{"全部(0)", "常用(0)", "回收站(0)"}));
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);
}

TEST_F(ContactsFixture, ANameThatCannotBeStoredKeepsTheEditOpenWithTheTypedText) {
    const int team = AddGroup("Team");
    Open();
    home->SendMessage(WM_UI_GROUP_RENAME, team);
    auto* edit = qobject_cast<QLineEdit*>(InGroupRow(team, "group_edit"));
    edit->setText(QStringLiteral("a~麤^b"));  // the value separator
    BoxAnswer box;
    AnswerBox("btn_ok", box);
    ClickNamed(InGroupRow(team, "group_edit_ok"));
    EXPECT_EQ(box.text, "保存数据失败");
    EXPECT_EQ(edit->text(), QStringLiteral("a~麤^b"));
    EXPECT_NE(Pane().EditingRow(), -1);
    CardGroup stored;
    ContactStore(store).GroupById(team, stored);
    EXPECT_EQ(stored.group_name, "Team");
}

TEST_F(ContactsFixture, DeletingAGroupAsksAndKeepsItsContactsUnderAll) {
    const int team = AddGroup("Team");
    AddContact("安雅", "ANYA", team);
    Open();
    ChooseGroup(2);
    BoxAnswer box;
    AnswerBox("_btn_cancel", box);
    home->SendMessage(WM_UI_GROUP_DELETE, team);
    EXPECT_EQ(box.title, "确定删除分组吗？");
    EXPECT_EQ(box.text, "分组删除后，组里的联系人请到“全部”组中查找。");
    EXPECT_EQ(GroupTexts().size(), 4u);

    AnswerBox("_btn_ok", box);
    home->SendMessage(WM_UI_GROUP_DELETE, team);
    Pump();
    EXPECT_EQ(GroupTexts(), (Strings{"全部(1)", "常用(0)", "回收站(0)"}));
    EXPECT_EQ(Groups()->currentRow(), 0);
    EXPECT_EQ(Names(), (Strings{"安雅"}));
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);
}

TEST_F(ContactsFixture, LeavingAnEditedNameAsksWhetherToSaveIt) {
    const int team = AddGroup("Team");
    Open();
    home->SendMessage(WM_UI_GROUP_RENAME, team);
    qobject_cast<QLineEdit*>(InGroupRow(team, "group_edit"))->setText("Partners");
    BoxAnswer box;
    AnswerBox("_btn_ok", box);
    ChooseGroup(0);
    EXPECT_EQ(box.text, "是否保存分组名称？");
    EXPECT_EQ(GroupTexts()[2], "Partners(0)");
    EXPECT_EQ(Groups()->currentRow(), 2);  // the edited row stays chosen
    EXPECT_EQ(Pane().EditingRow(), -1);
}

TEST_F(ContactsFixture, ASyncResultDuringAnEditIsTakenWhenTheEditEnds) {
    const int team = AddGroup("Team");
    Open();
    home->SendMessage(WM_UI_GROUP_RENAME, team);
    AddContact("安雅", "ANYA", team);  // brought in by the sync
    home->SendMessage(WM_RES_SYNC, 0);
    EXPECT_EQ(GroupTexts()[0], "全部(0)");  // the edit is not rebuilt away
    ClickNamed(InGroupRow(team, "grou_edit_delete"));
    ASSERT_TRUE(test::PumpUntil([&] { return GroupTexts()[0] == "全部(1)"; }));
    EXPECT_EQ(GroupTexts()[2], "Team(1)");
}

// --- Contact list ---

TEST_F(ContactsFixture, SortItemsOrderAllContactsAndReturnToAll) {
    const int team = AddGroup("Team");
    AddContact("陈立", "CHENLI", team);
    AddContact("安雅", "ANYA");
    AddContact("王伟", "WANGWEI", team);
    Open();
    ChooseGroup(2);
    const struct {
        const char* item;
        Strings names;
    } cases[] = {
        {"menu_sort_z2a", {"王伟", "陈立", "安雅"}},
        {"menu_sort_n2o", {"王伟", "安雅", "陈立"}},
        {"menu_sort_o2n", {"陈立", "安雅", "王伟"}},
        {"menu_sort_a2z", {"安雅", "陈立", "王伟"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        MenuItem(c.item);
        EXPECT_EQ(Groups()->currentRow(), 0);
        EXPECT_EQ(Names(), c.names);
    }
    EXPECT_EQ(Pane().SortMode(), kSortNameAsc);
}

TEST_F(ContactsFixture, LetterBarEnablesPresentLettersAndFilters) {
    AddContact("安雅", "ANYA");
    AddContact("Anna", "anna");
    AddContact("李娜", "LINA");
    AddContact("3M 客服", "3M KEFU");
    // A row without pinyin, as an older version could leave one (a write now makes it).
    Exec("UPDATE tb_bc SET bc_name_pinyin='' WHERE bc_id=" + std::to_string(AddContact("无拼音", "")));
    AddContact("%百分", "%BAIFEN");
    Open();
    QList<QAbstractButton*> letters = home->FindControl("sort_btn_layout")->findChildren<QAbstractButton*>();
    ASSERT_EQ(letters.size(), 27);
    QString enabled;
    for (QAbstractButton* b : letters)
        if (b->isEnabled()) enabled += b->text();
    EXPECT_EQ(enabled, "AL#");

    const struct {
        int letter;
        Strings names;
    } cases[] = {{0, {"Anna", "安雅"}}, {11, {"李娜"}}, {26, {"3M 客服", "无拼音", "%百分"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.letter);
        ClickNamed(letters[c.letter]);
        Strings names = Names();
        std::sort(names.begin(), names.end());
        Strings expected = c.names;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
        EXPECT_EQ(letters[c.letter]->styleSheet().contains("rgba(51,51,51"), true);
    }
}

TEST_F(ContactsFixture, SearchOnTypingTakesQuotesWildcardsEmojiAndHugePastes) {
    AddContact("O'Brien", "OBRIEN");
    AddContact("百分之百%", "BAIFEN");
    AddContact("下划_线", "XIAHUAXIAN");
    AddContact("笑脸😀", "XIAOLIAN");
    AddContact("张三", "ZHANGSAN", 0, 0, "13911112222");
    Open();
    ClickNamed(home->FindControl("search_tip"));
    auto* edit = home->FindControl<QLineEdit>("search_edit");
    ASSERT_TRUE(edit->isVisibleTo(home));
    const struct {
        QString term;
        Strings names;
    } cases[] = {
        {"O'B", {"O'Brien"}},
        {"😀", {"笑脸😀"}},
        {"1111", {"张三"}},
        {"_", {"下划_线"}},  // "_" and "%" are the characters themselves, not wildcards
        {"%", {"百分之百%"}},
        {"'; DROP TABLE tb_bc; --", {}},
        {QString(10000, QChar(0x4E2D)), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.term.left(20).toStdString());
        edit->setText(c.term);
        Pump();
        EXPECT_EQ(Names(), c.names);
    }
    EXPECT_LE(edit->text().size(), 256);
    edit->clear();
    Pump();
    EXPECT_EQ(Names().size(), 5u);  // emptied: the chosen group again
}

TEST_F(ContactsFixture, SearchFindsNamesByFullPinyinPrefixesAndInitials) {
    AddContact("程诚", "CHENGCHENG");
    AddContact("陈晨", "CHENCHEN");
    AddContact("张三", "ZHANGSAN");
    AddContact("David Brown", "David Brown");
    Open();
    ClickNamed(home->FindControl("search_tip"));
    auto* edit = home->FindControl<QLineEdit>("search_edit");
    const struct {
        const char* term;
        Strings names;
    } cases[] = {
        {"chengcheng", {"程诚"}},
        {"cheng", {"程诚"}},
        {"cc", {"陈晨", "程诚"}},
        {"chengc", {"程诚"}},
        {"CHENC", {"陈晨", "程诚"}},  // chen is a prefix of cheng too
        {"zs", {"张三"}},
        {"san", {"张三"}},  // from any syllable on
        {"db", {"David Brown"}},
        {"zsx", {}},
        {"c c", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.term);
        edit->setText(c.term);
        Pump();
        EXPECT_EQ(Names(), c.names);
    }
}

// The keystrokes after the first search the rows it read: a mark set in between must
// be in them too.
TEST_F(ContactsFixture, ACommonMarkSetWhileSearchingStaysAsTheTermGrows) {
    const int id = AddContact("程诚", "CHENGCHENG");
    AddContact("陈晨", "CHENCHEN");
    Open();
    ClickNamed(home->FindControl("search_tip"));
    auto* edit = home->FindControl<QLineEdit>("search_edit");
    edit->setText("ch");
    Pump();
    ASSERT_EQ(Names(), (Strings{"陈晨", "程诚"}));
    ClickPart(id, kCommonPart);
    ASSERT_EQ(Stored(id).common_use, 1);
    edit->setText("cheng");
    Pump();
    ASSERT_EQ(Names(), (Strings{"程诚"}));
    EXPECT_EQ(Pane().Rows().PartTip(0, kCommonPart), "取消常用");
}

TEST_F(ContactsFixture, LetterBarAndSearchStayWithinTheChosenGroup) {
    const int team = AddGroup("Team");
    AddContact("安雅", "ANYA", team);
    AddContact("Anna", "ANNA", 0, 1);
    AddContact("李娜", "LINA");
    AddContact("刘备", "LIUBEI", team, 1);
    Open();
    QList<QAbstractButton*> letters = home->FindControl("sort_btn_layout")->findChildren<QAbstractButton*>();
    auto* edit = home->FindControl<QLineEdit>("search_edit");
    const struct {
        int row;
        const char* enabled;
        Strings underA;
        Strings searchLi;
    } cases[] = {
        {0, "AL", {"Anna", "安雅"}, {"李娜", "刘备"}},
        {1, "AL", {"Anna"}, {"刘备"}},  // 常用
        {2, "AL", {"安雅"}, {"刘备"}},  // Team
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        ChooseGroup(c.row);
        QString enabled;
        for (QAbstractButton* b : letters)
            if (b->isEnabled()) enabled += b->text();
        EXPECT_EQ(enabled, c.enabled);
        ClickNamed(letters[0]);
        Strings names = Names();
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.underA);
        EXPECT_EQ(Groups()->currentRow(), c.row);
        ClickNamed(home->FindControl("search_tip"));
        edit->setText("l");
        Pump();
        names = Names();
        std::sort(names.begin(), names.end());
        Strings expected = c.searchLi;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
        EXPECT_EQ(Groups()->currentRow(), c.row);
        edit->clear();
        Pump();
    }
    // A group without a contact under L offers no L.
    const int other = AddGroup("Other");
    AddContact("安娜", "ANNA", other);
    home->SendMessage(WM_RES_SYNC, 0);
    ASSERT_TRUE(test::PumpUntil([&] { return Groups()->count() == 5; }));
    ChooseGroup(3);
    QString enabled;
    for (QAbstractButton* b : letters)
        if (b->isEnabled()) enabled += b->text();
    EXPECT_EQ(enabled, "A");
}

TEST_F(ContactsFixture, SearchButtonWithAnEmptyBoxAsksForATerm) {
    AddContact("安雅", "ANYA");
    Open();
    BoxAnswer box;
    AnswerBox("btn_ok", box);
    ClickNamed(home->FindControl("searchbtn"));
    EXPECT_EQ(box.title, "温馨提示");
    EXPECT_EQ(box.text, "请先输入搜索词");
    EXPECT_EQ(Names().size(), 1u);
}

TEST_F(ContactsFixture, CommonMarkTogglesTheStoreAndTheCountAtOnce) {
    const int id = AddContact("安雅", "ANYA");
    Open();
    const ListRows& rows = Pane().Rows();
    EXPECT_EQ(rows.PartTip(0, kCommonPart), "设为常用");
    ClickPart(id, kCommonPart);
    EXPECT_EQ(Stored(id).common_use, 1);
    EXPECT_EQ(GroupTexts()[1], "常用(1)");
    EXPECT_EQ(rows.PartTip(0, kCommonPart), "取消常用");
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);

    GoOffline();
    ClickPart(id, kCommonPart);
    EXPECT_EQ(Stored(id).common_use, 0);
    EXPECT_EQ(GroupTexts()[1], "常用(0)");
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);  // offline: saved, no sync
}

TEST_F(ContactsFixture, ColumnMaskShowsOnlyTheChosenColumns) {
    AddContact("安雅", "ANYA", 0, 0, "13911112222");
    Open();
    auto parts = [&] {
        std::vector<QString> names;
        for (const RowPart& p : List()->GetRowLayout().parts)
            if (!p.name.isEmpty()) names.push_back(p.name);
        return names;
    };
    EXPECT_EQ(parts(), (std::vector<QString>{kCommonPart, kNamePart, kPhonePart, kCompanyPart, kMenuPart}));
    home->SendMessage(WM_UI_SET_COLUMNS, 1 | 8 | 32);
    EXPECT_EQ(home->ColumnMask(), 41);
    EXPECT_EQ(parts(), (std::vector<QString>{kCommonPart, kNamePart, kMailPart, kGroupPart, kMenuPart}));
    // Every column of the widest mask stays inside the row.
    home->SendMessage(WM_UI_SET_COLUMNS, 63);
    for (const ColumnSpan& span : VisibleColumns(63, List()->viewport()->width()))
        EXPECT_LE(span.x + span.width, List()->viewport()->width()) << span.part.toStdString();
}

TEST_F(ContactsFixture, ColumnsSizeToTheirContentAndUseAWiderWindow) {
    const int team = AddGroup("Key accounts");
    AddContact("Kevin O'Brien", "Kevin O'Brien", team, 0, "13911112222");
    AddContact("安雅", "ANYA");
    BusinessCard card = Stored(AddContact("Anna Müller", "Anna Muller"));
    card.company_name = std::string(40, 'W') + " International Trading Company Limited";
    card.mail = "a@b.cn";
    ASSERT_EQ(ContactStore(store).ModifyContact(card), StoreStatus::kOk);
    Open();
    home->SendMessage(WM_UI_SET_COLUMNS, 63);
    Pump();
    const QFontMetrics metrics(List()->font());
    auto spans = [&] {
        std::map<QString, ColumnSpan> byPart;
        for (const RowPart& p : List()->GetRowLayout().parts)
            if (!p.name.isEmpty()) byPart[p.name] = ColumnSpan{p.name, p.rect.x(), p.rect.width()};
        return byPart;
    };
    auto check = [&](int width) {
        SCOPED_TRACE(width);
        const auto byPart = spans();
        // The usual Western name is shown whole, the short texts keep their room and
        // the long company takes what is left, elided; nothing leaves the row.
        EXPECT_GE(byPart.at(kNamePart).width, metrics.horizontalAdvance("Kevin O'Brien"));
        EXPECT_GE(byPart.at(kMailPart).width, metrics.horizontalAdvance("a@b.cn"));
        EXPECT_GE(byPart.at(kCompanyPart).width, byPart.at(kGroupPart).width);
        for (const auto& [part, span] : byPart)
            if (part != kMenuPart && part != kCommonPart) EXPECT_LE(span.x + span.width, width) << part.toStdString();
    };
    const int narrow = List()->viewport()->width();
    check(narrow);
    const int narrowCompany = spans().at(kCompanyPart).width;

    home->resize(home->width() + 500, home->height());
    ASSERT_TRUE(test::PumpUntil([&] { return List()->viewport()->width() >= narrow + 400; }));
    const int wide = List()->viewport()->width();
    check(wide);
    EXPECT_GE(spans().at(kGroupPart).width, metrics.horizontalAdvance("Key accounts"));
    EXPECT_GT(spans().at(kCompanyPart).width, narrowCompany);
    // The columns reach across the row: the last text column ends near the menu.
    const auto byPart = spans();
    EXPECT_GE(byPart.at(kGroupPart).x + byPart.at(kGroupPart).width, wide - 80);
}

TEST_F(ContactsFixture, EmptyStatesTellAnEmptyBookFromAnEmptyGroup) {
    Open();
    EXPECT_TRUE(Shown(*home, "user_empty"));
    EXPECT_FALSE(Shown(*home, "group_empty"));
    EXPECT_FALSE(Shown(*home, "user_list"));
    home->Close(0);
    Pump();

    AddGroup("Team");
    AddContact("安雅", "ANYA");
    Open();
    EXPECT_TRUE(Shown(*home, "user_list"));
    EXPECT_TRUE(Shown(*home, "user_title_page"));
    EXPECT_FALSE(Shown(*home, "user_empty"));
    ChooseGroup(2);
    EXPECT_TRUE(Shown(*home, "group_empty"));
    EXPECT_FALSE(Shown(*home, "user_empty"));
    EXPECT_FALSE(Shown(*home, "user_list"));
}

// --- Contact menu and the editor seam ---

TEST_F(ContactsFixture, EditorOpensThroughTheSeamUnderTheMaskAndThePaneRefreshes) {
    const int team = AddGroup("Team");
    const int id = AddContact("安雅", "ANYA", team);
    Open();
    std::vector<std::array<int, 3>> calls;
    bool masked = false;
    home->SetContactEditorOpener([&](int contactId, int group, int page) {
        calls.push_back({contactId, group, page});
        masked = home->Mask()->isVisible();
        AddContact("新人", "XINREN");  // what the editor saved
    });
    ClickPart(id, kNamePart);
    MenuItem("menu_user_edit", id);
    ChooseGroup(2);
    ClickNamed(home->FindControl("add_Connection"));
    EXPECT_EQ(calls, (std::vector<std::array<int, 3>>{{id, 0, 0}, {id, 0, 0}, {0, team, 0}}));
    EXPECT_TRUE(masked);
    EXPECT_FALSE(home->Mask()->isVisible());
    EXPECT_EQ(GroupTexts()[0], "全部(4)");
}

TEST_F(ContactsFixture, ContactMenuOpensBesideTheRowAndMarksItsButton) {
    const int id = AddContact("安雅", "ANYA");
    Open();
    ClickPart(id, kMenuPart);
    std::vector<WindowImplBase*> menus = test::VisibleWindows("ZELMenuWnd");
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0]->GetSkinFile(), "UserMenu.xml");
    EXPECT_EQ(Pane().Rows().PartTip(0, kMenuPart), "收起");
    menus[0]->Close(1);
    Pump();
    EXPECT_EQ(Pane().Rows().PartTip(0, kMenuPart), "展开");
}

TEST_F(ContactsFixture, DeleteAsksThenRemovesTheContactEverywhere) {
    const int id = AddContact("安雅", "ANYA");
    AddContact("陈立", "CHENLI");
    Open();
    BoxAnswer box;
    AnswerBox("_btn_cancel", box);
    MenuItem("menu_user_delete", id);
    EXPECT_EQ(box.title, "确定删除该联系人吗？");
    EXPECT_EQ(box.text, "删除后可在回收站中找回，保留30天。");
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);

    AnswerBox("_btn_ok", box);
    MenuItem("menu_user_delete", id);
    EXPECT_EQ(Names(), (Strings{"陈立"}));
    EXPECT_EQ(GroupTexts()[0], "全部(1)");
    EXPECT_EQ(Stored(id).bc_state, 1);
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);
}

TEST_F(ContactsFixture, TheChosenContactAnswersDeleteMenuKeysAndSpace) {
    const int id = AddContact("安雅", "ANYA");
    AddContact("陈立", "CHENLI");
    Open();
    List()->setFocus(Qt::TabFocusReason);
    List()->setCurrentIndex(List()->model()->index(0, 0));
    Pump();

    QTest::keyClick(List(), Qt::Key_Space);
    EXPECT_EQ(Stored(id).common_use, 1);
    EXPECT_EQ(GroupTexts()[1], "常用(1)");

    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}}) {
        SCOPED_TRACE(key);
        QTest::keyClick(List(), key, modifiers);
        std::vector<WindowImplBase*> menus = test::VisibleWindows("ZELMenuWnd");
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_EQ(menus[0]->GetSkinFile(), "UserMenu.xml");
        EXPECT_EQ(Pane().Rows().MenuOpenContact(), id);
        menus[0]->Close(1);
        Pump();
    }

    BoxAnswer box;
    AnswerBox("_btn_ok", box);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(box.title, "确定删除该联系人吗？");
    EXPECT_EQ(Names(), (Strings{"陈立"}));
    EXPECT_EQ(Stored(id).bc_state, 1);
}

TEST_F(ContactsFixture, AScreenReaderReadsTheGroupsAndTheContactRows) {
    const int team = AddGroup("Team");
    AddContact("安雅", "ANYA", team, 1, "13911112222");
    AddContact("Kevin O'Brien", "Kevin O'Brien");
    Open();
    for (const char* part : {"userList_page", "table_list"}) {
        SCOPED_TRACE(part);
        const QStringList problems = test::AccessibleProblems(home->FindControl(part));
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    }
    QStringList rows;
    for (const test::AccessibleNode& node : test::WalkAccessible(List()))
        if (node.role == QAccessible::ListItem || node.role == QAccessible::Cell) rows << node.name;
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].contains("安雅") && rows[0].contains("13911112222")) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].contains("Kevin O'Brien")) << rows[1].toStdString();
}

TEST_F(ContactsFixture, CtrlFGoesToTheSearchBox) {
    AddContact("安雅", "ANYA");
    AddContact("陈立", "CHENLI");
    Open();
    for (int time = 0; time < 2; ++time) {  // again once the box is open
        SCOPED_TRACE(time);
        QTest::keyClick(home, Qt::Key_F, Qt::ControlModifier);
        auto* edit = home->FindControl<QLineEdit>("search_edit");
        ASSERT_TRUE(test::PumpUntil([&] { return QApplication::focusWidget() == edit; }));
        QTest::keyClicks(edit, "chen");
        Pump();
        EXPECT_EQ(Names(), (Strings{"陈立"}));
    }
}

TEST_F(ContactsFixture, MoveToGroupWritesTheGroupAndItsServerId) {
    const int a = AddGroup("A");
    const int b = AddGroup("B");
    Exec("UPDATE tb_bc_group SET server_id = 77 WHERE group_id = " + std::to_string(b) + ";");
    const int id = AddContact("安雅", "ANYA", a);
    Open();
    bool okEnabledAtFirst = true;
    test::AnswerNextModal("login_btn", [&](WindowImplBase& window) {
        okEnabledAtFirst = window.FindControl("login_btn")->isEnabled();
        for (QWidget* option : window.findChildren<QWidget*>("groupName"))
            if (option->property("text").toString() == "B")  // on its mark: a radio's hit area
                QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    });
    MenuItem("menu_move_group", id);
    EXPECT_FALSE(okEnabledAtFirst);
    EXPECT_EQ(Stored(id).group_id, b);
    EXPECT_EQ(Stored(id).server_group_id, 77);
    EXPECT_EQ(GroupTexts(), (Strings{"全部(1)", "常用(0)", "A(0)", "B(1)", "回收站(0)"}));
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);
}

TEST_F(ContactsFixture, TheMoveDialogWorksFromTheKeyboardAndNamesItsChoices) {
    const int a = AddGroup("A");
    const int b = AddGroup("B");
    const int id = AddContact("安雅", "ANYA", a);
    Open();
    struct Keys {
        std::vector<Qt::Key> keys;
        int group;
    } const cases[] = {
        {{Qt::Key_Down, Qt::Key_Return}, b},  // from its own group to the next, then OK
        {{Qt::Key_Up, Qt::Key_Escape}, b},    // cancelled: it stays
    };
    for (const Keys& c : cases) {
        QStringList problems;
        QString focused;
        WindowImplBase::SetModalObserver([&](WindowImplBase& box) {
            if (box.GetWindowClassName() != u"ZELChangeGroupWnd") return;
            QPointer<WindowImplBase> guard(&box);
            QTimer::singleShot(3000, &box, [guard] {
                if (guard) guard->Close(1);  // a dialog deaf to the keys must not hang the test
            });
            // Inside the dialog's own loop, once it has shown.
            QTimer::singleShot(0, &box, [&, guard] {
                test::PumpUntil([&] {
                    return guard && QApplication::focusWidget() && guard->isAncestorOf(QApplication::focusWidget());
                });
                if (!guard || !QApplication::focusWidget()) return;
                focused = QApplication::focusWidget()->property("text").toString();
                problems = test::AccessibleProblems(guard);
                for (Qt::Key key : c.keys) QTest::keyClick(QApplication::focusWidget(), key);
            });
        });
        MenuItem("menu_move_group", id);
        WindowImplBase::SetModalObserver({});
        EXPECT_EQ(focused, c.group == b && c.keys.front() == Qt::Key_Down ? "A" : "B");
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
        EXPECT_EQ(Stored(id).group_id, c.group);
    }
}

TEST_F(ContactsFixture, MoveWithoutGroupsOffersNothingAndChangesNothing) {
    const int id = AddContact("安雅", "ANYA");
    Open();
    bool tipShown = false;
    test::AnswerNextModal("searchbtn", [&](WindowImplBase& window) {
        tipShown = window.FindControl("no_group_tip")->isVisible();
        EXPECT_TRUE(window.findChildren<QWidget*>("groupName").isEmpty());
    });
    MenuItem("menu_move_group", id);
    EXPECT_TRUE(tipShown);
    EXPECT_EQ(Stored(id).group_id, 0);
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 0);
}

}  // namespace
}  // namespace kivtal
