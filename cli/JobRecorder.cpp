#include "JobRecorder.h"

#include <algorithm>

#include "net/LoginUser.h"
#include "net/NetUtil.h"
#include "net/ServiceConfig.h"

namespace kivtal::cli {

JobContext JobRecorder::context(LocalStore& store) {
    return JobContext{
        NetUtil::Instance(),
        store,
        LoginUser::Instance(),
        ServiceConfig::FromEnvironment(),
        [this](unsigned message, std::intptr_t wParam, std::intptr_t lParam) { record(message, wParam, lParam); },
        store.dataDir(),
        {},  // the command runs its own sync where the client's worker would be asked for one
    };
}

void JobRecorder::record(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back({message, wParam, lParam});
}

bool JobRecorder::saw(unsigned message, std::intptr_t wParam) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::any_of(posted_.begin(), posted_.end(),
                       [&](const PostedResult& p) { return p.message == message && p.wParam == wParam; });
}

}  // namespace kivtal::cli
