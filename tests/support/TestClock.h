#pragma once
// The tests' clock: it only moves when told to, and a scoped setter installs it as the
// process's clock (CurrentClock()) for one test and restores the system clock after.
//
//   test::TestClock clock{1700000000};
//   test::ScopedClock pinned{clock};
//   clock.advanceMilliseconds(61000);  // the store and the worker's timer see it
#include <atomic>
#include <cstdint>

#include "model/Clock.h"

namespace kivtal::test {

class TestClock final : public Clock {
public:
    explicit TestClock(std::int64_t seconds = 1700000000) : seconds_(seconds), ms_(0) {}
    std::int64_t nowSeconds() const override { return seconds_; }
    std::int64_t steadyMilliseconds() const override { return ms_; }
    void set(std::int64_t seconds) { seconds_ = seconds; }
    void advanceMilliseconds(std::int64_t ms);

private:
    std::atomic<std::int64_t> seconds_;
    std::atomic<std::int64_t> ms_;
};

// Installs a clock for one scope.
class ScopedClock {
public:
    explicit ScopedClock(const Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace kivtal::test
