#include "ui/toolkit/WindowRegistry.h"

#include <QCoreApplication>
#include <QPointer>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "ui/toolkit/WindowImplBase.h"
#include "ui/toolkit/WindowMessage.h"

namespace kivtal {
namespace {

struct Registry {
    std::mutex mutex;
    std::unordered_map<WindowHandle, QPointer<WindowImplBase>> windows;
    WindowHandle next = 1;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

WindowHandle WindowRegistry::Register(WindowImplBase* window) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    const WindowHandle handle = r.next++;
    r.windows.emplace(handle, window);
    return handle;
}

void WindowRegistry::Unregister(WindowHandle handle) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.windows.erase(handle);
}

namespace {

bool PostEvent(WindowHandle handle, std::unique_ptr<WindowMessageEvent> message) {
    Registry& r = TheRegistry();
    // Posting under the lock: a window unregisters (under this lock) before its QObject
    // part is destroyed, so the target cannot vanish between the lookup and the post.
    // Qt deletes the events still queued for a window that is destroyed.
    std::lock_guard lock(r.mutex);
    const auto it = r.windows.find(handle);
    if (it == r.windows.end() || it->second.isNull()) return false;
    QCoreApplication::postEvent(it->second.data(), message.release());
    return true;
}

}  // namespace

bool WindowRegistry::Post(WindowHandle handle, unsigned number, std::intptr_t wParam, std::intptr_t lParam) {
    return PostEvent(handle, std::make_unique<WindowMessageEvent>(number, wParam, lParam));
}

bool WindowRegistry::PostPayload(WindowHandle handle, unsigned number, std::intptr_t wParam,
                                 std::shared_ptr<void> payload) {
    const auto lParam = reinterpret_cast<std::intptr_t>(payload.get());
    return PostEvent(handle, std::make_unique<WindowMessageEvent>(number, wParam, lParam, std::move(payload)));
}

WindowImplBase* WindowRegistry::Find(WindowHandle handle) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.windows.find(handle);
    return it == r.windows.end() ? nullptr : it->second.data();
}

ResultPoster MakeWindowResultPoster() {
    return [](WindowHandle window, unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
        WindowRegistry::Post(window, message, wParam, lParam);
    };
}

}  // namespace kivtal
