#pragma once
// The worker's synchronisation timer: the interval rules a sync request applies, and
// the one periodic timer that asks for the next run.
#include <cstdint>
#include <optional>

namespace kivtal {

inline constexpr std::uint32_t kInitialSyncInterval = 2500000;  // ms, about 42 minutes
// Timers cannot wait longer than this; a longer interval runs at this period.
inline constexpr std::int64_t kMaxTimerPeriodMs = 0x7FFFFFFF;

struct SyncDecision {
    std::uint32_t interval;  // the interval from now on
    bool restart;            // restart the countdown and start a run
};

// What a sync request with `reason` does, given the current interval and whether a
// run or an immediate commit is in flight. The timer doubles its wait after every run
// nobody asked for, so an idle client asks the service less and less often; any user
// action starts the countdown over.
SyncDecision DecideSync(std::uint32_t interval, int reason, bool busy);

// The console word for a reason ("by_user", ...); nullptr for other reasons.
const char* SyncReasonLabel(int reason);

// One periodic timer on a millisecond clock. Not thread-safe: the owner guards it.
class WorkerTimer {
public:
    // Replaces any running countdown: the first tick is one period after `nowMs`.
    void start(std::uint32_t intervalMs, std::int64_t nowMs);
    void kill() { dueAt_.reset(); }

    bool armed() const { return dueAt_.has_value(); }
    std::int64_t periodMs() const { return periodMs_; }
    // Milliseconds until the next tick (0 when due); nullopt when not armed.
    std::optional<std::int64_t> msUntilDue(std::int64_t nowMs) const;
    // True when a tick is due at `nowMs`; the timer then counts the next period from
    // `nowMs`. Ticks missed while nobody looked collapse into one.
    bool fireIfDue(std::int64_t nowMs);

private:
    std::optional<std::int64_t> dueAt_;
    std::int64_t periodMs_ = 0;
};

}  // namespace kivtal
