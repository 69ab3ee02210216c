#pragma once
// A scripted HTTP service on 127.0.0.1 for the client's tests. It records every request
// and answers from tables the test fills; a reply can also be a fault on the wire.
//
//   kivtal::test::ScriptedService service;          // listens on an ephemeral port
//   service.script("/Login/login", Reply::Ok(R"({"error":"0"})"));   // once, in order
//   service.setDefault("/Sync/receive", Reply::Ok(R"({"error":"0","opers":[]})"));
//   service.setFaultPlan({[&](std::size_t i, const Request&) -> std::optional<Reply> {
//       if (i == 2) return Reply::DropMidBody(body);  // the third request fails
//       return std::nullopt;
//   }});
//   net.httpRequest("POST", service.url() + "/Login/login", form, reply);
//   EXPECT_EQ(service.requests().at(0).body, form);
//
// A path without a scripted or default reply answers 404 with an empty body, or what
// the responder answers when there is one (a proxy passes the request on). Scripted
// replies of a path are used up before its default. Faults of the plan come first.
//
// It speaks just enough HTTP/1.1 for libcurl (one request per connection, bodies with
// Content-Length) on plain sockets, because faults such as a dropped connection in the
// middle of a body need control over every byte.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace kivtal::test {

struct Request {
    std::string method;
    std::string target;  // as sent, query included
    std::string path;    // without the query
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;  // in the order sent

    // The first header of that name (any case); empty when absent.
    std::string header(const std::string& name) const {
        for (const auto& [key, value] : headers)
            if (SameName(key, name)) return value;
        return {};
    }

private:
    static bool SameName(const std::string& a, const std::string& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    }
};

struct Reply {
    enum class Fault {
        kNone,
        kRefuse,            // close at once, no answer at all
        kDropMidBody,       // announce the full length, send half of the body, close
        kCutShortNoLength,  // "Connection: close", no length, half of the body, close
        kHang,              // say nothing for `hang`, then answer normally
    };

    int status = 200;
    std::string body;
    Fault fault = Fault::kNone;
    bool withLength = true;  // false: the end of the body is marked by closing
    std::chrono::milliseconds hang{0};
    std::vector<std::pair<std::string, std::string>> headers;  // extra header lines

    static Reply Ok(std::string body) { return Status(200, std::move(body)); }
    static Reply Status(int status, std::string body = {}) {
        Reply r;
        r.status = status;
        r.body = std::move(body);
        return r;
    }
    static Reply Refuse() { return WithFault(Fault::kRefuse, {}); }
    static Reply DropMidBody(std::string body) { return WithFault(Fault::kDropMidBody, std::move(body)); }
    static Reply CutShortNoLength(std::string body) {
        Reply r = WithFault(Fault::kCutShortNoLength, std::move(body));
        r.withLength = false;
        return r;
    }
    static Reply NoLength(std::string body) {
        Reply r = Ok(std::move(body));
        r.withLength = false;
        return r;
    }
    static Reply Hang(std::chrono::milliseconds hang, std::string body = {}) {
        Reply r = WithFault(Fault::kHang, std::move(body));
        r.hang = hang;
        return r;
    }

private:
    static Reply WithFault(Fault fault, std::string body) {
        Reply r = Ok(std::move(body));
        r.fault = fault;
        return r;
    }
};

// Decides, before the tables, whether a request gets a fault. `index` counts the
// requests that arrived since the plan was set, from 0.
struct FaultPlan {
    std::function<std::optional<Reply>(std::size_t index, const Request&)> choose;
};

class ScriptedService {
public:
    // Listens on an ephemeral port of 127.0.0.1 at once; throws when it cannot.
    ScriptedService();
    ~ScriptedService();
    ScriptedService(const ScriptedService&) = delete;
    ScriptedService& operator=(const ScriptedService&) = delete;

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int port() const { return port_; }

    std::vector<Request> requests() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    void clearRequests() {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.clear();
    }

    void script(const std::string& path, Reply reply) {
        std::lock_guard<std::mutex> lock(mutex_);
        queued_[path].push_back(std::move(reply));
    }
    void setDefault(const std::string& path, Reply reply) {
        std::lock_guard<std::mutex> lock(mutex_);
        defaults_[path] = std::move(reply);
    }
    // Called outside the service's lock, so it may take its time.
    void setResponder(std::function<Reply(const Request&)> responder) {
        std::lock_guard<std::mutex> lock(mutex_);
        responder_ = std::move(responder);
    }
    void setFaultPlan(FaultPlan plan) {
        std::lock_guard<std::mutex> lock(mutex_);
        plan_ = std::move(plan);
        planStart_ = arrived_;
    }

private:
    void acceptLoop();
    void serve(int fd);
    static std::optional<Request> readRequest(int fd);
    static bool receiveMore(int fd, std::string& data);
    Reply replyFor(const Request& request);
    void answer(int fd, const Reply& reply);
    // False when the service is being stopped.
    bool pause(std::chrono::milliseconds duration);
    static bool sendAll(int fd, std::string_view data);
    static const char* reason(int status);

    static constexpr std::size_t kMaxBody = std::size_t{1} << 30;

    int listener_ = -1;
    int port_ = 0;
    std::thread acceptor_;
    std::vector<std::thread> connections_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::vector<int> open_;
    std::vector<Request> requests_;
    std::map<std::string, std::deque<Reply>> queued_;
    std::map<std::string, Reply> defaults_;
    FaultPlan plan_;
    std::function<Reply(const Request&)> responder_;
    std::size_t arrived_ = 0;
    std::size_t planStart_ = 0;
};

}  // namespace kivtal::test
