// The contact editor's growing lists: their stored text forms, adding and deleting
// lines, and bank accounts mapped to the contact's account list.
#include <QPushButton>
#include <QTest>

#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/BankRows.h"
#include "ui/editors/ListText.h"
#include "ui/editors/RowList.h"
#include "ui/support/EditorFixture.h"

namespace kivtal::test {
namespace {

TEST(ListText, JoinsAndSplitsTheStoredForms) {
    struct Case {
        QStringList entries;
        QString text;
    } const cases[] = {
        {{"外贸", "物流"}, "外贸[pig]物流[pig]"},
        {{"", "物流"}, "物流[pig]"},
        {{"", ""}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(JoinEntries(c.entries), c.text) << c.text.toStdString();

    EXPECT_EQ(SplitEntries("a[pig]b[pig]"), (QStringList{"a", "b"}));
    EXPECT_EQ(SplitEntries("a[pig]rest"), (QStringList{"a", "rest"}));
    EXPECT_TRUE(SplitEntries("").isEmpty());

    EXPECT_EQ(JoinRelations({{"张三", "同学"}, {"李四", ""}, {"", "同事"}}), "张三[gx]同学[pig]");
    const std::vector<Relation> split = SplitRelations("张三[gx]同学[pig]王五[pig]a[gx]b[gx]c[pig]");
    EXPECT_EQ(split, (std::vector<Relation>{{"张三", "同学"}, {"王五", ""}, {"a", "b[gx]c"}}));
}

class EditorListsTest : public EditorFixture {
protected:
    CAddConnectionDlg& OpenEditor(int contactId, int page) {
        editor = CAddConnectionDlg::Open(store, nullptr, contactId, 0);
        EXPECT_NE(editor, nullptr);
        editor->SetWorkerLink(&worker);
        editor->ShowWindow(true);
        EXPECT_TRUE(PumpUntil([this] { return editor && editor->Initialised(); }));
        editor->OpenPage(page);
        return *editor;
    }

    int StoreContact(BusinessCard c) {
        c.bc_name = "李明";
        c.cell_phone = "13812345678";
        EXPECT_EQ(ContactStore(store).AddContact(c), StoreStatus::kOk);
        return c.bc_id;
    }

    // The fields of a list, in display order.
    QList<FindEdit*> Fields(const char* container) const {
        QList<FindEdit*> out;
        for (FindEdit* f : editor->FindControl(container)->findChildren<FindEdit*>()) out << f;
        return out;
    }
    void ClickDelete(const char* container, int index) {
        for (QPushButton* b : editor->FindControl(container)->findChildren<QPushButton*>()) {
            if (b->property("entryIndex").toInt() == index && b->objectName().startsWith("delete_")) {
                ASSERT_TRUE(b->isVisible());
                QTest::mouseClick(b, Qt::LeftButton);
                Pump();
                return;
            }
        }
        FAIL() << "no delete button " << index;
    }
    int VisibleDeletes(const char* container) const {
        int n = 0;
        for (QPushButton* b : editor->FindControl(container)->findChildren<QPushButton*>())
            n += b->objectName().startsWith("delete_") && b->isVisible();
        return n;
    }

    QPointer<CAddConnectionDlg> editor;
};

TEST_F(EditorListsTest, InterestsAreStoredInTheirTextFormAndShownAgainLineByLine) {
    const int id = StoreContact({});
    CAddConnectionDlg& dlg = OpenEditor(id, kLifePage);
    EXPECT_EQ(VisibleDeletes("intration_layou"), 0);  // the only line cannot go
    ClickControl(dlg, "add_intration");
    ClickControl(dlg, "add_intration");
    EXPECT_EQ(dlg.FindControl("intration_layou")->height(), 120);
    QList<FindEdit*> fields = Fields("intration_layou");
    ASSERT_EQ(fields.size(), 3);
    fields[0]->SetText("读书");
    fields[1]->SetText("旅游");  // the third stays at its default text
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(Stored(id).hobby, "读书[pig]旅游[pig]");

    CAddConnectionDlg& again = OpenEditor(id, kLifePage);
    fields = Fields("intration_layou");
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(fields[0]->GetText(), "读书");
    EXPECT_EQ(fields[1]->GetText(), "旅游");
    EXPECT_EQ(again.FindControl("intration_layou")->height(), 80);
}

TEST_F(EditorListsTest, DeletingAMainBusinessEntryMovesTheLaterOnesForward) {
    BusinessCard c;
    c.main_business = "A[pig]B[pig]C[pig]";
    const int id = StoreContact(c);
    CAddConnectionDlg& dlg = OpenEditor(id, kBusinessPage);
    EXPECT_EQ(dlg.FindControl("main_sail")->height(), 80);  // two entries a line
    ClickDelete("main_sail", 1);
    const QList<FindEdit*> fields = Fields("main_sail");
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(fields[0]->GetText(), "A");
    EXPECT_EQ(fields[1]->GetText(), "C");
    EXPECT_EQ(dlg.FindControl("main_sail")->height(), 40);
    fields[0]->SetText("");
    fields[1]->SetText("物流");
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(Stored(id).main_business, "物流[pig]");
}

TEST_F(EditorListsTest, AnUntouchedNewMainBusinessEntryIsNotStored) {
    BusinessCard c;
    c.main_business = "外贸[pig]";
    const int id = StoreContact(c);
    CAddConnectionDlg& dlg = OpenEditor(id, kBusinessPage);
    ClickControl(dlg, "add_main_business");
    ASSERT_EQ(Fields("main_sail").size(), 2);
    EXPECT_EQ(Fields("main_sail")[1]->Display()->text(), QStringLiteral("请输入主营业务"));
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(Stored(id).main_business, "外贸[pig]");
}

TEST_F(EditorListsTest, RelatedContactsNeedBothNameAndRelation) {
    const int id = StoreContact({});
    CAddConnectionDlg& dlg = OpenEditor(id, kRelationsPage);
    ClickControl(dlg, "add_relevance");
    const QList<FindEdit*> fields = Fields("relevance_page");
    ASSERT_EQ(fields.size(), 4);  // name and relation per line
    EXPECT_EQ(fields[0]->objectName(), "edt_user");
    fields[0]->SetText("张三");
    fields[1]->SetText("同学");
    fields[2]->SetText("李四");
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(Stored(id).relate_contacts, "张三[gx]同学[pig]");
}

UserBankInfo Account(const char* bank) {
    UserBankInfo a;
    a.bank_name = bank;
    a.ubank_branch = std::string(bank) + "分行";
    a.ubank_subbranch = "支行";
    a.ubank_user = "李明";
    a.ubank_card = std::string("6222-") + bank;
    return a;
}

std::vector<std::string> LiveBanks(const BusinessCard& c) {
    std::vector<std::string> out;
    for (const UserBankInfo& a : c.bank_accounts)
        if (a.ubank_state == 0) out.push_back(a.bank_name + "/" + a.ubank_card);
    return out;
}

TEST_F(EditorListsTest, AClearedMiddleBankAccountLeavesTheFirstAndTheThird) {
    BusinessCard c;
    c.bank_accounts = {Account("甲"), Account("乙"), Account("丙")};
    const int id = StoreContact(c);
    CAddConnectionDlg& dlg = OpenEditor(id, kBusinessPage);
    ASSERT_EQ(dlg.Banks().AccountCount(), 3);
    EXPECT_EQ(dlg.FindControl("bank_page")->height(), 360);
    const QList<FindEdit*> fields = Fields("bank_page");
    ASSERT_EQ(fields.size(), 15);
    // Only the sub-branch left: that alone does not make an account.
    for (int f = 5; f < 10; ++f)
        if (fields[f]->objectName() != "bank_subbranch_edit") fields[f]->SetText("");
    ASSERT_TRUE(dlg.Save());
    const BusinessCard after = Stored(id);
    EXPECT_EQ(LiveBanks(after), (std::vector<std::string>{"甲/6222-甲", "丙/6222-丙"}));
    EXPECT_EQ(after.bank_accounts.size(), 3u);
}

TEST_F(EditorListsTest, DeletingAndAddingBankAccountsKeepsTheRestInOrder) {
    BusinessCard c;
    c.bank_accounts = {Account("甲"), Account("乙")};
    const int id = StoreContact(c);
    CAddConnectionDlg& dlg = OpenEditor(id, kBusinessPage);
    ClickDelete("bank_page", 0);
    EXPECT_EQ(dlg.Banks().AccountCount(), 1);
    EXPECT_EQ(VisibleDeletes("bank_page"), 0);
    ClickControl(dlg, "add_bank");
    Fields("bank_page")[5]->SetText("丁");
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(LiveBanks(Stored(id)), (std::vector<std::string>{"乙/6222-乙", "丁/"}));
}

TEST_F(EditorListsTest, AnAccountDeletedEarlierIsNeitherShownNorOverwritten) {
    BusinessCard c;
    c.bank_accounts = {Account("甲"), Account("乙")};
    const int id = StoreContact(c);
    BusinessCard stored = Stored(id);
    stored.bank_accounts[0].ubank_state = 1;
    ASSERT_EQ(ContactStore(store).ModifyContact(stored), StoreStatus::kOk);
    const BusinessCard before = Stored(id);

    CAddConnectionDlg& dlg = OpenEditor(id, kBusinessPage);
    ASSERT_EQ(dlg.Banks().AccountCount(), 1);
    EXPECT_EQ(Fields("bank_page")[0]->GetText(), "乙");
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(Stored(id).bank_accounts, before.bank_accounts);
}

}  // namespace
}  // namespace kivtal::test
