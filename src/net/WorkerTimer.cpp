#include "net/WorkerTimer.h"

#include <algorithm>

#include "net/WorkerMessages.h"

namespace kivtal {

SyncDecision DecideSync(std::uint32_t interval, int reason, bool busy) {
    switch (reason) {
        case SYNC_BY_USER:
        case SYNC_BY_OPER_EFFECT: return {kInitialSyncInterval, !busy};
        case SYNC_BY_DEFAULT: {
            if (busy) return {kInitialSyncInterval, false};
            const std::uint32_t doubled = interval * 2u;  // wraps: 32-bit like the stored interval
            return {doubled == 0 ? kInitialSyncInterval : doubled, true};
        }
        default: return {interval, true};
    }
}

const char* SyncReasonLabel(int reason) {
    switch (reason) {
        case SYNC_BY_USER: return "by_user";
        case SYNC_BY_DEFAULT: return "by_default";
        case SYNC_BY_OPER_EFFECT: return "by_oper_effect";
        default: return nullptr;
    }
}

void WorkerTimer::start(std::uint32_t intervalMs, std::int64_t nowMs) {
    periodMs_ = std::min<std::int64_t>(intervalMs, kMaxTimerPeriodMs);
    dueAt_ = nowMs + periodMs_;
}

std::optional<std::int64_t> WorkerTimer::msUntilDue(std::int64_t nowMs) const {
    if (!dueAt_) return std::nullopt;
    return std::max<std::int64_t>(*dueAt_ - nowMs, 0);
}

bool WorkerTimer::fireIfDue(std::int64_t nowMs) {
    if (!dueAt_ || nowMs < *dueAt_) return false;
    dueAt_ = nowMs + periodMs_;
    return true;
}

}  // namespace kivtal
