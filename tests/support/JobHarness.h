#pragma once
// A network job's world for tests: a scripted service on 127.0.0.1, a transport whose
// connectivity probe answers what the test says, a store in a scratch folder and a
// recorder of the results the job posts.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "net/JobContext.h"
#include "net/NetUtil.h"
#include "store/LocalStore.h"
#include "support/ScriptedService.h"
#include "support/TempDir.h"

namespace kivtal::test {

class ProbedNet : public NetUtil {
public:
    ProbedNet() : NetUtil(std::vector<std::string>{"127.0.0.1"}) {}
    bool isNetworkAvailable() override { return online; }
    std::atomic<bool> online{true};
};

struct Posted {
    unsigned message;
    std::intptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Posted&) const = default;
};

class PostLog {
public:
    void add(const Posted& p) {
        std::lock_guard<std::mutex> lock(mutex_);
        posts_.push_back(p);
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        posts_.clear();
    }
    std::vector<Posted> all() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return posts_;
    }
    // The wParams posted with one message, in order.
    std::vector<std::intptr_t> codes(unsigned message) const {
        std::vector<std::intptr_t> out;
        for (const Posted& p : all())
            if (p.message == message) out.push_back(p.wParam);
        return out;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Posted> posts_;
};

struct JobHarness {
    JobHarness() : store(StorePaths{dir.path() + "user/", "/nonexistent/doz2a_v3.db"}) {
        config.apiUrl = service.url();
        config.webUrl = service.url();
    }

    JobContext context() {
        JobContext ctx{net, store, config, nullptr, dir.path() + "dl/", nullptr};
        ctx.post = [this](unsigned m, std::intptr_t w, std::intptr_t l) { posts.add({m, w, l}); };
        ctx.requestSync = [this](int reason) { syncRequests.push_back(reason); };
        return ctx;
    }

    // Bodies of the requests that went to one path, in order.
    std::vector<std::string> bodies(const std::string& path) const {
        std::vector<std::string> out;
        for (const Request& r : service.requests())
            if (r.path == path) out.push_back(r.body);
        return out;
    }

    TempDir dir;
    ScriptedService service;
    ProbedNet net;
    LocalStore store;
    ServiceConfig config;
    PostLog posts;
    std::vector<int> syncRequests;
};

}  // namespace kivtal::test
