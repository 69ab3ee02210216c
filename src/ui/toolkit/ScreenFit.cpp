#include "ui/toolkit/ScreenFit.h"

#include <algorithm>

namespace kivtal {

namespace {

// The start of a span of `length` moved into [low, high]; the low end wins when it
// does not fit.
int FitSpan(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length + 1)); }

}  // namespace

QRect FitOnScreen(const QRect& frame, const QRect& available) {
    if (available.isEmpty()) return frame;
    QRect fitted = frame;
    fitted.moveTo(FitSpan(frame.left(), frame.width(), available.left(), available.right()),
                  FitSpan(frame.top(), frame.height(), available.top(), available.bottom()));
    return fitted;
}

}  // namespace kivtal
