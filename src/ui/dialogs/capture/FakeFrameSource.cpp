#include "ui/dialogs/capture/FakeFrameSource.h"

#include <QPainter>
#include <cstring>

namespace kivtal {
namespace {

QImage PaintCard(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor("#3a3f47"));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(size.width() * 0.12, size.height() * 0.2, size.width() * 0.76, size.height() * 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#fbfaf6"));
    p.drawRoundedRect(card, 12, 12);
    p.setBrush(QColor("#2b7cd3"));
    p.drawRect(QRectF(card.left(), card.top(), card.width() * 0.04, card.height()));
    QFont font("Noto Sans CJK SC");
    font.setPixelSize(std::max(8, size.height() / 12));
    p.setFont(font);
    p.setPen(QColor("#222222"));
    const QRectF text = card.adjusted(card.width() * 0.1, card.height() * 0.12, -20, -20);
    p.drawText(text, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("张晓明"));
    font.setPixelSize(std::max(6, size.height() / 26));
    p.setFont(font);
    p.setPen(QColor("#555555"));
    p.drawText(text, Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("华东区销售经理\n手机 138 0000 0000\nzhang@example.com"));
    return image;
}

}  // namespace

FakeFrameSource::FakeFrameSource(QSize frameSize, int intervalMs) : card_(PaintCard(frameSize)) {
    // The live view holds one frame, a shot another, and the next is painted.
    for (int i = 0; i < 3; ++i) buffers_.push_back(card_.copy());
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { PushFrame(MakeFrame()); });
}

FrameSource::OpenResult FakeFrameSource::Open() {
    if (!present_ || !plugged_) return OpenResult::kNoScanner;
    return openFails_ ? OpenResult::kFailed : OpenResult::kOpened;
}

bool FakeFrameSource::Run() {
    if (!plugged_) return false;
    running_ = true;
    ++runCount_;
    if (timer_.interval() > 0) timer_.start();
    return true;
}

void FakeFrameSource::Pause() {
    running_ = false;
    timer_.stop();
}

void FakeFrameSource::Stop() { Pause(); }

void FakeFrameSource::Unplug() {
    plugged_ = false;
    Pause();
    emit DeviceGone();
}

void FakeFrameSource::Plug() {
    plugged_ = true;
    Run();
    emit DeviceBack();
}

void FakeFrameSource::PushFrame(const QImage& frame) {
    if (running_) emit FrameArrived(frame);
}

// A camera turns its frames into pictures on a thread of its own; the fake makes them on
// the window's thread, so it must not take the window longer than a real one would. A
// new 5 MB copy a frame faults fresh pages in, and that waited up to 60 ms on the
// process's memory lock while the recognition thread allocated: the frame is painted
// into a picture no one holds any more instead.
QImage& FakeFrameSource::FreeBuffer() {
    for (QImage& buffer : buffers_)
        if (buffer.isDetached()) return buffer;
    buffers_.push_back(QImage(card_.size(), card_.format()));
    return buffers_.back();
}

QImage FakeFrameSource::MakeFrame() {
    QImage& frame = FreeBuffer();
    std::memcpy(frame.bits(), card_.constBits(), static_cast<std::size_t>(card_.sizeInBytes()));
    {
        // Ended before the picture is handed out: a picture copied while painted is copied deep.
        QPainter p(&frame);
        QFont font("Noto Sans CJK SC");
        font.setPixelSize(std::max(6, frame.height() / 30));
        p.setFont(font);
        p.setPen(QColor("#9aa3ad"));
        p.drawText(frame.rect().adjusted(12, 8, -12, -8), Qt::AlignRight | Qt::AlignTop,
                   QStringLiteral("测试画面 %1").arg(++frameNumber_));
    }
    return frame;
}

}  // namespace kivtal
