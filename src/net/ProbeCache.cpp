#include "net/ProbeCache.h"

namespace kivtal {

std::optional<bool> ProbeCache::answer(Clock::time_point now) const {
    std::lock_guard<std::mutex> lock(mutex_);
    // A clock read before the answer was stored (another thread's) is just as recent.
    if (!online_ || now - at_ >= kKeep) return std::nullopt;
    return online_;
}

void ProbeCache::store(bool online, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    online_ = online;
    at_ = now;
}

}  // namespace kivtal
