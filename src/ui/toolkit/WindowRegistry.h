#pragma once
// Live windows by handle. Handles are never reused, so a result addressed to a window
// that has closed finds nothing and is dropped instead of reaching a newer window that
// happens to sit at the same address.
#include <cstdint>
#include <memory>

#include "net/ResultPoster.h"

namespace kivtal {

class WindowImplBase;

namespace WindowRegistry {

WindowHandle Register(WindowImplBase* window);
void Unregister(WindowHandle handle);

// Any thread. False when no live window has this handle (the message is dropped).
bool Post(WindowHandle handle, unsigned number, std::intptr_t wParam, std::intptr_t lParam);

// Any thread. Posts a value (an image, a record) that the message owns: the handler
// finds it at lParam (MessageValue<T>) and may move it out; it is freed with the
// message, also when the window closes before handling it or is already gone (false).
template <class T>
bool PostValue(WindowHandle handle, unsigned number, std::intptr_t wParam, T value);
bool PostPayload(WindowHandle handle, unsigned number, std::intptr_t wParam, std::shared_ptr<void> payload);

// UI thread only: the window itself, or nullptr once it has closed.
WindowImplBase* Find(WindowHandle handle);

template <class T>
bool PostValue(WindowHandle handle, unsigned number, std::intptr_t wParam, T value) {
    return PostPayload(handle, number, wParam, std::make_shared<T>(std::move(value)));
}

}  // namespace WindowRegistry

// The value of a message posted with PostValue<T>; lParam of that message. Valid while
// the message is handled: move it out to keep it.
template <class T>
T& MessageValue(std::intptr_t lParam) {
    return *reinterpret_cast<T*>(lParam);
}

// The poster the worker is given: delivers results to live windows through the
// registry, from any thread.
ResultPoster MakeWindowResultPoster();

}  // namespace kivtal
