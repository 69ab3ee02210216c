#pragma once
// A numbered window message (number, wParam, lParam) travelling as a Qt event, so that
// posting from any thread goes through Qt's thread-safe event queue and keeps order.
#include <QEvent>
#include <cstdint>
#include <memory>

namespace kivtal {

class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(unsigned number, std::intptr_t wParam, std::intptr_t lParam, std::shared_ptr<void> payload = {});

    static QEvent::Type EventType();

    unsigned number;
    std::intptr_t wParam;
    std::intptr_t lParam;
    // A value owned by the message (lParam is then its address): freed with the event,
    // whether it was handled or dropped because the window had closed.
    std::shared_ptr<void> payload;
};

}  // namespace kivtal
