#include "ui/dialogs/capture/CameraModuleLoader.h"

#include "ui/toolkit/LazyModule.h"

namespace kivtal {
namespace {

LazyModule& Module() {
    static LazyModule module(QStringLiteral("../" KIVTAL_CAMERA_MODULE_INSTALLED),
                             QStringLiteral(KIVTAL_CAMERA_MODULE_BUILT));
    return module;
}

}  // namespace

std::unique_ptr<camera::Device> MakeCameraDevice(const std::string& sysfsRoot, camera::DeviceEvents events) {
    const auto make = Module().Resolve<camera::MakeDeviceFunction>(camera::kMakeDeviceName);
    return std::unique_ptr<camera::Device>(make ? make(sysfsRoot, std::move(events)) : nullptr);
}

std::unique_ptr<camera::Sound> MakeShutterSound(const QUrl& source) {
    const auto make = Module().Resolve<camera::MakeSoundFunction>(camera::kMakeSoundName);
    return std::unique_ptr<camera::Sound>(make ? make(source) : nullptr);
}

}  // namespace kivtal
