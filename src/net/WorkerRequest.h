#pragma once
// A request to the network worker and the jobs it can start. A request owns a copy of
// the record it carries, so the posting window may close or change its own copy while
// the job still runs.
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "model/Records.h"
#include "net/JobContext.h"
#include "net/WorkerMessages.h"

namespace kivtal {

struct WorkerRequest {
    using Payload = std::variant<std::monostate, EventAlarm, UserInfo, TalEvent, int>;

    unsigned message = 0;
    // WM_REQ_SYNC only; a sync request without a reason is ignored.
    std::optional<int> reason;
    // EventAlarm (with already_sent) for the reminder commits, UserInfo for the profile
    // commits, TalEvent for a matter deletion, the reminder's send time for the server
    // time check.
    Payload payload;

    static WorkerRequest Plain(unsigned message) { return WorkerRequest{message, std::nullopt, {}}; }
    static WorkerRequest Sync(int reason) { return WorkerRequest{WM_REQ_SYNC, reason, {}}; }
    static WorkerRequest With(unsigned message, Payload payload) {
        return WorkerRequest{message, std::nullopt, std::move(payload)};
    }
};

// The jobs the worker starts, one per kind. Each runs on a thread of its own, gets the
// context the worker built for it and its record by value, and reports through
// ctx.post; whatever it returns is ignored. An empty member means that kind of request
// starts nothing.
struct WorkerJobs {
    std::function<void(JobContext&)> sync;
    std::function<void(JobContext&)> login;
    std::function<void(JobContext&)> checkVersion;
    std::function<void(JobContext&)> logout;
    std::function<void(JobContext&)> uploadPass;
    std::function<void(JobContext&)> ads;
    std::function<void(JobContext&)> news;
    std::function<void(JobContext&, int reminderTime)> serverTime;
    std::function<void(JobContext&, EventAlarm)> commitReminderAdd;
    std::function<void(JobContext&, EventAlarm)> commitReminderChange;
    std::function<void(JobContext&, UserInfo, int way)> commitProfile;
    std::function<void(JobContext&, TalEvent)> commitMatterDelete;
    // Shows a web page of the service's site; the window layer hands it to the desktop.
    std::function<void(const std::string& address)> openUrl;
};

}  // namespace kivtal
