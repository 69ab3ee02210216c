#include "ui/toolkit/WindowMessage.h"

namespace kivtal {

WindowMessageEvent::WindowMessageEvent(unsigned n, std::intptr_t w, std::intptr_t l, std::shared_ptr<void> p)
    : QEvent(EventType()), number(n), wParam(w), lParam(l), payload(std::move(p)) {}

QEvent::Type WindowMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

}  // namespace kivtal
