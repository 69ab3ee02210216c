#pragma once
// A label showing an animation one frame per NextFrame call; its window's timer sets
// the pace, so the animation stops with the window.
#include <QLabel>

#include "ui/toolkit/FrameSequence.h"

namespace kivtal {

class GifLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString frameFolder READ FrameFolder WRITE SetFrameFolder)

public:
    explicit GifLabel(QWidget* parent = nullptr);

    QString FrameFolder() const { return folder_; }
    void SetFrameFolder(const QString& folder);

    void NextFrame();
    int FrameCount() const { return frames_.Count(); }
    int CurrentFrame() const { return frames_.CurrentIndex(); }

private:
    QString folder_;
    FrameSequence frames_;
};

}  // namespace kivtal
