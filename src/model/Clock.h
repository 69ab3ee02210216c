#pragma once
// The time seam: everything that stamps "now" (change-log entries, matters, the
// worker's timer) asks the current clock, so tests can pin or move time.
#include <atomic>
#include <cstdint>

namespace kivtal {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowSeconds() const = 0;      // seconds since 1970 UTC
    virtual std::int64_t steadyMilliseconds() const = 0;  // monotonic, for intervals
};

class SystemClock final : public Clock {
public:
    std::int64_t nowSeconds() const override;
    std::int64_t steadyMilliseconds() const override;
};

// A clock that only moves when told to.
class TestClock final : public Clock {
public:
    explicit TestClock(std::int64_t seconds = 1700000000) : seconds_(seconds), ms_(0) {}
    std::int64_t nowSeconds() const override { return seconds_; }
    std::int64_t steadyMilliseconds() const override { return ms_; }
    void set(std::int64_t seconds) { seconds_ = seconds; }
    void advanceMilliseconds(std::int64_t ms) {
        ms_ += ms;
        seconds_ += ms / 1000;
    }

private:
    std::atomic<std::int64_t> seconds_;
    std::atomic<std::int64_t> ms_;
};

// The process's clock: the system clock unless a test installed another.
const Clock& CurrentClock();
void SetCurrentClock(const Clock* clock);  // nullptr restores the system clock

// Now as the 32-bit seconds the records hold.
int NowSeconds();

// Installs a clock for one scope (tests).
class ScopedClock {
public:
    explicit ScopedClock(const Clock& clock) { SetCurrentClock(&clock); }
    ~ScopedClock() { SetCurrentClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace kivtal
