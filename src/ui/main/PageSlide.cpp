#include "ui/main/PageSlide.h"

#include <algorithm>

namespace kivtal {
namespace {

// Fast first, then slow into place: 7 x 70 + 7 x 10 = 560.
int StepPixels(int step) { return step <= kSlideSteps / 2 ? 70 : 10; }

// The arriving page counts as in place from here; the last two pixels are the frame.
constexpr int kArrivedWidth = 560;

}  // namespace

bool PageSlide::Step() {
    if (!Running()) return true;
    const int pixels = StepPixels(++step_);
    leaving_->setVisible(true);
    arriving_->setVisible(true);
    // Fixed widths, not geometry: the layout applies them later, between the ticks.
    leaving_->setFixedWidth(std::max(0, leaving_->maximumWidth() - pixels));
    arriving_->setFixedWidth(arriving_->maximumWidth() + pixels);
    if (arriving_->maximumWidth() < kArrivedWidth && step_ < kSlideSteps) return false;
    leaving_->setFixedWidth(0);
    leaving_->setVisible(false);
    arriving_->setFixedWidth(kPageAreaWidth);
    step_ = kSlideSteps;
    return true;
}

void PageSlide::Finish() {
    while (!Step()) {
    }
}

}  // namespace kivtal
