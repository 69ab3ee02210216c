#pragma once
// The one channel from network jobs to windows: a numbered result posted to an opaque
// window handle. The window layer installs a thread-safe poster; until it does (and in
// tests) results go to whatever poster was installed, or nowhere.
#include <cstdint>
#include <functional>

namespace kivtal {

using WindowHandle = std::uintptr_t;  // 0 = no window
using ResultPoster =
    std::function<void(WindowHandle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam)>;

}  // namespace kivtal
