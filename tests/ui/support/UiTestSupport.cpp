#include "ui/support/UiTestSupport.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace kivtal::test {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

void Pump() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

void AnswerNextModal(const QString& button, std::function<void(WindowImplBase&)> inspect) {
    WindowImplBase::SetModalObserver([button, inspect](WindowImplBase& window) {
        WindowImplBase::SetModalObserver({});
        if (inspect) inspect(window);
        ClickControl(window, button);
    });
}

void ClickControl(WindowImplBase& window, const QString& name) {
    QWidget* control = window.FindControl(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    ClickThroughWindow(control);
}

void ClickThroughWindow(QWidget* control, QPoint at) {
    QWidget* top = control->window();
    ASSERT_NE(top->windowHandle(), nullptr) << "not shown: " << control->objectName().toStdString();
    if (at.isNull()) at = control->rect().center();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, control->mapTo(top, at));
}

std::vector<WindowImplBase*> VisibleWindows(const QString& className) {
    std::vector<WindowImplBase*> found;
    for (QWidget* w : QApplication::allWidgets()) {
        auto* window = qobject_cast<WindowImplBase*>(w);
        if (window && window->isVisible() && !window->IsClosing() && window->GetWindowClassName() == className)
            found.push_back(window);
    }
    return found;
}

void CloseAllWindows() {
    WindowImplBase::SetModalObserver({});
    for (QWidget* w : QApplication::allWidgets()) {
        if (auto* window = qobject_cast<WindowImplBase*>(w)) window->Close(0);
    }
    Pump();
}

}  // namespace kivtal::test
