#include "ui/controls/GifButton.h"

#include "ui/toolkit/SkinValues.h"

namespace kivtal {

GifButton::GifButton(QWidget* parent) : QPushButton(parent) {
    timer_.setInterval(80);
    connect(&timer_, &QTimer::timeout, this, &GifButton::ShowNextFrame);
}

void GifButton::SetFrameFolder(const QString& folder) {
    folder_ = folder;
    frames_.Load(folder);
}

bool GifButton::SetSkinAttribute(const QString& name, const QString& value) {
    if (name != u"foreimage") return false;
    const auto spec = ParseImageSpec(value);
    if (spec && spec->file.isEmpty() && !frames_.IsEmpty()) {
        timer_.start();
        ShowNextFrame();
        return false;  // the toolkit still clears the static fore image
    }
    timer_.stop();
    setIcon(QIcon());
    return false;
}

void GifButton::ShowNextFrame() {
    const QPixmap frame = frames_.Next();
    setIconSize(frame.size());
    setIcon(QIcon(frame));
}

}  // namespace kivtal
