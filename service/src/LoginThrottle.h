#pragma once
// Failed logins counted per account name and per client address over a window. Past
// either limit, further attempts are refused without checking the password until the
// window ends, so guessing costs the service nothing and gets nowhere fast.
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kivtal::service {

struct ThrottleLimits {
    int perAccount = 10;
    int perAddress = 100;
    std::chrono::seconds window{600};
};

class LoginThrottle {
public:
    explicit LoginThrottle(ThrottleLimits limits = {}) : limits_(limits) {}

    bool allows(std::string_view account, std::string_view address);
    void failed(std::string_view account, std::string_view address);
    // A good password clears the account's count (not the address's).
    void succeeded(std::string_view account);

private:
    using Clock = std::chrono::steady_clock;
    struct Count {
        int failures = 0;
        Clock::time_point since;
    };
    using Counts = std::unordered_map<std::string, Count>;

    bool within(const Counts& counts, std::string_view key, int limit, Clock::time_point now) const;
    void count(Counts& counts, std::string_view key, Clock::time_point now);

    ThrottleLimits limits_;
    std::mutex mutex_;
    Counts accounts_;
    Counts addresses_;
};

}  // namespace kivtal::service
