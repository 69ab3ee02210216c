#pragma once
// The frames of an animation, read as numbered pictures "1.png", "2.png", ... from one
// folder until the first number that is missing.
#include <QPixmap>
#include <QString>
#include <vector>

namespace kivtal {

class FrameSequence {
public:
    // Replaces the frames; an empty or unknown folder leaves none.
    void Load(const QString& folder);

    bool IsEmpty() const { return frames_.empty(); }
    int Count() const { return static_cast<int>(frames_.size()); }
    int CurrentIndex() const { return current_; }

    // Advances to the next frame, wrapping after the last. Empty pixmap when there are none.
    QPixmap Next();

private:
    std::vector<QPixmap> frames_;
    int current_ = -1;
};

}  // namespace kivtal
