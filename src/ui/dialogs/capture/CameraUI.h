#pragma once
// The card capture control ("Camera" in layouts, "KivMCamera" on the contact editor's
// camera page): the scanner's live picture, shoot / retake / keep with the shutter
// animation and sound, and the list of kept pictures with their upload progress and
// the uploaded counter. It starts itself the first time it is shown.
//
// The frames come from a FrameSource; the kept pictures go through CardUploads to the
// store, the in-memory queue and the worker. The main window reports upload results
// to the open control through Current().
#include <QBasicTimer>
#include <QFutureWatcher>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "cards/CardReader.h"
#include "ui/camera/CameraModule.h"
#include "ui/dialogs/capture/CardUploads.h"
#include "ui/dialogs/capture/FrameSource.h"
#include "ui/dialogs/capture/UploadList.h"

class QLabel;
class QPushButton;

namespace kivtal {

class CardRecognition;
class LocalStore;
class WindowImplBase;
class WorkerLink;

inline const QString kScannerNotConnected = QStringLiteral("请检查是否连接了Kiv名片盒，并重试");
inline const QString kScannerOpenFailed = QStringLiteral("糟糕！扫描仪不见了，请检查数据线是否脱落");
inline const QString kScannerMissing = QStringLiteral("糟糕！扫描仪不见了请检查数据线是否脱落");
inline const QString kPictureAddFailed = QStringLiteral("照片添加失败！");
inline const QString kRetryRefused = QStringLiteral("重新上传失败！");
inline const QString kUseReadingText = QStringLiteral("用识别结果");
inline const QString kToDeskText = QStringLiteral("交给秘书录入");
inline const QString kUploadedCounterText = QStringLiteral("已上传%1张");

// Timer ids of the control's animations.
inline constexpr int kShutterCloseTimer = 125;
inline constexpr int kShutterOpenTimer = 126;
inline constexpr int kProgressTimer = 127;
inline constexpr int kRetakeTimer = 129;
inline constexpr int kCounterTimer = 133;

class CCameraUI : public QWidget {
    Q_OBJECT

public:
    static constexpr int kShutterClosed = 83;  // offset at which the shutter is shut
    static constexpr int kRetakeStart = 320;   // offset the retake animation falls from
    static constexpr int kRetakeHold = 160;    // ... pausing once here
    static constexpr int kCounterFrames = 8;

    explicit CCameraUI(QWidget* parent = nullptr);
    ~CCameraUI() override;

    // The capture control that started last and still exists, nullptr when none.
    static CCameraUI* Current();

    // Seams, to be set before the control is first shown. Defaults: the process's
    // store and worker, and MakeFrameSource().
    void SetStore(LocalStore& store);
    void SetWorkerLink(WorkerLink* link) { worker_ = link; }
    void SetFrameSource(std::unique_ptr<FrameSource> source);

    // Opens the scanner, reads the counter and the pictures still queued. Once.
    void Start();

    // The three buttons.
    void Shoot();
    void Retake();
    void Keep();

    // Local reading (the contact editor turns it on). A kept picture is then read on
    // this computer and held until the user chooses under the picture: 用识别结果
    // (UseReading: `use` saves the contact; when it does, the picture is dropped and
    // nothing is uploaded) or 交给秘书录入 (SendToDesk: queued for upload, as without
    // local reading). A picture kept while another is held sends the held one to the desk.
    struct LocalReading {
        std::function<void(const cards::CardScan&)> read;
        std::function<bool()> use;
    };
    void SetLocalReading(LocalReading hooks);
    void UseReading();
    void SendToDesk();
    bool HoldsPicture() const { return !heldPath_.isEmpty(); }
    bool ReadingRunning() const;

    // Upload results, as the main window learns them.
    void SetItemState(int imgId, int state);
    void FailAllItems();
    // A kept picture is still waiting for its upload (the editor asks before closing).
    bool UploadInProgress() const;

