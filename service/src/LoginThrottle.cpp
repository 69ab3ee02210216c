#include "LoginThrottle.h"

#include <iterator>

namespace kivtal::service {

namespace {

// Past this many names or addresses counted, expired counts are dropped, so guesses
// at endless made-up names cannot grow the table without end.
constexpr std::size_t kPruneAt = 100'000;

}  // namespace

bool LoginThrottle::within(const Counts& counts, std::string_view key, int limit, Clock::time_point now) const {
    const auto it = counts.find(std::string(key));
    return it == counts.end() || now - it->second.since >= limits_.window || it->second.failures < limit;
}

void LoginThrottle::count(Counts& counts, std::string_view key, Clock::time_point now) {
    if (counts.size() >= kPruneAt) {
        for (auto it = counts.begin(); it != counts.end();) {
            it = now - it->second.since >= limits_.window ? counts.erase(it) : std::next(it);
        }
    }
    Count& c = counts[std::string(key)];
    if (now - c.since >= limits_.window) c = {0, now};
    ++c.failures;
}

bool LoginThrottle::allows(std::string_view account, std::string_view address) {
    const auto now = Clock::now();
    const std::lock_guard lock(mutex_);
    return within(accounts_, account, limits_.perAccount, now) && within(addresses_, address, limits_.perAddress, now);
}

void LoginThrottle::failed(std::string_view account, std::string_view address) {
    const auto now = Clock::now();
    const std::lock_guard lock(mutex_);
    count(accounts_, account, now);
    count(addresses_, address, now);
}

void LoginThrottle::succeeded(std::string_view account) {
    const std::lock_guard lock(mutex_);
    accounts_.erase(std::string(account));
}

}  // namespace kivtal::service
