#pragma once
// A scripted HTTP service on 127.0.0.1 for the client's tests. It records every request
// and answers from tables the test fills; a reply can also be a fault on the wire.
//
//   kivtal::test::ScriptedService service;          // listens on an ephemeral port
//   service.script("/Login/login", Reply::Ok(R"({"error":"0"})"));   // once, in order
//   service.setDefault("/Sync/receive", Reply::Ok(R"({"error":"0","opers":[]})"));
//   service.setFaultPlan(FaultPlan::FailNth(2, Reply::DropMidBody(body)));
//   net.httpRequest("POST", service.url() + "/Login/login", form, reply);
//   EXPECT_EQ(service.requests().at(0).body, form);
//
// A path without a scripted or default reply answers 404 with an empty body. Scripted
// replies of a path are used up before its default. Faults of the plan come first.
//
// It speaks just enough HTTP/1.1 for libcurl (one request per connection, bodies with
// Content-Length) on plain sockets, because faults such as a dropped connection in the
// middle of a body need control over every byte.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
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
    bool hasHeader(const std::string& name) const {
        return std::any_of(headers.begin(), headers.end(),
                           [&](const auto& h) { return SameName(h.first, name); });
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

    static FaultPlan FailNth(std::size_t n, Reply fault) {
        return {[n, fault](std::size_t index, const Request&) -> std::optional<Reply> {
            if (index == n) return fault;
            return std::nullopt;
        }};
    }
};

class ScriptedService {
public:
    ScriptedService() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 64) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            if (listener_ >= 0) ::close(listener_);
            throw std::runtime_error("scripted service: cannot listen on 127.0.0.1");
        }
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { acceptLoop(); });
    }

    ~ScriptedService() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            // Wakes accept() and every connection blocked in a read or a write.
            ::shutdown(listener_, SHUT_RDWR);
            for (int fd : open_) ::shutdown(fd, SHUT_RDWR);
        }
        wake_.notify_all();
        acceptor_.join();
        for (std::thread& t : connections_) t.join();
        ::close(listener_);
    }

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
    void setFaultPlan(FaultPlan plan) {
        std::lock_guard<std::mutex> lock(mutex_);
        plan_ = std::move(plan);
        planStart_ = arrived_;
    }

private:
    void acceptLoop() {
        for (;;) {
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) {
                if (fd >= 0) ::close(fd);
                return;
            }
            if (fd < 0) continue;
            open_.push_back(fd);
            connections_.emplace_back([this, fd] { serve(fd); });
        }
    }

    void serve(int fd) {
        std::optional<Request> request = readRequest(fd);
        if (request) answer(fd, replyFor(*request));
        std::lock_guard<std::mutex> lock(mutex_);
        open_.erase(std::find(open_.begin(), open_.end(), fd));
        ::close(fd);
    }

    static std::optional<Request> readRequest(int fd) {
        std::string data;
        std::size_t headEnd;
        while ((headEnd = data.find("\r\n\r\n")) == std::string::npos)
            if (!receiveMore(fd, data)) return std::nullopt;
        Request r;
        std::size_t lineEnd = data.find("\r\n");
        const std::string first = data.substr(0, lineEnd);
        const std::size_t s1 = first.find(' '), s2 = first.rfind(' ');
        if (s1 == std::string::npos || s2 <= s1) return std::nullopt;
        r.method = first.substr(0, s1);
        r.target = first.substr(s1 + 1, s2 - s1 - 1);
        r.path = r.target.substr(0, r.target.find('?'));
        while (lineEnd < headEnd) {
            const std::size_t next = data.find("\r\n", lineEnd + 2);
            const std::string line = data.substr(lineEnd + 2, next - lineEnd - 2);
            const std::size_t colon = line.find(':');
            if (colon != std::string::npos) {
                const std::size_t valueAt = line.find_first_not_of(' ', colon + 1);
                r.headers.emplace_back(line.substr(0, colon),
                                       valueAt == std::string::npos ? "" : line.substr(valueAt));
            }
            lineEnd = next;
        }
        std::size_t length = 0;
        const std::string announced = r.header("Content-Length");
        if (!announced.empty()) {
            const auto parsed = std::from_chars(announced.data(), announced.data() + announced.size(), length);
            if (parsed.ec != std::errc() || length > kMaxBody) return std::nullopt;
        }
        if (r.header("Expect") == "100-continue" && !sendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n"))
            return std::nullopt;
        r.body = data.substr(headEnd + 4);
        while (r.body.size() < length)
            if (!receiveMore(fd, r.body)) return std::nullopt;
        r.body.resize(length);
        return r;
    }

    static bool receiveMore(int fd, std::string& data) {
        char buffer[65536];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        data.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    Reply replyFor(const Request& request) {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
        const std::size_t index = arrived_++ - planStart_;
        if (plan_.choose)
            if (std::optional<Reply> fault = plan_.choose(index, request)) return *fault;
        auto queued = queued_.find(request.path);
        if (queued != queued_.end() && !queued->second.empty()) {
            Reply r = std::move(queued->second.front());
            queued->second.pop_front();
            return r;
        }
        auto fallback = defaults_.find(request.path);
        return fallback != defaults_.end() ? fallback->second : Reply::Status(404);
    }

    void answer(int fd, const Reply& reply) {
        using Fault = Reply::Fault;
        if (reply.fault == Fault::kRefuse) return;
        if (reply.fault == Fault::kHang && !pause(reply.hang)) return;
        const bool half = reply.fault == Fault::kDropMidBody || reply.fault == Fault::kCutShortNoLength;
        std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reason(reply.status) + "\r\n";
        head += "Content-Type: application/json; charset=utf-8\r\n";
        if (reply.withLength) head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
        for (const auto& [key, value] : reply.headers) head += key + ": " + value + "\r\n";
        head += "Connection: close\r\n\r\n";
        if (!sendAll(fd, head)) return;
        sendAll(fd, half ? std::string_view(reply.body).substr(0, reply.body.size() / 2) : reply.body);
    }

    // False when the service is being stopped.
    bool pause(std::chrono::milliseconds duration) {
        std::unique_lock<std::mutex> lock(mutex_);
        return !wake_.wait_for(lock, duration, [this] { return stopping_; });
    }

    static bool sendAll(int fd, std::string_view data) {
        while (!data.empty()) {
            const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
            if (n <= 0) return false;
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    static const char* reason(int status) {
        switch (status) {
            case 200: return "OK";
            case 404: return "Not Found";
            case 500: return "Internal Server Error";
            default: return "Status";
        }
    }

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
    std::size_t arrived_ = 0;
    std::size_t planStart_ = 0;
};

}  // namespace kivtal::test