    bool Started() const { return started_; }
    bool DeviceAvailable() const { return deviceAvailable_; }
    bool ShotTaken() const { return shotTaken_; }
    bool Shooting() const { return shooting_; }
    const QImage& Preview() const { return preview_; }
    QString PicturePath() const { return picturePath_; }
    int UploadedCount() const { return uploaded_; }
    const UploadListModel& Items() const { return items_; }
    UploadListView* List() const { return list_; }
    bool IsTimerRunning(int id) const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Frames and shots.
    void OnFrame(const QImage& frame);
    void TakeShot(const QImage& frame);
    void OnEncoded();
    void FinishKeep();
    // Local reading (CameraUIReading.cpp).
    void HoldForReading(const QString& path, const QImage& shot);
    void OnRead(const QString& path, const cards::CardScan& scan);
    void QueueUpload(const QString& path, const QImage& shot);
    void DiscardShot();
    void BackToLive();

    // Device.
    void OnDeviceGone();
    void OnDeviceBack();
    bool RefuseWithoutScanner();

    // Animations.
    void OnTimer(int id);
    void ShutterCloseTick();
    void ShutterOpenTick();
    void RetakeTick();
    void ProgressTick();
    void CounterTick();

    // The upload list.
    void AddItem(const SecretaryImg& img, QImage thumbnail);
    void RemoveItem(int imgId);
    void DeleteItem(int imgId);
    void RetryItem(int imgId);
    void EnsureProgressTimer();
    void ShowCounter();
    void StoreCounter();

    // Layout and helpers.
    void BuildChildren();
    void UpdateButtons();
    QRect VideoArea() const;
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    WindowImplBase* Owner() const;
    void Tell(const QString& text);
    void PostUploadRequest();

    LocalStore* store_;
    WorkerLink* worker_ = nullptr;
    std::unique_ptr<FrameSource> source_;
    std::unique_ptr<CardUploads> uploads_;

    QWidget* cameraWnd_ = nullptr;  // the live picture ("CameraWnd")
    QPushButton* shootButton_ = nullptr;
    QPushButton* retakeButton_ = nullptr;
    QPushButton* keepButton_ = nullptr;
    QPushButton* useButton_ = nullptr;   // 用识别结果
    QPushButton* deskButton_ = nullptr;  // 交给秘书录入
    QLabel* counterLabel_ = nullptr;
    QLabel* counterPlus_ = nullptr;
    UploadListView* list_ = nullptr;
    UploadListModel items_;
    std::unique_ptr<camera::Sound> shutterSound_;  // made at the start: it loads the camera module

    bool started_ = false;
    bool deviceAvailable_ = false;
    bool shotTaken_ = false;
    bool shooting_ = false;  // a frame is requested or the shutter still moves
    bool grabNext_ = false;  // the next frame is the shot
    bool listMode_ = false;
    bool keepPending_ = false;  // keep pressed while the picture is still being written
    bool retakeHeld_ = false;
    QImage live_;
    QImage preview_;
    QString picturePath_;
    int offset_ = 0;
    int shotNumber_ = 0;  // which shot the running encoder writes
    QFutureWatcher<QString> encoder_;
    int encodingShot_ = 0;

    int uploaded_ = 0;
    int pendingCount_ = 0;  // removed uploads the counter animation has not added yet
    int counterFrame_ = 0;
    // The counter is written on a pool thread: the store lock may be held by an upload
    // job for a while. One write at a time, the newest value last.
    QFutureWatcher<void> counterWriter_;
    int storedCount_ = -1;
    qint64 lastRequestMs_ = 0;

    std::map<int, QBasicTimer> timers_;

    LocalReading readingHooks_;
    std::unique_ptr<CardRecognition> recognition_;
    QString heldPath_;  // the kept picture waiting for the user's choice
    QImage heldShot_;
    bool heldRead_ = false;  // its reading has come back
};

}  // namespace kivtal
