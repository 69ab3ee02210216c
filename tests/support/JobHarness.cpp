#include "support/JobHarness.h"

namespace kivtal::test {

void PostLog::add(const Posted& p) {
    std::lock_guard<std::mutex> lock(mutex_);
    posts_.push_back(p);
}

void PostLog::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    posts_.clear();
}

std::vector<Posted> PostLog::all() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return posts_;
}

std::vector<std::intptr_t> PostLog::codes(unsigned message) const {
    std::vector<std::intptr_t> out;
    for (const Posted& p : all())
        if (p.message == message) out.push_back(p.wParam);
    return out;
}

JobHarness::JobHarness() : store(StorePaths{dir.path() + "user/", "/nonexistent/doz2a_v3.db"}) {
    config.apiUrl = service.url();
    config.webUrl = service.url();
}

JobContext JobHarness::context() {
    JobContext ctx{net, store, *user, config, nullptr, dir.path() + "dl/", nullptr};
    ctx.post = [this](unsigned m, std::intptr_t w, std::intptr_t l) { posts.add({m, w, l}); };
    ctx.requestSync = [this](int reason) { syncRequests.push_back(reason); };
    return ctx;
}

std::vector<std::string> JobHarness::bodies(const std::string& path) const {
    std::vector<std::string> out;
    for (const Request& r : service.requests())
        if (r.path == path) out.push_back(r.body);
    return out;
}

}  // namespace kivtal::test
