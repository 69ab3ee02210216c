#pragma once
// A numbered window message (number, wParam, lParam) travelling as a Qt event, so that
// posting from any thread goes through Qt's thread-safe event queue and keeps order.
#include <QEvent>
#include <cstdint>

namespace kivtal {

class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(unsigned number, std::intptr_t wParam, std::intptr_t lParam);

    static QEvent::Type EventType();

    unsigned number;
    std::intptr_t wParam;
    std::intptr_t lParam;
};

}  // namespace kivtal
