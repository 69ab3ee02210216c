// Clashes with another device's edits in the windows: the contact list marks the
// contact, the contact and matter editors show the other value with an action to adopt
// it (an ordinary edit that syncs) and one to dismiss it, and a delete against an edit
// offers to delete after all.
#include <QAbstractButton>
#include <QLabel>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/ChangeLog.h"
#include "store/MatterStore.h"
#include "store/SyncBases.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/ClashBar.h"
#include "ui/main/ContactColumns.h"
#include "ui/support/ContactsFixture.h"
#include "ui/support/EditorFixture.h"

namespace kivtal::test {
namespace {

// A clash as a sync run stores it; its id.
int StoreClash(LocalStore& store, int kind, int rowId, const std::string& field, const std::string& other) {
    SqliteDb db;
    EXPECT_EQ(db.open(store.userDbPath()), 0);
    EXPECT_EQ(db.execute("INSERT INTO tb_sync_clash(oper_code,s_row_id,s_server_id,field,other_value,clash_time)"
                         "VALUES(?,?,0,?,?,1796907742);",
                         {Arg(kind), Arg(rowId), Arg(FieldIndexOfKind(kind, field)), Arg(other)}),
              0);
    ResultTable t;
    EXPECT_EQ(db.query("SELECT max(clash_id) FROM tb_sync_clash;", {}, t), 0);
    return t.integer(0, 0);
}

QAbstractButton* Button(QWidget& window, const char* prefix, int clashId) {
    return window.findChild<QAbstractButton*>(QString::fromLatin1(prefix) + QString::number(clashId));
}

// Every control of the bar can be told apart by a screen reader.
void ExpectNamed(const ClashBar& bar) {
    for (const QAbstractButton* b : bar.findChildren<QAbstractButton*>())
        EXPECT_FALSE(b->accessibleName().isEmpty()) << b->objectName().toStdString();
    EXPECT_FALSE(bar.accessibleName().isEmpty());
}

TEST_F(ContactsFixture, AContactWithOpenClashesIsMarkedInTheList) {
    const int clashed = AddContact("安雅", "ANYA");
    const int plain = AddContact("白露", "BAILU");
    StoreClash(store, OPER_CONTACT, clashed, "company", "别家");
    Open();
    const ListRows& rows = Pane().Rows();
    const int row = Pane().Rows().RowOfContact(clashed);
    ASSERT_GE(row, 0);
    EXPECT_NE(rows.PartText(row, kNamePart), "安雅");
    EXPECT_TRUE(rows.PartText(row, kNamePart).startsWith(QStringLiteral("安雅")));
    EXPECT_TRUE(rows.RowText(row).contains(QStringLiteral("冲突")));
    EXPECT_TRUE(rows.PartTip(row, kNamePart).contains(QStringLiteral("冲突")));
    const int other = Pane().Rows().RowOfContact(plain);
    EXPECT_EQ(rows.PartText(other, kNamePart), "白露");
    EXPECT_FALSE(rows.RowText(other).contains(QStringLiteral("冲突")));
}

class ContactEditorClashes : public EditorFixture {
protected:
    CAddConnectionDlg& OpenEditor(int contactId) {
        editor = CAddConnectionDlg::Open(store, nullptr, contactId, 0);
        EXPECT_NE(editor, nullptr);
        editor->SetWorkerLink(&worker);
        editor->ShowWindow(true);
        EXPECT_TRUE(PumpUntil([this] { return editor && editor->Initialised(); }));
        return *editor;
    }

    int AddSynced(const char* name) {
        BusinessCard c;
        c.bc_name = name;
        c.company_name = "新公司";
        c.cell_phone = "13800000000";
        EXPECT_EQ(ContactStore(store).AddContact(c), StoreStatus::kOk);
        Exec("UPDATE tb_sync_record SET sync_state=3;");
        return c.bc_id;
    }

    int Pending() {
        std::vector<SyncRecord> pending;
        EXPECT_EQ(ChangeLog(store).PendingEntries(pending), 0);
        return static_cast<int>(pending.size());
    }

