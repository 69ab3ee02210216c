#pragma once
// Loads the camera module (ui/camera/CameraModule.h) once, on the first call, from the
// installed program's library folder or else from where this build made it. When it
// cannot be loaded the reason goes to the diagnostics and the calls return null: no
// camera, no shutter sound.
#include <memory>
#include <string>

#include "ui/camera/CameraModule.h"

namespace kivtal {

std::unique_ptr<camera::Device> MakeCameraDevice(const std::string& sysfsRoot, camera::DeviceEvents events);
std::unique_ptr<camera::Sound> MakeShutterSound(const QUrl& source);

}  // namespace kivtal
