#pragma once
// A device driven through the core library in this process, for the jobs the command
// line does not run (immediate commits, content, card upload): the same job functions
// the worker starts, against the real service.
#include <gtest/gtest.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "net/AccountJobs.h"
#include "net/Identity.h"
#include "net/JobContext.h"
#include "net/LoginUser.h"
#include "net/NetUtil.h"
#include "store/LocalStore.h"
#include "store/StorePaths.h"
#include "support/TempDir.h"

namespace kivtal::e2e {

class CoreDevice {
public:
    CoreDevice(std::string uniqueId, const std::string& apiUrl)
        : uniqueId_(std::move(uniqueId)), store_(StorePaths{dir_.path(), DefaultRefDbPath()}) {
        config_.apiUrl = apiUrl;
        config_.webUrl = apiUrl;
        config_.probeHosts = {"127.0.0.1"};
    }

    // Logs in as the login window does; the signed-in state is the process's one.
    int login(const std::string& name, const std::string& password) {
        EXPECT_EQ(store_.EnsureLoginDb(), 0);
        LoginUser::Instance().reset();
        LoginUser::Instance().update([&](LoginUserState& s) {
            s.login_name = name;
            s.password = md5Hex(md5Hex(password));
            s.unique_id = uniqueId_;
        });
        JobContext ctx = context();
        return RunLoginJob(ctx);
    }

    JobContext context() {
        return JobContext{net_,
                          store_,
                          LoginUser::Instance(),
                          config_,
                          [this](unsigned m, std::intptr_t w, std::intptr_t) {
                              std::lock_guard<std::mutex> lock(mutex_);
                              posted_.emplace_back(m, w);
                          },
                          dir_.path(),
                          {}};
    }

    // The codes posted with one result message, in order.
    std::vector<std::intptr_t> posted(unsigned message) const {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<std::intptr_t> out;
        for (const auto& [m, w] : posted_)
            if (m == message) out.push_back(w);
        return out;
    }

    LocalStore& store() { return store_; }
    const std::string& folder() const { return dir_.path(); }

private:
    kivtal::test::TempDir dir_;
    std::string uniqueId_;
    LocalStore store_;
    NetUtil net_{std::vector<std::string>{"127.0.0.1"}};
    ServiceConfig config_;
    mutable std::mutex mutex_;
    std::vector<std::pair<unsigned, std::intptr_t>> posted_;
};

}  // namespace kivtal::e2e
