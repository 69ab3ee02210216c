// The capture control's local reading: a kept picture read on this computer and held
// until the user takes the reading or sends the picture to the desk.
#include <QFile>
#include <QPointer>
#include <QPushButton>

#include "ui/dialogs/capture/CameraUI.h"
#include "ui/dialogs/capture/CardReaderLoader.h"
#include "ui/dialogs/capture/CardRecognition.h"

namespace kivtal {

void CCameraUI::SetLocalReading(LocalReading hooks) {
    readingHooks_ = std::move(hooks);
    if (!recognition_)
        recognition_ = std::make_unique<CardRecognition>(
            [this](const QString& path, const cards::CardScan& scan) { OnRead(path, scan); });
}

bool CCameraUI::ReadingRunning() const { return recognition_ && recognition_->Busy(); }

void CCameraUI::HoldForReading(const QString& path, const QImage& shot) {
    if (!heldPath_.isEmpty()) SendToDesk();
    heldPath_ = path;
    heldShot_ = shot;
    heldRead_ = false;
    recognition_->Read(path);
    UpdateButtons();
}

void CCameraUI::OnRead(const QString& path, const cards::CardScan& scan) {
    if (path != heldPath_) return;  // sent to the desk while it was read
    heldRead_ = true;
    UpdateButtons();
    if (scan.status != cards::CardStatus::kRead) Tell(QString::fromStdString(CardStatusSentence(scan.status)));
    if (readingHooks_.read) readingHooks_.read(scan);
}

void CCameraUI::UseReading() {
    if (heldPath_.isEmpty() || !heldRead_ || !readingHooks_.use) return;
    const QString path = heldPath_;
    const QPointer<CCameraUI> self(this);
    if (!readingHooks_.use()) return;  // the editor kept the window open and said why
    QFile::remove(path);               // the contact is saved: nothing goes to the desk
    if (!self) return;
    heldPath_.clear();
    heldShot_ = QImage();
    UpdateButtons();
}

void CCameraUI::SendToDesk() {
    if (heldPath_.isEmpty()) return;
    const QString path = heldPath_;
    const QImage shot = heldShot_;
    heldPath_.clear();
    heldShot_ = QImage();
    QueueUpload(path, shot);
    UpdateButtons();
}

}  // namespace kivtal
