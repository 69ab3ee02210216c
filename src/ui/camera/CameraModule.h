#pragma once
// The line between the program and its camera module (kivtal_camera): the card
// scanner's camera and the shutter's sound, through Qt Multimedia. The multimedia
// libraries cost a tenth of the program's start and most runs never show the capture
// control, so the program does not link them: the module is loaded the first time a
// capture control starts. Both sides are built from one tree, so C++ types cross.
#include <QImage>
#include <QUrl>
#include <functional>
#include <string>

namespace kivtal::camera {

// Where a device's news goes, always on the thread that made the device.
struct DeviceEvents {
    std::function<void(const QImage&)> frame;
    std::function<void()> gone;  // the scanner was unplugged
    std::function<void()> back;  // and is back, running again if it was
};

enum class Opened { kOpened, kNoScanner, kFailed };

// The scanner's camera: the capture control's FrameSource over it is CameraFrameSource.
class Device {
public:
    virtual ~Device() = default;
    virtual Opened Open() = 0;
    virtual bool Run() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
};

class Sound {
public:
    virtual ~Sound() = default;
    // Does nothing when the sound could not be loaded.
    virtual void Play() = 0;
};

// The module's entry points, looked up by these names.
inline constexpr char kMakeDeviceName[] = "kivtal_camera_make_device";
inline constexpr char kMakeSoundName[] = "kivtal_camera_make_sound";
using MakeDeviceFunction = Device* (*)(const std::string& sysfsRoot, DeviceEvents events);
using MakeSoundFunction = Sound* (*)(const QUrl& source);

}  // namespace kivtal::camera
