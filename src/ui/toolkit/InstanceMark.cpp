#include "ui/toolkit/InstanceMark.h"

#include <QApplication>

#include "ui/toolkit/WindowImplBase.h"

namespace kivtal::InstanceMark {
namespace {

constexpr char kProperty[] = "Kivtal";

// A closed window lingers until its deletion runs; showing it again would revive a
// window whose loop has already ended.
bool IsClosing(QWidget* window) {
    auto* toolkitWindow = qobject_cast<WindowImplBase*>(window);
    return toolkitWindow && toolkitWindow->IsClosing();
}

}  // namespace

void Set(QWidget* window) {
    if (window) window->setProperty(kProperty, 1);
}

void Clear(QWidget* window) {
    if (window) window->setProperty(kProperty, QVariant());
}

bool IsSet(const QWidget* window) { return window && window->property(kProperty).toInt() == 1; }

QWidget* Find() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (IsSet(window) && !IsClosing(window)) return window;
    return nullptr;
}

bool BringForward() {
    QWidget* window = Find();
    if (!window) return false;
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

}  // namespace kivtal::InstanceMark
