// Import and export from a window: the worker thread, the progress dialog, cancel and
// the summary box, over a real user database.
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <fstream>

#include "store/ContactStore.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "ui/dialogs/ContactTransfer.h"
#include "ui/support/UiTestSupport.h"

namespace kivtal {
namespace {

using test::AnswerNextModal;
using test::Pump;
using test::PumpUntil;

QString BoxText(WindowImplBase& box) { return box.FindControl<QTextEdit>("contentre")->toPlainText(); }

class ContactTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(store.EnsureUserDb("tester"), 0);
        owner = new QWidget;
        owner->setGeometry(100, 100, 640, 420);
        owner->show();
    }
    void TearDown() override {
        test::CloseAllWindows();
        delete owner.data();
        Pump();
    }

    std::string write(const std::string& name, const std::string& text) {
        const std::string path = dir.file(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::size_t contactCount() {
        BusinessCardList list;
        EXPECT_EQ(ContactStore(store).AllContacts(list), 0);
        return list.size();
    }
    // Runs an import to its summary box and returns the box's text.
    QString importAndAnswer(ContactTransfer& transfer, const QStringList& files) {
        QString text;
        bool answered = false;
        AnswerNextModal("btn_ok", [&](WindowImplBase& box) {
            text = BoxText(box);
            answered = true;
        });
        EXPECT_TRUE(transfer.ImportFiles(owner, files, 0));
        EXPECT_TRUE(PumpUntil([&] { return answered && !transfer.importRunning(); }, 20000));
        return text;
    }

    test::TempDir dir;
    LocalStore store{StorePaths{dir.path() + "user", ""}};
    QPointer<QWidget> owner;
};

TEST_F(ContactTransferTest, ImportEndsInTheSummaryAndTellsThePane) {
    ContactTransfer transfer(store);
    QSignalSpy finished(&transfer, &ContactTransfer::importFinished);
    const QStringList files{
        QString::fromStdString(
            write("phone.vcf", "BEGIN:VCARD\nFN:张三\nEND:VCARD\nBEGIN:VCARD\nFN:李四\nEND:VCARD\n")),
        QString::fromStdString(write("bad.vcf", "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=NOPE:x\nEND:VCARD\n")),
        QString::fromStdString(dir.file("missing.vcf"))};
    const QString text = importAndAnswer(transfer, files);
    EXPECT_TRUE(text.startsWith("新增 2 个，合并 0 个，跳过 0 个，失败 1 个。")) << text.toStdString();
    EXPECT_TRUE(text.contains("bad.vcf 第 3 行：unknown charset NOPE")) << text.toStdString();
    EXPECT_TRUE(text.contains("无法读取“missing.vcf”")) << text.toStdString();
    EXPECT_EQ(contactCount(), 2u);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0][0].toInt(), 2);
    EXPECT_FALSE(transfer.ImportFiles(owner, {}, 0)) << "nothing to import";
}

TEST_F(ContactTransferTest, CancelRollsBackTheFileInProgress) {
    std::string cards;
    for (int i = 0; i < 20000; ++i) cards += "BEGIN:VCARD\nFN:N" + std::to_string(i) + "\nEND:VCARD\n";
    const QString file = QString::fromStdString(write("big.vcf", cards));
    ContactTransfer transfer(store);
    QString text;
    bool answered = false;
    AnswerNextModal("btn_ok", [&](WindowImplBase& box) {
        text = BoxText(box);
        answered = true;
    });
    ASSERT_TRUE(transfer.ImportFiles(owner, {file}, 0));
    EXPECT_FALSE(transfer.ImportFiles(owner, {file}, 0)) << "one import at a time";
    auto* progress = owner->findChild<QProgressDialog*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->accessibleName(), "导入联系人");
    emit progress->canceled();  // what its button and Escape send
    ASSERT_TRUE(PumpUntil([&] { return answered && !transfer.importRunning(); }, 20000));
    EXPECT_TRUE(text.contains("已取消：“big.vcf”中的联系人均未保存。")) << text.toStdString();
    EXPECT_EQ(contactCount(), 0u);
}

TEST_F(ContactTransferTest, ExportWritesTheFileAndSaysSo) {
    BusinessCard card;
    card.bc_name = "王五";
    ASSERT_EQ(ContactStore(store).AddContact(card), StoreStatus::kOk);
    ContactTransfer transfer(store);
    struct Case {
        QString path;
        vcard::ExportFormat format;
        bool written;
        QString message;
    };
    const Case cases[] = {
        {QString::fromStdString(dir.file("out.csv")), vcard::ExportFormat::Csv, true, "已导出 1 个联系人"},
        {QString::fromStdString(dir.file("no/such/out.vcf")), vcard::ExportFormat::VCard30, false, "无法写入"},
    };
    for (const Case& c : cases) {
        QString text;
        AnswerNextModal("btn_ok", [&](WindowImplBase& box) { text = BoxText(box); });
        EXPECT_EQ(transfer.ExportContactsTo(owner, 0, c.path, c.format), c.written);
        EXPECT_TRUE(text.startsWith(c.message)) << text.toStdString();
    }
    EXPECT_TRUE(test::FileBytes(dir.file("out.csv")).starts_with("\xEF\xBB\xBFName,"));
}

TEST(ContactTransferDrop, OnlyLocalVCardFilesAreTaken) {
    const QList<QUrl> urls{QUrl::fromLocalFile("/a/b.vcf"), QUrl::fromLocalFile("/a/c.VCARD"),
                           QUrl::fromLocalFile("/a/d.txt"), QUrl("https://x.org/e.vcf")};
    EXPECT_EQ(ContactTransfer::VCardFiles(urls), (QStringList{"/a/b.vcf", "/a/c.VCARD"}));
}

}  // namespace
}  // namespace kivtal
