#pragma once
// The time seam: everything that stamps "now" (change-log entries, matters, the
// worker's timer) asks the current clock, so tests can pin or move time.
#include <cstdint>

namespace kivtal {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowSeconds() const = 0;          // seconds since 1970 UTC
    virtual std::int64_t steadyMilliseconds() const = 0;  // monotonic, for intervals
};

class SystemClock final : public Clock {
public:
    std::int64_t nowSeconds() const override;
    std::int64_t steadyMilliseconds() const override;
};

// The process's clock: the system clock unless a test installed another.
const Clock& CurrentClock();
// Tests install theirs with a scoped setter (tests/support/TestClock.h).
void SetCurrentClock(const Clock* clock);  // nullptr restores the system clock

// Now as the 32-bit seconds the records hold.
int NowSeconds();

}  // namespace kivtal
