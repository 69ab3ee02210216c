#include "ui/toolkit/GifLabel.h"

namespace kivtal {

GifLabel::GifLabel(QWidget* parent) : QLabel(parent) { setAlignment(Qt::AlignCenter); }

void GifLabel::SetFrameFolder(const QString& folder) {
    folder_ = folder;
    frames_.Load(folder);
    NextFrame();
}

void GifLabel::NextFrame() {
    if (!frames_.IsEmpty()) setPixmap(frames_.Next());
}

}  // namespace kivtal
