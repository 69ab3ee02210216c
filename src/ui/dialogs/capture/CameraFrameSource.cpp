#include "ui/dialogs/capture/CameraFrameSource.h"

#include "model/Diagnostics.h"
#include "ui/dialogs/capture/CameraModuleLoader.h"
#include "ui/dialogs/capture/ScannerLookup.h"

namespace kivtal {

CameraFrameSource::CameraFrameSource(std::string sysfsRoot) : sysfsRoot_(std::move(sysfsRoot)) {}

CameraFrameSource::~CameraFrameSource() = default;

FrameSource::OpenResult CameraFrameSource::Open() {
    // No scanner among the devices: the module would find none either.
    if (!device_ && FindScannerNodes(sysfsRoot_).empty()) return OpenResult::kNoScanner;
    if (!device_) {
        camera::DeviceEvents events{[this](const QImage& frame) { emit FrameArrived(frame); },
                                    [this] { emit DeviceGone(); }, [this] { emit DeviceBack(); }};
        device_ = MakeCameraDevice(sysfsRoot_, std::move(events));
        if (!device_) return OpenResult::kFailed;
    }
    switch (device_->Open()) {
        case camera::Opened::kOpened: return OpenResult::kOpened;
        case camera::Opened::kNoScanner: return OpenResult::kNoScanner;
        case camera::Opened::kFailed: break;
    }
    return OpenResult::kFailed;
}

bool CameraFrameSource::Run() {
    if (!device_) return false;
    DebugLine("运行摄像头");
    return device_->Run();
}

void CameraFrameSource::Pause() {
    if (device_) device_->Pause();
}

void CameraFrameSource::Stop() {
    if (device_) device_->Stop();
}

}  // namespace kivtal
