// Clashes with another device's edits in the windows: the contact list marks the
// contact, the contact and matter editors show the other value with an action to adopt
// it (an ordinary edit that syncs) and one to dismiss it, and a delete against an edit
// offers to delete after all.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QLabel>
#include <QTest>
#include <string>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/ChangeLog.h"
#include "store/MatterStore.h"
#include "store/SyncBases.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/controls/FindEdit.h"
#include "ui/editors/ClashBar.h"
#include "ui/main/ContactColumns.h"
#include "ui/support/AccessibleWalk.h"
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

QWidget* Focused() { return QApplication::focusWidget(); }

// The window as a screen reader meets it: no problem, and the named control shown.
void ExpectReadable(QWidget& window, const char* objectName, const QString& name) {
    EXPECT_TRUE(AccessibleProblems(&window).isEmpty()) << AccessibleProblems(&window).join('\n').toStdString();
    const auto nodes = WalkAccessible(&window);
    const AccessibleNode* node = FindAccessible(nodes, QString::fromLatin1(objectName));
    ASSERT_NE(node, nullptr) << objectName;
    EXPECT_EQ(node->name, name);
}

// The note of a clash sits under its field: both in one holder in the field's place.
bool NoteBeside(QWidget& window, int clashId, const char* field) {
    QWidget* note = window.findChild<QWidget*>(QString::fromLatin1(kClashNotePrefix) + QString::number(clashId));
    QWidget* control = window.findChild<QWidget*>(QString::fromLatin1(field));
    return note && control && note->isVisible() && note->parentWidget() == control->parentWidget();
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

TEST_F(ContactEditorClashes, EachClashSitsUnderItsFieldAndIsAdoptedOrDismissedByKeyAndMouse) {
    const int id = AddSynced("周八");
    const int company = StoreClash(store, OPER_CONTACT, id, "company", "别家");
    const int mobile = StoreClash(store, OPER_CONTACT, id, "mobile", "13900000000");
    CAddConnectionDlg& dlg = OpenEditor(id);
    ASSERT_NE(dlg.Clashes(), nullptr);
    Pump();
    EXPECT_TRUE(NoteBeside(dlg, company, "base_company_edit"));
    EXPECT_TRUE(NoteBeside(dlg, mobile, "base_phone_edit"));
    EXPECT_FALSE(dlg.Clashes()->Bar()->isVisible());  // no clash is left for the bar
    EXPECT_TRUE(dlg.FindControl<QAbstractButton>("base")->text().contains(QStringLiteral("●")));
    ExpectReadable(dlg, (std::string(kClashAdoptPrefix) + std::to_string(company)).c_str(),
                   QStringLiteral("采用 另一设备的公司: 别家"));

    // Tab goes from the company field to its note's actions, then on to the next field.
    ClickThroughWindow(dlg.FindControl("base_company_edit"));
    Pump();
    ASSERT_EQ(Focused(), dlg.FindControl<FindEdit>("base_company_edit")->Edit());
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), Button(dlg, kClashAdoptPrefix, company));
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), Button(dlg, kClashDismissPrefix, company));
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_TRUE(dlg.FindControl("base_net_edit")->isAncestorOf(Focused()));
    QTest::keyClick(Focused(), Qt::Key_Backtab);
    QTest::keyClick(Focused(), Qt::Key_Backtab);
    EXPECT_EQ(Focused(), Button(dlg, kClashAdoptPrefix, company));
    QTest::keyClick(Focused(), Qt::Key_Space);
    Pump();
    EXPECT_EQ(FieldText(dlg, "base_company_edit"), QStringLiteral("别家"));
    EXPECT_EQ(Stored(id).company_name, "别家");
    EXPECT_EQ(Pending(), 1);  // goes up with the next sync
    EXPECT_EQ(Button(dlg, kClashAdoptPrefix, company), nullptr);

    ClickThroughWindow(Button(dlg, kClashDismissPrefix, mobile));
    Pump();
    EXPECT_EQ(dlg.Clashes()->OpenCount(), 0);
    EXPECT_FALSE(dlg.FindControl<QAbstractButton>("base")->text().contains(QStringLiteral("●")));
    int open = -1;
    ASSERT_EQ(CountClashes(store, open), 0);
    EXPECT_EQ(open, 0);

    // A save afterwards neither undoes the adopted value nor takes the dismissed one.
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(Stored(id).company_name, "别家");
    EXPECT_EQ(Stored(id).cell_phone, "13800000000");
}

