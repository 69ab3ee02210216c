#pragma once
// A button that runs an animation while its fore image is empty (the sync button while
// a synchronisation runs) and shows the fore image otherwise.
#include <QPushButton>
#include <QTimer>

#include "ui/toolkit/FrameSequence.h"
#include "ui/toolkit/AttributeSink.h"

namespace kivtal {

class GifButton : public QPushButton, public AttributeSink {
    Q_OBJECT
    Q_PROPERTY(QString frameFolder READ FrameFolder WRITE SetFrameFolder)
    Q_PROPERTY(int frameInterval READ FrameInterval WRITE SetFrameInterval)

public:
    explicit GifButton(QWidget* parent = nullptr);

    QString FrameFolder() const { return folder_; }
    void SetFrameFolder(const QString& folder);
    int FrameInterval() const { return timer_.interval(); }
    void SetFrameInterval(int milliseconds) { timer_.setInterval(milliseconds); }

    bool IsAnimating() const { return timer_.isActive(); }

    // "foreimage" empty starts the animation; any image stops it and is drawn instead.
    bool SetSkinAttribute(const QString& name, const QString& value) override;

private:
    void ShowNextFrame();

    QString folder_;
    FrameSequence frames_;
    QTimer timer_;
};

}  // namespace kivtal
