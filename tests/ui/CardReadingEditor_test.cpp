// Local card reading in the contact editor: the fake scanner's card shot and kept, its
// fields filled in by the recognition engine, then saved or sent to the desk.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "net/ContentJobs.h"
#include "ui/controls/FindEdit.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/support/EditorFixture.h"

namespace kivtal::test {
namespace {

class CardReadingEditorTest : public EditorFixture {
protected:
    void SetUp() override { qputenv("KIVTAL_FAKE_SCANNER", "1"); }
    void TearDown() override { qunsetenv("KIVTAL_FAKE_SCANNER"); }

    CCameraUI& OpenScanner() {
        editor = CAddConnectionDlg::Open(store, nullptr, 0, 0, true);
        EXPECT_NE(editor, nullptr);
        editor->SetWorkerLink(&worker);
        editor->SetNetworkProbe([] { return true; });
        editor->ShowWindow(true);
        EXPECT_TRUE(PumpUntil([this] { return editor->Initialised(); }));
        return *editor->FindControl<CCameraUI>("KivMCamera");
    }

    // Shoots the fake scanner's card, keeps it and waits for its reading.
    void ShootKeepAndRead(CCameraUI& camera) {
        ClickControl(*editor, "begin_device");
        ASSERT_TRUE(PumpUntil([&] { return camera.ShotTaken() && !camera.Shooting(); }, 5000));
        QTest::mouseClick(camera.findChild<QPushButton*>("camera_keep"), Qt::LeftButton);
        ASSERT_TRUE(camera.HoldsPicture());
        ASSERT_TRUE(PumpUntil([&] { return !camera.ReadingRunning(); }, 60000));
    }

    FindEdit* Field(const char* name) { return editor->FindControl<FindEdit>(name); }
    QPushButton* Button(CCameraUI& camera, const char* name) { return camera.findChild<QPushButton*>(name); }

    QPointer<CAddConnectionDlg> editor;
};

TEST_F(CardReadingEditorTest, TheShotCardFillsTheFieldsAndItsReadingIsSavedWithoutUpload) {
    CCameraUI& camera = OpenScanner();
    Type(*editor, "base_qq_edit", QStringLiteral("10001"));  // typed before the shot: it stays
    ShootKeepAndRead(camera);

    EXPECT_EQ(Field("base_name_edit")->GetText(), QStringLiteral("张晓明"));
    EXPECT_EQ(Field("base_phone_edit")->GetText(), QStringLiteral("13800000000"));
    EXPECT_EQ(Field("base_email_edit")->GetText(), QStringLiteral("zhang@example.com"));
    EXPECT_EQ(Field("business_object_edit")->GetText(), QStringLiteral("华东区销售经理"));
    EXPECT_EQ(Field("base_qq_edit")->GetText(), QStringLiteral("10001"));
    EXPECT_EQ(Field("base_company_edit")->GetText(), QString()) << "nothing on the card, nothing filled";
    FindEdit* name = Field("base_name_edit");
    EXPECT_TRUE(name->toolTip().contains(QStringLiteral("可信度"))) << name->toolTip().toStdString();
    EXPECT_TRUE(name->property(kRecognisedProperty).isValid());
    EXPECT_FALSE(Field("base_qq_edit")->property(kRecognisedProperty).isValid());

    // Touching a field takes its mark away.
    name->EnterEditMode();
    QTest::keyClick(name->Edit(), Qt::Key_End);
    QTest::keyClicks(name->Edit(), QStringLiteral("A"));
    EXPECT_FALSE(name->property(kRecognisedProperty).isValid());
    EXPECT_EQ(name->toolTip(), QString());

    QPushButton* use = Button(camera, "camera_use_reading");
    ASSERT_TRUE(use && use->isVisible() && use->isEnabled());
    QTest::mouseClick(use, Qt::LeftButton);
    const BusinessCardList stored = AllStored();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].bc_name, "张晓明A");
    EXPECT_EQ(stored[0].cell_phone, "13800000000");
    EXPECT_EQ(stored[0].position, "华东区销售经理");
    EXPECT_TRUE(UploadQueue::Instance().Snapshot().empty()) << "the reading was used: nothing goes to the desk";
}

TEST_F(CardReadingEditorTest, SendingToTheDeskQueuesTheUploadAndKeepsTheEditorOpen) {
    CCameraUI& camera = OpenScanner();
    ShootKeepAndRead(camera);
    MessageLog log;
    QTest::mouseClick(Button(camera, "camera_to_desk"), Qt::LeftButton);
    EXPECT_EQ(log.shown, std::vector<Shown>{});
    EXPECT_FALSE(camera.HoldsPicture());
    EXPECT_EQ(camera.Items().rowCount(), 1);
    EXPECT_FALSE(Button(camera, "camera_use_reading")->isVisible());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(AllStored().size(), 0u);
    camera.FailAllItems();  // no upload left for the editor to ask about on closing
}

}  // namespace
}  // namespace kivtal::test
