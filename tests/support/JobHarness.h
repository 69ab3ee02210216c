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
    void add(const Posted& p);
    void clear();
    std::vector<Posted> all() const;
    // The wParams posted with one message, in order.
    std::vector<std::intptr_t> codes(unsigned message) const;

private:
    mutable std::mutex mutex_;
    std::vector<Posted> posts_;
};

struct JobHarness {
    JobHarness();

    // A context over this harness: results go to `posts`, sync requests to
    // `syncRequests`.
    JobContext context();

    // Bodies of the requests that went to one path, in order.
    std::vector<std::string> bodies(const std::string& path) const;

    TempDir dir;
    ScriptedService service;
    ProbedNet net;
    LocalStore store;
    ServiceConfig config;
    // The process's signed-in user unless a test gives the harness one of its own.
    LoginUser* user = &LoginUser::Instance();
    PostLog posts;
    std::vector<int> syncRequests;
};

}  // namespace kivtal::test
