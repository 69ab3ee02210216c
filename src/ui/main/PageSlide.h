#pragma once
// The slide between the two pages of the main window, one step per tick of a UI-thread
// timer so the window keeps handling its messages while the pages move. The leaving
// page shrinks and the arriving page grows by the same amount, so the two always fill
// the page area together; the steps are set for the narrowest area and scale with a
// wider one. Once in place the arriving page follows the window's width again.
#include <QPointer>
#include <QWidget>

namespace kivtal {

inline constexpr int kPageAreaWidth = 562;  // the narrowest page area
inline constexpr int kSlideSteps = 14;
inline constexpr int kSlideIntervalMs = 50;

class PageSlide {
public:
    PageSlide() = default;
    PageSlide(QWidget* leaving, QWidget* arriving);

    bool Running() const { return step_ < kSlideSteps && leaving_ && arriving_; }
    // One step; true once the arriving page fills the area (the slide is over).
    bool Step();
    // Runs the remaining steps at once.
    void Finish();

private:
    QPointer<QWidget> leaving_;
    QPointer<QWidget> arriving_;
    int step_ = 0;
    int area_ = kPageAreaWidth;  // the width the two pages share
    int arrived_ = 0;            // the arriving page's width so far
};

}  // namespace kivtal
