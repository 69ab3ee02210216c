#include "ui/dialogs/capture/CameraModuleLoader.h"

#include <QCoreApplication>
#include <QLibrary>

#include "model/Diagnostics.h"

namespace kivtal {
namespace {

// Never unloaded: the devices and sounds it made may live until the program ends.
QLibrary* Module() {
    static QLibrary* const module = [] {
        const QString installed =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../" KIVTAL_CAMERA_MODULE_INSTALLED);
        for (const QString& path : {installed, QStringLiteral(KIVTAL_CAMERA_MODULE_BUILT)}) {
            auto* library = new QLibrary(path);
            if (library->load()) return library;
            DebugLine("camera module: " + library->errorString().toStdString());
            delete library;
        }
        return static_cast<QLibrary*>(nullptr);
    }();
    return module;
}

template <class Function>
Function Resolve(const char* name) {
    QLibrary* module = Module();
    return module ? reinterpret_cast<Function>(module->resolve(name)) : nullptr;
}

}  // namespace

std::unique_ptr<camera::Device> MakeCameraDevice(const std::string& sysfsRoot, camera::DeviceEvents events) {
    const auto make = Resolve<camera::MakeDeviceFunction>(camera::kMakeDeviceName);
    return std::unique_ptr<camera::Device>(make ? make(sysfsRoot, std::move(events)) : nullptr);
}

std::unique_ptr<camera::Sound> MakeShutterSound(const QUrl& source) {
    const auto make = Resolve<camera::MakeSoundFunction>(camera::kMakeSoundName);
    return std::unique_ptr<camera::Sound>(make ? make(source) : nullptr);
}

}  // namespace kivtal
