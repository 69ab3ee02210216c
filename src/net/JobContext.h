#pragma once
// What a network job needs from the rest of the program. The worker builds one for
// every job; tests build their own around a scripted service, a temporary store and a
// recording poster.
#include <cstdint>
#include <functional>
#include <string>

#include "net/LoginUser.h"
#include "net/NetUtil.h"
#include "net/ServiceConfig.h"
#include "store/LocalStore.h"

namespace kivtal {

struct JobContext {
    NetUtil& net;
    LocalStore& store;
    // The signed-in user whose identity the job's forms carry and whose login state a
    // login job writes.
    LoginUser& user;
    ServiceConfig config;
    // Posts a numbered result to the result window held at the moment of posting.
    std::function<void(unsigned message, std::intptr_t wParam, std::intptr_t lParam)> post;
    // Folder for downloaded pictures ("ads/", "news/") and the installer; ends with '/'.
    std::string downloadDir;
    // Asks the worker for a sync run with the given reason (a request, not a result).
    // May be empty, then nothing is asked.
    std::function<void(int reason)> requestSync;
};

}  // namespace kivtal
