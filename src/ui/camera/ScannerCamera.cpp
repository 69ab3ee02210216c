// The card scanner through Qt Multimedia: the camera whose video node belongs to the
// USB device 1e4e:0110, its frames taken from a video sink. The sink calls back on the
// framework's thread; each frame is converted there into an image of its own and then
// queued to the device's thread, at most one at a time, so a slow window drops frames
// instead of piling them up.
#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>
#include <atomic>
#include <memory>

#include "ui/camera/CameraModule.h"
#include "ui/dialogs/capture/ScannerLookup.h"

namespace kivtal::camera {
namespace {

class ScannerCamera : public Device {
public:
    ScannerCamera(std::string sysfsRoot, DeviceEvents events)
        : sysfsRoot_(std::move(sysfsRoot)), events_(std::move(events)) {
        session_.setVideoSink(&sink_);
        // Direct: the conversion runs on the framework's thread, the window gets a copy.
        QObject::connect(
            &sink_, &QVideoSink::videoFrameChanged, &context_, [this](const QVideoFrame& f) { OnFrame(f); },
            Qt::DirectConnection);
        QObject::connect(&devices_, &QMediaDevices::videoInputsChanged, &context_, [this] { OnInputsChanged(); });
    }

    ~ScannerCamera() override {
        paused_ = true;
        Release();
    }

    Opened Open() override {
        cameraId_ = FindScannerCamera();
        if (cameraId_.isEmpty()) return Opened::kNoScanner;
        return Build() ? Opened::kOpened : Opened::kFailed;
    }

    bool Run() override {
        wantRunning_ = true;
        if (!camera_) return false;
        paused_ = false;
        if (!camera_->isActive()) camera_->start();
        return camera_->error() == QCamera::NoError;
    }

    // The camera keeps streaming while paused: a retake then shows the live picture at
    // once instead of waiting for the device to start again.
    void Pause() override { paused_ = true; }

    void Stop() override {
        wantRunning_ = false;
        paused_ = true;
        if (camera_) camera_->stop();
    }

private:
    // The id of the attached scanner's camera, empty when none.
    QByteArray FindScannerCamera() const {
        const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
        std::vector<std::string> ids;
        for (const QCameraDevice& d : inputs) ids.push_back(d.id().toStdString());
        const int index = ChooseScanner(ids, FindScannerNodes(sysfsRoot_));
        return index < 0 ? QByteArray() : inputs[index].id();
    }

    bool Build() {
        Release();
        for (const QCameraDevice& d : QMediaDevices::videoInputs()) {
            if (d.id() == cameraId_) camera_ = std::make_unique<QCamera>(d);
        }
        if (!camera_ || camera_->error() != QCamera::NoError) return false;
        session_.setCamera(camera_.get());
        return true;
    }

    void Release() {
        session_.setCamera(nullptr);
        camera_.reset();
    }

    void OnInputsChanged() {
        const QByteArray found = FindScannerCamera();
        if (!gone_ && !cameraId_.isEmpty() && found != cameraId_) {
            gone_ = true;
            paused_ = true;
            Release();
            events_.gone();
        } else if (gone_ && !found.isEmpty()) {
            cameraId_ = found;
            if (!Build()) return;
            gone_ = false;
            events_.back();
            if (wantRunning_) Run();
        }
    }

    void OnFrame(const QVideoFrame& frame) {
        if (paused_ || framePending_.exchange(true)) return;
        QImage image = frame.toImage().convertToFormat(QImage::Format_RGB32);
        QMetaObject::invokeMethod(
            &context_,
            [this, image = std::move(image)] {
                framePending_ = false;
                if (!paused_) events_.frame(image);
            },
            Qt::QueuedConnection);
    }

    const std::string sysfsRoot_;
    const DeviceEvents events_;
    QObject context_;  // the device's thread, for the queued frames and the connections
    QMediaDevices devices_;
    QMediaCaptureSession session_;
    QVideoSink sink_;
    std::unique_ptr<QCamera> camera_;
    QByteArray cameraId_;
    bool gone_ = false;
    bool wantRunning_ = false;
    std::atomic<bool> paused_{true};
    std::atomic<bool> framePending_{false};
};

}  // namespace
}  // namespace kivtal::camera

extern "C" Q_DECL_EXPORT kivtal::camera::Device* kivtal_camera_make_device(const std::string& sysfsRoot,
                                                                           kivtal::camera::DeviceEvents events) {
    return new kivtal::camera::ScannerCamera(sysfsRoot, std::move(events));
}