TEST_F(ContactEditorClashes, AClashOnAnotherPageMarksItsTabAndWaitsUnderItsFieldThere) {
    const int id = AddSynced("周十");
    const int fax = StoreClash(store, OPER_CONTACT, id, "fax", "010-6666");
    CAddConnectionDlg& dlg = OpenEditor(id);
    Pump();
    auto* business = dlg.FindControl<QAbstractButton>("business");
    EXPECT_TRUE(business->text().contains(QStringLiteral("●")));
    EXPECT_TRUE(business->accessibleName().contains(QStringLiteral("冲突")));
    EXPECT_FALSE(dlg.FindControl<QAbstractButton>("base")->text().contains(QStringLiteral("●")));
    EXPECT_FALSE(dlg.Clashes()->Bar()->isVisible());

    ClickThroughWindow(business);
    Pump();
    EXPECT_TRUE(NoteBeside(dlg, fax, "business_fax_edit"));
    ExpectReadable(dlg, (std::string(kClashDismissPrefix) + std::to_string(fax)).c_str(),
                   QStringLiteral("忽略 另一设备的传真: 010-6666"));
    ClickThroughWindow(Button(dlg, kClashAdoptPrefix, fax));
    Pump();
    EXPECT_EQ(FieldText(dlg, "business_fax_edit"), QStringLiteral("010-6666"));
    EXPECT_EQ(Stored(id).fax, "010-6666");
    EXPECT_FALSE(business->text().contains(QStringLiteral("●")));
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(Stored(id).fax, "010-6666");
}

TEST_F(ContactEditorClashes, ADeleteFromAnotherDeviceCanBeTakenAfterAll) {
    const int id = AddSynced("周九");
    const int deleted = StoreClash(store, OPER_CONTACT, id, "state", "1");
    CAddConnectionDlg& dlg = OpenEditor(id);
    ASSERT_NE(dlg.Clashes(), nullptr);
    Pump();
    EXPECT_TRUE(dlg.Clashes()->Bar()->isVisible());
    QAbstractButton* deleteAfterAll = Button(dlg, kClashAdoptPrefix, deleted);
    ASSERT_NE(deleteAfterAll, nullptr);
    EXPECT_TRUE(dlg.Clashes()->Bar()->isAncestorOf(deleteAfterAll));
    EXPECT_EQ(deleteAfterAll->text(), QStringLiteral("仍然删除"));
    ExpectReadable(dlg, (std::string(kClashAdoptPrefix) + std::to_string(deleted)).c_str(), QStringLiteral("仍然删除"));
    ClickThroughWindow(deleteAfterAll);
    EXPECT_TRUE(PumpUntil([this] { return editor.isNull() || !editor->isVisible(); }));
    EXPECT_EQ(Stored(id).bc_state, 1);
    EXPECT_EQ(Pending(), 1);
}

TEST_F(ContactEditorClashes, TheMatterEditorShowsTheOtherDescriptionUnderItsOwnAndAdoptsIt) {
    TalEvent m;
    m.start_time = 1903838400;
    m.end_time = 1903867200;
    m.description = "签约";
    ASSERT_EQ(MatterStore(store).AddMatter(m), StoreStatus::kOk);
    const int clash = StoreClash(store, OPER_MATTER, m.event_id, "description", "改约");
    const int pinned = StoreClash(store, OPER_MATTER, m.event_id, "pinned", "1");
    QPointer<CAddMatterDlg> dlg = new CAddMatterDlg(store, m, 0, MatterPage::Details);
    dlg->SetWorkerLink(&worker);
    ASSERT_TRUE(dlg->Create(nullptr, QStringLiteral("事项")));
    dlg->ShowWindow(true);
    Pump();
    ASSERT_NE(dlg->Clashes(), nullptr);
    EXPECT_TRUE(NoteBeside(*dlg, clash, "matter_show_edit"));
    // A field the details do not show stays in the bar.
    EXPECT_TRUE(dlg->Clashes()->Bar()->isAncestorOf(Button(*dlg, kClashAdoptPrefix, pinned)));
    ExpectReadable(*dlg, (std::string(kClashAdoptPrefix) + std::to_string(clash)).c_str(),
                   QStringLiteral("采用 另一设备的事项内容: 改约"));

    ClickThroughWindow(Button(*dlg, kClashAdoptPrefix, clash));
    Pump();
    TalEvent stored;
    ASSERT_EQ(MatterStore(store).MatterById(m.event_id, stored), 0);
    EXPECT_EQ(stored.description, "改约");
    EXPECT_EQ(dlg->Matter().description, "改约");
    EXPECT_EQ(dlg->Clashes()->OpenCount(), 1);
}

}  // namespace
}  // namespace kivtal::test
