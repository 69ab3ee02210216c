#include "ui/main/PageSlide.h"

#include <algorithm>

namespace kivtal {
namespace {

// Fast first, then slow into place: 7 x 70 + 7 x 10 = 560 of the narrowest area.
int StepPixels(int step, int area) { return (step <= kSlideSteps / 2 ? 70 : 10) * area / (kPageAreaWidth - 2); }

}  // namespace

PageSlide::PageSlide(QWidget* leaving, QWidget* arriving)
    : leaving_(leaving), arriving_(arriving), area_(std::max(kPageAreaWidth, leaving ? leaving->width() : 0)) {}

bool PageSlide::Step() {
    if (!Running()) return true;
    arrived_ += StepPixels(++step_, area_);
    leaving_->setVisible(true);
    arriving_->setVisible(true);
    // Fixed widths, not geometry: the layout applies them later, between the ticks.
    leaving_->setFixedWidth(std::max(0, area_ - arrived_));
    arriving_->setFixedWidth(std::min(area_, arrived_));
    // In place two pixels short of the area: those are the frame.
    if (arrived_ < area_ - 2 && step_ < kSlideSteps) return false;
    leaving_->setFixedWidth(0);
    leaving_->setVisible(false);
    arriving_->setMinimumWidth(kPageAreaWidth);
    arriving_->setMaximumWidth(QWIDGETSIZE_MAX);
    step_ = kSlideSteps;
    return true;
}

void PageSlide::Finish() {
    while (!Step()) {
    }
}

}  // namespace kivtal
