#include "model/Clock.h"

#include <atomic>
#include <chrono>

namespace kivtal {

namespace {
const SystemClock kSystemClock;
std::atomic<const Clock*> g_current{nullptr};
}  // namespace

std::int64_t SystemClock::nowSeconds() const {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

std::int64_t SystemClock::steadyMilliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const Clock& CurrentClock() {
    const Clock* c = g_current.load();
    return c != nullptr ? *c : kSystemClock;
}

void SetCurrentClock(const Clock* clock) { g_current.store(clock); }

int NowSeconds() { return static_cast<int>(CurrentClock().nowSeconds()); }

}  // namespace kivtal
