#pragma once
// Live windows by handle. Handles are never reused, so a result addressed to a window
// that has closed finds nothing and is dropped instead of reaching a newer window that
// happens to sit at the same address.
#include <cstdint>

#include "net/ResultPoster.h"

namespace kivtal {

class WindowImplBase;

namespace WindowRegistry {

WindowHandle Register(WindowImplBase* window);
void Unregister(WindowHandle handle);

// Any thread. False when no live window has this handle (the message is dropped).
bool Post(WindowHandle handle, unsigned number, std::intptr_t wParam, std::intptr_t lParam);

// UI thread only: the window itself, or nullptr once it has closed.
WindowImplBase* Find(WindowHandle handle);

}  // namespace WindowRegistry

// The poster the worker is given: delivers results to live windows through the
// registry, from any thread.
ResultPoster MakeWindowResultPoster();

}  // namespace kivtal
