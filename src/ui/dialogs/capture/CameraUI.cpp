#include "ui/dialogs/capture/CameraUI.h"

#include <QDateTime>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>
#include <QtConcurrent/QtConcurrentRun>

#include "net/ContentJobs.h"
#include "store/ContentStore.h"
#include "store/LocalStore.h"
#include "ui/dialogs/capture/CameraModuleLoader.h"
#include "ui/dialogs/capture/CardPicture.h"
#include "ui/dialogs/capture/CardRecognition.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

constexpr int kShutterTickMs = 1;
constexpr int kShutterHoldMs = 500;
constexpr int kShutterCloseStep = 25;
constexpr int kShutterOpenStep = 60;
constexpr int kRetakeTickMs = 10;
constexpr int kRetakeStep = 20;

QPointer<CCameraUI>& CurrentControl() {
    static QPointer<CCameraUI> current;
    return current;
}

// Twice the size it is drawn at, so it stays sharp on a 200% screen.
const QSize kThumbnailSize(192, 144);

QImage Thumbnail(const QImage& picture) {
    return picture.isNull() ? picture : picture.scaled(kThumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Decoded at thumbnail size: the JPEG decoder scales while it reads.
QImage ReadThumbnail(const QString& path) {
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid()) reader.setScaledSize(size.scaled(kThumbnailSize, Qt::KeepAspectRatio));
    return reader.read();
}

}  // namespace

CCameraUI::CCameraUI(QWidget* parent) : QWidget(parent), store_(&LocalStore::Instance()) {
    BuildChildren();
    connect(&encoder_, &QFutureWatcher<QString>::finished, this, &CCameraUI::OnEncoded);
    // A value that changed while the last write ran is written next.
    connect(&counterWriter_, &QFutureWatcher<void>::finished, this, &CCameraUI::StoreCounter);
}

CCameraUI::~CCameraUI() {
    recognition_.reset();  // no reading may finish into a half-destroyed control
    // A held picture nobody chose for is kept for the desk rather than lost.
    if (!heldPath_.isEmpty() && uploads_) uploads_->Keep(heldPath_.toStdString());
    // Uploads still climbing in the counter animation count too.
    counterWriter_.waitForFinished();
    uploaded_ += pendingCount_;
    if (started_ && storedCount_ != uploaded_) ContentStore(*store_).SetUploadCounter(uploaded_);
    // A picture still being written, or shot and never kept, must not stay behind.
    encoder_.waitForFinished();
    const bool unkept = shooting_ || shotTaken_;
    if (unkept && encoder_.future().isValid() && encoder_.future().resultCount() > 0) {
        const QString written = encoder_.result();
        if (!written.isEmpty()) QFile::remove(written);
    }
    if (source_) source_->Stop();
}

CCameraUI* CCameraUI::Current() { return CurrentControl().data(); }

void CCameraUI::SetStore(LocalStore& store) { store_ = &store; }

void CCameraUI::SetFrameSource(std::unique_ptr<FrameSource> source) { source_ = std::move(source); }

void CCameraUI::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // After the page is on screen, so the boxes Start may show sit over it.
    if (!started_) QTimer::singleShot(0, this, &CCameraUI::Start);
}

