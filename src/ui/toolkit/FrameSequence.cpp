#include "ui/toolkit/FrameSequence.h"

namespace kivtal {

void FrameSequence::Load(const QString& folder) {
    frames_.clear();
    current_ = -1;
    if (folder.isEmpty()) return;
    for (int n = 1;; ++n) {
        QPixmap frame(QStringLiteral("%1/%2.png").arg(folder).arg(n));
        if (frame.isNull()) break;
        frames_.push_back(std::move(frame));
    }
}

QPixmap FrameSequence::Next() {
    if (frames_.empty()) return {};
    current_ = (current_ + 1) % Count();
    return frames_[current_];
}

}  // namespace kivtal