    QPointer<CAddConnectionDlg> editor;
};

TEST_F(ContactEditorClashes, AdoptingShowsAndStoresTheOtherValueAsAnEditAndDismissingKeepsThisOne) {
    const int id = AddSynced("周八");
    const int company = StoreClash(store, OPER_CONTACT, id, "company", "别家");
    const int mobile = StoreClash(store, OPER_CONTACT, id, "mobile", "13900000000");
    CAddConnectionDlg& dlg = OpenEditor(id);
    ClashBar* bar = dlg.Clashes();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->OpenCount(), 2);
    ExpectNamed(*bar);
    const QStringList texts = [&] {
        QStringList out;
        for (const QLabel* l : bar->findChildren<QLabel*>()) out << l->text();
        return out;
    }();
    EXPECT_TRUE(texts.join('|').contains(QStringLiteral("别家")));

    Button(dlg, kClashAdoptPrefix, company)->click();
    Pump();
    EXPECT_EQ(FieldText(dlg, "base_company_edit"), QStringLiteral("别家"));
    EXPECT_EQ(Stored(id).company_name, "别家");
    EXPECT_EQ(Pending(), 1);  // goes up with the next sync
    Button(dlg, kClashDismissPrefix, mobile)->click();
    Pump();
    EXPECT_FALSE(bar->isVisible());
    int open = -1;
    ASSERT_EQ(CountClashes(store, open), 0);
    EXPECT_EQ(open, 0);

    // A save afterwards neither undoes the adopted value nor takes the dismissed one.
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(Stored(id).company_name, "别家");
    EXPECT_EQ(Stored(id).cell_phone, "13800000000");
}

TEST_F(ContactEditorClashes, ADeleteFromAnotherDeviceCanBeTakenAfterAll) {
    const int id = AddSynced("周九");
    const int deleted = StoreClash(store, OPER_CONTACT, id, "state", "1");
    CAddConnectionDlg& dlg = OpenEditor(id);
    ASSERT_NE(dlg.Clashes(), nullptr);
    ExpectNamed(*dlg.Clashes());
    QAbstractButton* deleteAfterAll = Button(dlg, kClashAdoptPrefix, deleted);
    ASSERT_NE(deleteAfterAll, nullptr);
    EXPECT_EQ(deleteAfterAll->text(), QStringLiteral("仍然删除"));
    deleteAfterAll->click();
    EXPECT_TRUE(PumpUntil([this] { return editor.isNull() || !editor->isVisible(); }));
    EXPECT_EQ(Stored(id).bc_state, 1);
    EXPECT_EQ(Pending(), 1);
}

TEST_F(ContactEditorClashes, TheMatterEditorShowsAndAdoptsTheOtherDescription) {
    TalEvent m;
    m.start_time = 1903838400;
    m.end_time = 1903867200;
    m.description = "签约";
    ASSERT_EQ(MatterStore(store).AddMatter(m), StoreStatus::kOk);
    const int clash = StoreClash(store, OPER_MATTER, m.event_id, "description", "改约");
    QPointer<CAddMatterDlg> dlg = new CAddMatterDlg(store, m, 0, MatterPage::Details);
    dlg->SetWorkerLink(&worker);
    ASSERT_TRUE(dlg->Create(nullptr, QStringLiteral("事项")));
    dlg->ShowWindow(true);
    Pump();
    ASSERT_NE(dlg->Clashes(), nullptr);
    EXPECT_TRUE(dlg->Clashes()->isVisible());
    ExpectNamed(*dlg->Clashes());

    Button(*dlg, kClashAdoptPrefix, clash)->click();
    Pump();
    TalEvent stored;
    ASSERT_EQ(MatterStore(store).MatterById(m.event_id, stored), 0);
    EXPECT_EQ(stored.description, "改约");
    EXPECT_EQ(dlg->Matter().description, "改约");
    EXPECT_FALSE(dlg->Clashes()->isVisible());
}

}  // namespace
}  // namespace kivtal::test