void CCameraUI::Start() {
    if (started_) return;
    started_ = true;
    CurrentControl() = this;
    uploads_ = std::make_unique<CardUploads>(*store_, UploadQueue::Instance(), [this](WorkerRequest r) {
        lastRequestMs_ = QDateTime::currentMSecsSinceEpoch();
        WorkerLink* link = worker_ ? worker_ : AppWorker();
        if (link) link->Post(std::move(r));
    });
    ContentStore(*store_).UploadCounter(uploaded_);
    storedCount_ = uploaded_;
    ShowCounter();
    // Pictures kept earlier in this session and not uploaded yet stay in sight.
    for (const SecretaryImg& img : UploadQueue::Instance().Snapshot()) {
        if (img.img_state != UploadQueue::kUploaded) {
            AddItem(img, ReadThumbnail(QString::fromStdString(img.img_path)));
        }
    }
    if (!source_) source_ = MakeFrameSource();
    if (!shutterSound_) shutterSound_ = MakeShutterSound(QUrl(QStringLiteral("qrc:/skin/sound/CAMERA.WAV")));
    connect(source_.get(), &FrameSource::FrameArrived, this, &CCameraUI::OnFrame);
    connect(source_.get(), &FrameSource::DeviceGone, this, &CCameraUI::OnDeviceGone);
    connect(source_.get(), &FrameSource::DeviceBack, this, &CCameraUI::OnDeviceBack);
    cameraWnd_->setGeometry(VideoArea());
    switch (source_->Open()) {
        case FrameSource::OpenResult::kNoScanner:
            deviceAvailable_ = false;
            UpdateButtons();
            Tell(kScannerNotConnected);
            return;
        case FrameSource::OpenResult::kFailed:
            deviceAvailable_ = false;
            UpdateButtons();
            ShowMessageBox(Owner(), kScannerOpenFailed);
            if (WindowImplBase* owner = Owner()) owner->PostMessage(WM_CAM_LOST);
            return;
        case FrameSource::OpenResult::kOpened:
            deviceAvailable_ = source_->Run();
            cameraWnd_->setVisible(deviceAvailable_);
            UpdateButtons();
            return;
    }
}

// --- Frames and shots ---

void CCameraUI::OnFrame(const QImage& frame) {
    if (grabNext_) {
        grabNext_ = false;
        TakeShot(frame);
        return;
    }
    if (shotTaken_ || shooting_) return;
    live_ = frame;
    cameraWnd_->update();
}

void CCameraUI::Shoot() {
    if (listMode_ || shotTaken_ || shooting_) return;
    if (RefuseWithoutScanner()) return;
    cameraWnd_->hide();
    shooting_ = true;
    grabNext_ = true;
    if (shutterSound_) shutterSound_->Play();
    preview_ = QImage();
    picturePath_.clear();
    UpdateButtons();
    update();
}

// The shown picture and the saved one are the same image: the preview is this frame,
// and the encoder writes this very frame while the shutter animation runs.
void CCameraUI::TakeShot(const QImage& frame) {
    preview_ = frame;
    source_->Pause();
    encodingShot_ = ++shotNumber_;
    const QString folder = CardsFolder(*store_);
    encoder_.setFuture(QtConcurrent::run([frame, folder] { return SaveCardPicture(frame, folder); }));
    offset_ = 0;
    SetTimer(kShutterCloseTimer, kShutterTickMs);
    update();
}

void CCameraUI::OnEncoded() {
    const QString written = encoder_.result();
    if (encodingShot_ != shotNumber_ || (!shooting_ && !shotTaken_)) {
        // Retaken (or the control moved on) while the picture was written.
        if (!written.isEmpty()) QFile::remove(written);
        return;
    }
    picturePath_ = written;
    if (keepPending_) FinishKeep();
}

void CCameraUI::Keep() {
    if (listMode_ || !shotTaken_ || keepPending_) return;
    if (RefuseWithoutScanner()) return;
    keepPending_ = true;
    if (!encoder_.isRunning()) FinishKeep();
}

void CCameraUI::FinishKeep() {
    keepPending_ = false;
    const QImage shot = preview_;
    const QString path = picturePath_;
    // Queued, held or removed: either way the picture is no longer the shot's to discard.
    picturePath_.clear();
    BackToLive();
    if (readingHooks_.read) HoldForReading(path, shot);
    else QueueUpload(path, shot);
}

void CCameraUI::QueueUpload(const QString& path, const QImage& shot) {
    const std::optional<SecretaryImg> img = uploads_->Keep(path.toStdString());
    if (img) AddItem(*img, Thumbnail(shot));
    else Tell(kPictureAddFailed);
}

void CCameraUI::Retake() {
    if (listMode_ || !shotTaken_ || IsTimerRunning(kRetakeTimer)) return;
    if (RefuseWithoutScanner()) return;
    offset_ = kRetakeStart;
    retakeHeld_ = false;
    SetTimer(kRetakeTimer, kRetakeTickMs);
}

void CCameraUI::DiscardShot() {
    if (!picturePath_.isEmpty()) QFile::remove(picturePath_);
    picturePath_.clear();
}

