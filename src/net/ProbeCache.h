#pragma once
// The connectivity probe's last answer, kept for a few seconds. Every job starts with
// the probe, and a sync from the command line runs five jobs in a row (login, version
// check, advertisements, news, the sync itself): one ping then stands for all of them.
//
// Keeping the answer loses nothing. The probe samples the machine's network at one
// moment and tells a job only whether to try the service at all. A job sent on by an
// "online" that is stale meets a service it cannot reach, and reports that as it
// would any failed request (an empty reply is a failure to every job); a stale
// "offline" holds a job back for at most the few seconds kept, as a probe taken a
// moment earlier would have.
#include <chrono>
#include <mutex>
#include <optional>

namespace kivtal {

class ProbeCache {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kKeep{3000};

    // The answer stored less than kKeep before `now`, else none.
    std::optional<bool> answer(Clock::time_point now) const;
    void store(bool online, Clock::time_point now);

private:
    mutable std::mutex mutex_;  // job threads probe at once
    std::optional<bool> online_;
    Clock::time_point at_;
};

}  // namespace kivtal
