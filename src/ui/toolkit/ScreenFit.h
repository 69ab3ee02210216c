#pragma once
// Keeping windows on the desktop: a window that opens near an edge, or grows, is moved
// back so that all of it (or, when it is larger than the desktop, its top left with the
// caption) can be reached.
#include <QRect>

namespace kivtal {

// `frame` moved the least distance that puts it inside `available`; when it is wider or
// taller than `available`, its left or top edge goes to the desktop's. `frame` unchanged
// when `available` is empty.
QRect FitOnScreen(const QRect& frame, const QRect& available);

}  // namespace kivtal