void CCameraUI::BackToLive() {
    shotTaken_ = false;
    shooting_ = false;
    preview_ = QImage();
    offset_ = 0;
    if (deviceAvailable_) {
        cameraWnd_->show();
        cameraWnd_->raise();
        source_->Run();
    }
    UpdateButtons();
    update();
}

// --- Device ---

bool CCameraUI::RefuseWithoutScanner() {
    if (deviceAvailable_) return false;
    ShowMessageBox(Owner(), kScannerMissing);
    return true;
}

void CCameraUI::OnDeviceGone() {
    deviceAvailable_ = false;
    if (grabNext_) {
        // The frame asked for will not come: no shot, or the control would wait for good.
        grabNext_ = false;
        shooting_ = false;
    }
    cameraWnd_->hide();
    live_ = QImage();
    UpdateButtons();
    update();
    ShowMessageBox(Owner(), kScannerMissing);
    if (WindowImplBase* owner = Owner()) owner->PostMessage(WM_CAM_LOST);
}

void CCameraUI::OnDeviceBack() {
    deviceAvailable_ = true;
    // A preview on screen stays until the user retakes or keeps it.
    if (!shotTaken_ && !shooting_) {
        if (!source_->Run()) ShowTalMsgBox(QString(), nullptr, QStringLiteral("Couldn’t run the graph!"));
        cameraWnd_->show();
    }
    UpdateButtons();
    update();
}

// --- Animations ---

void CCameraUI::timerEvent(QTimerEvent* event) {
    for (auto& [id, timer] : timers_) {
        if (timer.timerId() == event->timerId()) {
            OnTimer(id);
            return;
        }
    }
    QWidget::timerEvent(event);
}

void CCameraUI::OnTimer(int id) {
    switch (id) {
        case kShutterCloseTimer: ShutterCloseTick(); break;
        case kShutterOpenTimer: ShutterOpenTick(); break;
        case kRetakeTimer: RetakeTick(); break;
        case kProgressTimer: ProgressTick(); break;
        case kCounterTimer: CounterTick(); break;
        default: break;
    }
}

void CCameraUI::ShutterCloseTick() {
    offset_ += kShutterCloseStep;
    update();
    if (offset_ < kShutterClosed) return;
    KillTimer(kShutterCloseTimer);
    QTimer::singleShot(kShutterHoldMs, this, [this] {
        if (shooting_) SetTimer(kShutterOpenTimer, kShutterTickMs);
    });
}

void CCameraUI::ShutterOpenTick() {
    offset_ = std::max(0, offset_ - kShutterOpenStep);
    update();
    if (offset_ > 0) return;
    KillTimer(kShutterOpenTimer);
    shooting_ = false;
    shotTaken_ = true;
    UpdateButtons();
}

void CCameraUI::RetakeTick() {
    if (offset_ == kRetakeHold && !retakeHeld_) {
        retakeHeld_ = true;
        KillTimer(kRetakeTimer);
        QTimer::singleShot(kShutterHoldMs, this, [this] { SetTimer(kRetakeTimer, kRetakeTickMs); });
        return;
    }
    offset_ = std::max(0, offset_ - kRetakeStep);
    update();
    if (offset_ > 0) return;
    KillTimer(kRetakeTimer);
    DiscardShot();
    BackToLive();
}

void CCameraUI::SetTimer(int id, int milliseconds) { timers_[id].start(milliseconds, this); }

void CCameraUI::KillTimer(int id) {
    const auto it = timers_.find(id);
    if (it != timers_.end()) it->second.stop();
}

bool CCameraUI::IsTimerRunning(int id) const {
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second.isActive();
}

// --- Helpers ---

WindowImplBase* CCameraUI::Owner() const { return qobject_cast<WindowImplBase*>(window()); }

// Modal over the owning window, so the message cannot hide behind it.
void CCameraUI::Tell(const QString& text) {
    QWidget* owner = Owner() ? static_cast<QWidget*>(Owner()) : window();
    ShowTalMsgBox(QString(), owner, text);
}

void CCameraUI::PostUploadRequest() {
    if (uploads_) uploads_->RequestPass();
}

}  // namespace kivtal
