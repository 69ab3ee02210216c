#pragma once
// The instance mark: the one top-level window of a running instance that a second
// start brings forward. The login window and the main window set it on themselves when
// they are created and clear it in their final teardown.
#include <QWidget>

namespace kivtal::InstanceMark {

void Set(QWidget* window);
void Clear(QWidget* window);
bool IsSet(const QWidget* window);

// The first top-level window carrying the mark, visible or hidden (a main window
// hidden in the tray keeps it); nullptr when none does.
QWidget* Find();

// Shows the marked window (a plain show, no restore from minimised), raises it and
// gives it the focus. False when no window carries the mark. UI thread.
bool BringForward();

}  // namespace kivtal::InstanceMark
