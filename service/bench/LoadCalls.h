#pragma once
// What the load programs share: a keep-alive caller that logs devices in, uploads and
// receives the way the client does, and latency samples per endpoint with their
// report (requests per second, median and 99th percentile).
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "ContactBatch.h"
#include "Crypto.h"

namespace kivtal::service::bench {

using Clock = std::chrono::steady_clock;

struct Device {
    std::string uniqueId, userId, key;
    std::int64_t time = 0;
};

class Caller {
public:
    explicit Caller(int port) : client_("127.0.0.1", port) {
        client_.set_read_timeout(120, 0);
        client_.set_keep_alive(true);
        client_.set_tcp_nodelay(true);  // as the client's HTTP library does
    }
    // The reply body, or empty after a failure.
    std::string post(const std::string& path, const std::string& body) {
        const auto r = client_.Post(path, body, "application/x-www-form-urlencoded");
        return r && r->status == 200 ? r->body : std::string();
    }
    Device login(const std::string& name, const std::string& uniqueId) {
        const std::string r = post("/Login/login", "username=" + name + "&password=" + ClientPasswordDigest("pw") +
                                                       "&unique_id=" + uniqueId + "&visitor=1");
        std::smatch key, user;
        static const std::regex keyRe(R"("random_key":"([0-9a-f]+))"), userRe(R"("user_id":"(\d+))");
        if (!std::regex_search(r, key, keyRe) || !std::regex_search(r, user, userRe)) return {};
        return {uniqueId, user[1], RequestKey(user[1].str(), uniqueId, key[1].str())};
    }
    static std::string identity(const Device& d) {
        return "key=" + d.key + "&visitor=1&unique_id=" + d.uniqueId + "&user_id=" + d.userId;
    }
    std::string receive(const Device& d) {
        return post("/Sync/receive", identity(d) + "&last_sync=" + std::to_string(d.time));
    }
    std::string send(const Device& d, int first, int count) {
        return post("/Sync/send", identity(d) + "&opers=" + ContactBatch(first, count));
    }

private:
    httplib::Client client_;
};

struct Samples {
    std::mutex mutex;
    std::map<std::string, std::vector<double>> ms;
    int failed = 0;
    // Times `call`, which answers the reply body (empty after a failure).
    template <typename Call>
    void time(const std::string& endpoint, Call call) {
        const auto start = Clock::now();
        const bool ok = !call().empty();
        const double t = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const std::lock_guard lock(mutex);
        ms[endpoint].push_back(t);
        failed += !ok;
    }
};

inline double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

inline void Report(const std::string& title, Samples& s, double seconds) {
    std::size_t total = 0;
    for (auto& [_, v] : s.ms) total += v.size();
    std::printf("%s: %.0f requests/s, %d failed\n", title.c_str(), static_cast<double>(total) / seconds, s.failed);
    for (auto& [endpoint, v] : s.ms) {
        std::printf("  %-14s n=%-6zu p50 %8.1f ms  p99 %8.1f ms\n", endpoint.c_str(), v.size(), Percentile(v, 0.5),
                    Percentile(v, 0.99));
    }
}

}  // namespace kivtal::service::bench
