// The capture control's children, their places and its drawing: the live picture,
// the preview with the shutter, the button bar and the list panel.
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

#include "ui/dialogs/capture/CameraUI.h"
#include "ui/dialogs/capture/CameraUIControls.h"

namespace kivtal {
namespace {

constexpr int kPanelWidth = 220;
constexpr int kBarHeight = 52;
constexpr int kCounterHeight = 36;
const QColor kVideoBackground("#22262c");

QRect FitInto(const QSize& picture, const QRect& area) {
    if (picture.isEmpty()) return area;
    const QSize size = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
}

// "CameraWnd": carries the live picture over the control's video area.
class LiveView : public QWidget {
public:
    LiveView(QWidget* parent, const QImage& frame) : QWidget(parent), frame_(frame) {
        setObjectName(camera_ui::kLiveView);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAccessibleName(QStringLiteral("扫描仪画面"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), kVideoBackground);
        if (!frame_.isNull()) p.drawImage(FitInto(frame_.size(), rect()), frame_);
    }

private:
    const QImage& frame_;
};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& tip) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace

void CCameraUI::BuildChildren() {
    setMinimumSize(560, 380);
    setAttribute(Qt::WA_StyledBackground, false);
    cameraWnd_ = new LiveView(this, live_);
    cameraWnd_->hide();
    shootButton_ = MakeButton(this, camera_ui::kShoot.name, QStringLiteral("拍 照"), QStringLiteral("拍照"));
    retakeButton_ = MakeButton(this, camera_ui::kRetake.name, QStringLiteral("重 拍"), QStringLiteral("重新拍摄"));
    keepButton_ = MakeButton(this, camera_ui::kKeep.name, QStringLiteral("确 认"), QStringLiteral("保存名片"));
    connect(shootButton_, &QPushButton::clicked, this, &CCameraUI::Shoot);
    connect(retakeButton_, &QPushButton::clicked, this, &CCameraUI::Retake);
    connect(keepButton_, &QPushButton::clicked, this, &CCameraUI::Keep);
    useButton_ = MakeButton(this, camera_ui::kUseReading.name, kUseReadingText,
                            QStringLiteral("保存识别出的联系人，不上传名片"));
    deskButton_ = MakeButton(this, camera_ui::kToDesk.name, kToDeskText, QStringLiteral("上传名片，由秘书录入"));
    connect(useButton_, &QPushButton::clicked, this, &CCameraUI::UseReading);
    connect(deskButton_, &QPushButton::clicked, this, &CCameraUI::SendToDesk);
    counterLabel_ = new QLabel(this);
    counterLabel_->setObjectName(camera_ui::kUploaded);
    counterLabel_->setAlignment(Qt::AlignCenter);
    counterPlus_ = new QLabel(QStringLiteral("+1"), this);
    counterPlus_->setObjectName(camera_ui::kUploadedPlus);
    counterPlus_->adjustSize();
    counterPlus_->hide();
    list_ = new UploadListView(this);
    list_->setObjectName(camera_ui::kUploadList);
    list_->setAccessibleName(QStringLiteral("上传列表"));
    list_->setModel(&items_);
    list_->viewport()->installEventFilter(this);
    connect(list_, &UploadListView::DeleteRequested, this, &CCameraUI::DeleteItem);
    connect(list_, &UploadListView::RetryRequested, this, &CCameraUI::RetryItem);
    setStyleSheet(QStringLiteral(
        "QPushButton { background:#2b7cd3; color:white; border:none; border-radius:4px; padding:6px 18px; }"
        "QPushButton:hover { background:#3a8be2; } QPushButton:disabled { background:#9fb7d1; }"
        "#camera_uploaded { color:#333; font-size:14px; } #camera_uploaded_plus { color:#2b9b5b; font-weight:bold; }"
        "#camera_upload_list { background:#f4f6f9; }"));
    UpdateButtons();
}

QRect CCameraUI::VideoArea() const {
    return QRect(0, 0, std::max(0, width() - kPanelWidth), std::max(0, height() - kBarHeight));
}

void CCameraUI::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QRect video = VideoArea();
    cameraWnd_->setGeometry(video);
    const int barY = video.bottom() + 1 + (kBarHeight - 32) / 2;
    shootButton_->setGeometry(video.center().x() - 50, barY, 100, 32);
    retakeButton_->setGeometry(video.center().x() - 110, barY, 100, 32);
    keepButton_->setGeometry(video.center().x() + 10, barY, 100, 32);
    // The held picture's choices at the two ends of the bar under the picture.
    useButton_->setGeometry(8, barY, 110, 32);
    deskButton_->setGeometry(std::max(0, video.right() - 8 - 130), barY, 130, 32);
    counterLabel_->setGeometry(video.right() + 1, 0, kPanelWidth, kCounterHeight);
    list_->setGeometry(video.right() + 1, kCounterHeight, kPanelWidth, height() - kCounterHeight);
}

void CCameraUI::UpdateButtons() {
    const bool preview = shotTaken_;
    shootButton_->setVisible(!preview);
    shootButton_->setEnabled(!shooting_);
    retakeButton_->setVisible(preview);
    keepButton_->setVisible(preview);
    useButton_->setVisible(HoldsPicture());
    useButton_->setEnabled(heldRead_);
    deskButton_->setVisible(HoldsPicture());
}

void CCameraUI::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor("#f4f6f9"));
    const QRect video = VideoArea();
    p.fillRect(video, kVideoBackground);
    p.fillRect(QRect(0, video.bottom() + 1, video.width(), kBarHeight), QColor("#e9edf2"));
    if (!preview_.isNull()) {
        // The retake fades the preview out as its offset falls.
        if (shotTaken_ && offset_ > 0) p.setOpacity(double(offset_) / kRetakeStart);
        p.drawImage(FitInto(preview_.size(), video), preview_);
        p.setOpacity(1.0);
    } else if (!deviceAvailable_ && started_) {
        p.setPen(QColor("#c8ced6"));
        p.drawText(video, Qt::AlignCenter, QStringLiteral("未连接名片扫描仪"));
    }
    if (shooting_ && offset_ > 0) {
        // The shutter: two blades closing from top and bottom.
        const int blade = video.height() / 2 * std::min(offset_, kShutterClosed) / kShutterClosed;
        p.fillRect(QRect(video.left(), video.top(), video.width(), blade), Qt::black);
        p.fillRect(QRect(video.left(), video.bottom() - blade + 1, video.width(), blade), Qt::black);
    }
}

bool CCameraUI::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport()) {
        if (event->type() == QEvent::Enter) listMode_ = true;
        else if (event->type() == QEvent::Leave) listMode_ = false;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kivtal
