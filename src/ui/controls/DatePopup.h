#pragma once
// The house pop-up of a date edit: a Chinese month grid that starts on Sunday, in the
// skin's look, opened where it leaves the window's buttons uncovered.
#include <QPointer>
#include <QRect>
#include <vector>

class QDateEdit;
class QWidget;

namespace kivtal {

// Gives `edit` the house pop-up. Each time it opens it takes the first place, below the
// edit, above it, right of it or left of it, that stays on the edit's screen and covers
// none of `keepClear`; when none does, Qt's own place below the edit.
void UseHouseDatePopup(QDateEdit& edit, std::vector<QPointer<QWidget>> keepClear);

// The place chosen for a pop-up of `size` beside `anchor` (both in screen coordinates).
QRect DatePopupPlace(const QRect& anchor, const QSize& size, const QRect& screen, const std::vector<QRect>& keepClear);

}  // namespace kivtal
