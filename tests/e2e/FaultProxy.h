#pragma once
// A fake network for the end-to-end tests: a loopback proxy in front of the real
// service. It passes every request on and then, as its rule says, hands the service's
// reply back, loses it (the connection closes with no answer, after the service has
// stored the request: what a client sees when a reply times out or a connection
// drops) or holds it back for a while before handing it over.
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "net/NetUtil.h"
#include "net/ServiceForms.h"
#include "support/ScriptedService.h"

namespace kivtal::e2e {

enum class ReplyFault { kPass, kDrop, kDelay };

class FaultProxy {
public:
    using Rule = std::function<ReplyFault(const test::Request&)>;
    static constexpr std::chrono::milliseconds kDelay{300};

    // target: the service's address, "http://127.0.0.1:PORT".
    explicit FaultProxy(std::string target) : target_(std::move(target)), net_(std::vector<std::string>{"127.0.0.1"}) {
        proxy_.setResponder([this](const test::Request& r) { return forward(r); });
    }

    std::string url() const { return proxy_.url(); }

    // Chooses the fault of each request once the service has answered it; none by default.
    void setRule(Rule rule) {
        std::lock_guard lock(mutex_);
        rule_ = std::move(rule);
    }

    // The change lists of the uploads the service received, in order.
    std::vector<std::string> uploads() const {
        std::lock_guard lock(mutex_);
        return uploads_;
    }
    void clearUploads() {
        std::lock_guard lock(mutex_);
        uploads_.clear();
    }

    // How many entries a change list carries.
    static std::size_t EntriesIn(const std::string& upload) {
        std::size_t n = 0;
        for (std::size_t at = upload.find("\"oper_id\""); at != std::string::npos;
             at = upload.find("\"oper_id\"", at + 1))
            ++n;
        return n;
    }

private:
    test::Reply forward(const test::Request& r) {
        std::string body;
        const int status = net_.httpRequest(r.method, target_ + r.target, r.body, body);
        Rule rule;
        {
            std::lock_guard lock(mutex_);
            if (r.path == kSyncSendPath) uploads_.push_back(r.body.substr(r.body.find("&opers=") + 1));
            rule = rule_;
        }
        if (status == NetUtil::kTransportError || status == NetUtil::kTimeout) return test::Reply::Refuse();
        test::Reply reply = status == NetUtil::kOk ? test::Reply::Ok(body) : test::Reply::Status(status);
        switch (rule ? rule(r) : ReplyFault::kPass) {
            case ReplyFault::kPass: return reply;
            case ReplyFault::kDrop: return test::Reply::Refuse();
            case ReplyFault::kDelay:
                reply.fault = test::Reply::Fault::kHang;
                reply.hang = kDelay;
                return reply;
        }
        return reply;
    }

    std::string target_;
    NetUtil net_;
    mutable std::mutex mutex_;
    Rule rule_;
    std::vector<std::string> uploads_;
    test::ScriptedService proxy_;  // last: its threads stop before the rest goes
};

}  // namespace kivtal::e2e
