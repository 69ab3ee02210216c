#include "support/TestClock.h"

namespace kivtal::test {

void TestClock::advanceMilliseconds(std::int64_t ms) {
    ms_ += ms;
    seconds_ += ms / 1000;
}

ScopedClock::ScopedClock(const Clock& clock) { SetCurrentClock(&clock); }

ScopedClock::~ScopedClock() { SetCurrentClock(nullptr); }

}  // namespace kivtal::test
