#pragma once
// The card scanner's live picture as a FrameSource: the camera itself lives in the
// camera module (ui/camera/CameraModule.h); the source asks the module for it only
// when a scanner is attached.
#include <memory>
#include <string>

#include "ui/camera/CameraModule.h"
#include "ui/dialogs/capture/FrameSource.h"

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
    const std::string sysfsRoot_;
    std::unique_ptr<camera::Device> device_;
};

}  // namespace kivtal
