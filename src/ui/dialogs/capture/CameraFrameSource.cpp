#include "ui/dialogs/capture/CameraFrameSource.h"

#include <QCamera>
#include <QCameraDevice>
#include <QVideoFrame>

#include "model/Diagnostics.h"
#include "ui/dialogs/capture/ScannerLookup.h"

namespace kivtal {

CameraFrameSource::CameraFrameSource(std::string sysfsRoot) : sysfsRoot_(std::move(sysfsRoot)) {
    session_.setVideoSink(&sink_);
    // Direct: the conversion runs on the framework's thread, the window gets a copy.
    connect(&sink_, &QVideoSink::videoFrameChanged, this, &CameraFrameSource::OnFrame, Qt::DirectConnection);
    connect(&devices_, &QMediaDevices::videoInputsChanged, this, &CameraFrameSource::OnInputsChanged);
}

CameraFrameSource::~CameraFrameSource() {
    paused_ = true;
    Release();
}

QByteArray CameraFrameSource::FindScannerCamera() const {
    const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
    std::vector<std::string> ids;
    for (const QCameraDevice& d : inputs) ids.push_back(d.id().toStdString());
    const int index = ChooseScanner(ids, FindScannerNodes(sysfsRoot_));
    return index < 0 ? QByteArray() : inputs[index].id();
}

FrameSource::OpenResult CameraFrameSource::Open() {
    cameraId_ = FindScannerCamera();
    if (cameraId_.isEmpty()) return OpenResult::kNoScanner;
    return Build() ? OpenResult::kOpened : OpenResult::kFailed;
}

bool CameraFrameSource::Build() {
    Release();
    for (const QCameraDevice& d : QMediaDevices::videoInputs()) {
        if (d.id() == cameraId_) camera_ = std::make_unique<QCamera>(d);
    }
    if (!camera_ || camera_->error() != QCamera::NoError) return false;
    session_.setCamera(camera_.get());
    return true;
}

void CameraFrameSource::Release() {
    session_.setCamera(nullptr);
    camera_.reset();
}

bool CameraFrameSource::Run() {
    wantRunning_ = true;
    if (!camera_) return false;
    paused_ = false;
    if (!camera_->isActive()) {
        camera_->start();
        DebugLine("运行摄像头");
    }
    return camera_->error() == QCamera::NoError;
}

// The camera keeps streaming while paused: a retake then shows the live picture at
// once instead of waiting for the device to start again.
void CameraFrameSource::Pause() { paused_ = true; }

void CameraFrameSource::Stop() {
    wantRunning_ = false;
    paused_ = true;
    if (camera_) camera_->stop();
}

void CameraFrameSource::OnInputsChanged() {
    const QByteArray found = FindScannerCamera();
    if (!gone_ && !cameraId_.isEmpty() && found != cameraId_) {
        gone_ = true;
        paused_ = true;
        Release();
        emit DeviceGone();
    } else if (gone_ && !found.isEmpty()) {
        cameraId_ = found;
        if (!Build()) return;
        gone_ = false;
        emit DeviceBack();
        if (wantRunning_) Run();
    }
}

void CameraFrameSource::OnFrame(const QVideoFrame& frame) {
    if (paused_ || framePending_.exchange(true)) return;
    QImage image = frame.toImage().convertToFormat(QImage::Format_RGB32);
    QMetaObject::invokeMethod(
        this,
        [this, image = std::move(image)] {
            framePending_ = false;
            if (!paused_) emit FrameArrived(image);
        },
        Qt::QueuedConnection);
}

}  // namespace kivtal
