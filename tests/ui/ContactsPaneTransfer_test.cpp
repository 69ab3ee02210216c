// vCard files dropped on the contact list are imported into the chosen group, and the
// pane shows them and asks for a sync; other files are not taken.
#include <QDropEvent>
#include <QMimeData>
#include <QTextEdit>
#include <QUrl>
#include <fstream>

#include "ui/support/ContactsFixture.h"

namespace kivtal {
namespace {

using test::ContactsFixture;
using test::Pump;
using test::PumpUntil;
using Strings = std::vector<std::string>;

class ContactsPaneTransfer : public ContactsFixture {
protected:
    std::string write(const std::string& name, const std::string& text) {
        const std::string path = dir.file(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Drops the files on the list; true when the list took the drop.
    bool Drop(const std::vector<std::string>& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const std::string& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
        mime.setUrls(urls);
        QWidget* viewport = List()->viewport();
        const QPointF at = viewport->rect().center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        return drop.isAccepted();
    }
};

TEST_F(ContactsPaneTransfer, DroppedCardsLandInTheChosenGroupAndAreSynced) {
    const int team = AddGroup("Team");
    AddContact("安雅", "ANYA", team);
    Open();
    ChooseGroup(GroupRowOf(team));
    const std::string file = write("two.vcf",
                                   "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:陈立\r\nTEL;TYPE=CELL:13800000001\r\nEND:VCARD\r\n"
                                   "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Émile Dubois\r\nEND:VCARD\r\n");
    bool answered = false;
    QString summary;
    test::AnswerNextModal("btn_ok", [&](WindowImplBase& box) {
        summary = box.FindControl<QTextEdit>("contentre")->toPlainText();
        answered = true;
    });
    ASSERT_TRUE(Drop({file}));
    ASSERT_TRUE(PumpUntil([&] { return answered; }, 20000));
    EXPECT_TRUE(summary.contains(QStringLiteral("2"))) << summary.toStdString();
    ASSERT_TRUE(PumpUntil([&] { return Names().size() == 3u; }, 5000));
    EXPECT_EQ(GroupTexts()[GroupRowOf(team)], "Team(3)");
    EXPECT_GE(worker.Count(WM_REQ_SYNC), 1);
}

TEST_F(ContactsPaneTransfer, OtherFilesAreNotTaken) {
    Open();
    EXPECT_FALSE(Drop({write("notes.txt", "BEGIN:VCARD\r\nFN:x\r\nEND:VCARD\r\n")}));
    Pump();
    EXPECT_TRUE(Names().empty());
}

}  // namespace
}  // namespace kivtal
