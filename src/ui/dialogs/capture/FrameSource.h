#pragma once
// Where the capture control's pictures come from. A source lives on the UI thread and
// hands every frame over as a QImage by value, so a frame grabbed on the capture
// framework's thread never reaches the window through memory the next frame reuses.
#include <QImage>
#include <QObject>
#include <functional>
#include <memory>

namespace kivtal {

class FrameSource : public QObject {
    Q_OBJECT

public:
    enum class OpenResult { kOpened, kNoScanner, kFailed };

    ~FrameSource() override = default;

    // Finds the scanner and prepares it; no frames flow until Run.
    virtual OpenResult Open() = 0;
    // Starts (or resumes) the live picture; false when the device refuses.
    virtual bool Run() = 0;
    // Holds the live picture: no frames arrive until the next Run.
    virtual void Pause() = 0;
    virtual void Stop() = 0;

signals:
    void FrameArrived(QImage frame);
    // The scanner was unplugged / is back and running again without user action.
    void DeviceGone();
    void DeviceBack();
};

using FrameSourceFactory = std::function<std::unique_ptr<FrameSource>()>;

// The source new capture controls use: the installed factory when there is one, else
// the test source when KIVTAL_FAKE_SCANNER is set to 1, else the real camera.
std::unique_ptr<FrameSource> MakeFrameSource();
// An empty factory restores the default.
void SetFrameSourceFactory(FrameSourceFactory factory);

}  // namespace kivtal
