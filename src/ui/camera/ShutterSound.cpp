// The shutter's sound, played through Qt Multimedia.
#include <QSoundEffect>

#include "ui/camera/CameraModule.h"

namespace kivtal::camera {
namespace {

class ShutterSound : public Sound {
public:
    explicit ShutterSound(const QUrl& source) { effect_.setSource(source); }
    void Play() override {
        if (effect_.status() != QSoundEffect::Error) effect_.play();
    }

private:
    QSoundEffect effect_;
};

}  // namespace
}  // namespace kivtal::camera

extern "C" Q_DECL_EXPORT kivtal::camera::Sound* kivtal_camera_make_sound(const QUrl& source) {
    return new kivtal::camera::ShutterSound(source);
}
