#pragma once
// Helpers for driving real windows in tests: waiting on the event loop, answering the
// next modal window by clicking one of its real buttons, and finding open windows.
#include <QApplication>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/toolkit/WindowImplBase.h"

namespace kivtal::test {

// Runs the event loop until done() holds or timeoutMs passes; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000);
// Runs pending events, deferred deletions included.
void Pump();

// The next window that enters a modal loop gets inspect(window) called, then the
// control named button clicked with the mouse. One-shot.
void AnswerNextModal(const QString& button, std::function<void(WindowImplBase&)> inspect = {});

// Clicks a control of window with the left mouse button, through the window system's
// event path: a window blocked by a modal one receives nothing, as for a user.
void ClickControl(WindowImplBase& window, const QString& name);
// The same for any shown control; at is in the control's coordinates (null: centre).
void ClickThroughWindow(QWidget* control, QPoint at = {});

// Visible top-level windows whose window class name is className.
std::vector<WindowImplBase*> VisibleWindows(const QString& className);

// Closes every toolkit window still open, so tests do not leak into one another.
void CloseAllWindows();

}  // namespace kivtal::test
