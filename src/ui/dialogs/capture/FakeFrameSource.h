#pragma once
// A stand-in for the card scanner: it paints a business card with a running frame
// number, so tests, screenshots and a machine without the scanner get a live picture.
// Tests also plug and unplug it and push frames of their own.
#include <QImage>
#include <QTimer>
#include <list>

#include "ui/dialogs/capture/FrameSource.h"

namespace kivtal {

class FakeFrameSource : public FrameSource {
    Q_OBJECT

public:
    // intervalMs 0: frames arrive only through PushFrame.
    explicit FakeFrameSource(QSize frameSize = {1280, 960}, int intervalMs = 66);

    OpenResult Open() override;
    bool Run() override;
    void Pause() override;
    void Stop() override;

    // What Open answers; the scanner is present by default.
    void SetScannerPresent(bool present) { present_ = present; }
    void SetOpenFails(bool fails) { openFails_ = fails; }
    void Unplug();
    void Plug();

    // Delivers a frame now, as the running device would (dropped while paused).
    void PushFrame(const QImage& frame);
    // The picture the source would show next.
    QImage MakeFrame();

    bool Running() const { return running_; }
    int RunCount() const { return runCount_; }

private:
    QImage& FreeBuffer();

    QImage card_;
    std::list<QImage> buffers_;  // frames painted so far; reused once no one holds them
    QTimer timer_;
    int frameNumber_ = 0;
    int runCount_ = 0;
    bool present_ = true;
    bool openFails_ = false;
    bool running_ = false;
    bool plugged_ = true;
};

}  // namespace kivtal
