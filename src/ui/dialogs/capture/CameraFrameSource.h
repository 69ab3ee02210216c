#pragma once
// The card scanner through Qt Multimedia: the camera whose video node belongs to the
// USB device 1e4e:0110, its frames taken from a video sink. The sink calls back on the
// framework's thread; each frame is converted there into an image of its own and then
// queued to the UI thread, at most one at a time, so a slow window drops frames
// instead of piling them up.
#include <QByteArray>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoSink>
#include <atomic>
#include <memory>

#include "ui/dialogs/capture/FrameSource.h"

class QCamera;

namespace kivtal {

class CameraFrameSource : public FrameSource {
    Q_OBJECT

public:
    explicit CameraFrameSource(std::string sysfsRoot = "/sys");
    ~CameraFrameSource() override;

    OpenResult Open() override;
    bool Run() override;
    void Pause() override;
    void Stop() override;

private:
    bool Build();
    void Release();
    void OnInputsChanged();
    void OnFrame(const QVideoFrame& frame);
    // The id of the attached scanner's camera, empty when none.
    QByteArray FindScannerCamera() const;

    const std::string sysfsRoot_;
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

}  // namespace kivtal
