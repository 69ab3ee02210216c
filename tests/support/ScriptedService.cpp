#include "support/ScriptedService.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>
#include <stdexcept>

namespace kivtal::test {

ScriptedService::ScriptedService() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 64) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ >= 0) ::close(listener_);
        throw std::runtime_error("scripted service: cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

ScriptedService::~ScriptedService() {
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

void ScriptedService::acceptLoop() {
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

void ScriptedService::serve(int fd) {
    std::optional<Request> request = readRequest(fd);
    if (request) answer(fd, replyFor(*request));
    std::lock_guard<std::mutex> lock(mutex_);
    open_.erase(std::find(open_.begin(), open_.end(), fd));
    ::close(fd);
}

std::optional<Request> ScriptedService::readRequest(int fd) {
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
            r.headers.emplace_back(line.substr(0, colon), valueAt == std::string::npos ? "" : line.substr(valueAt));
        }
        lineEnd = next;
    }
    std::size_t length = 0;
    const std::string announced = r.header("Content-Length");
    if (!announced.empty()) {
        const auto parsed = std::from_chars(announced.data(), announced.data() + announced.size(), length);
        if (parsed.ec != std::errc() || length > kMaxBody) return std::nullopt;
    }
    if (r.header("Expect") == "100-continue" && !sendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n")) return std::nullopt;
    r.body = data.substr(headEnd + 4);
    while (r.body.size() < length)
        if (!receiveMore(fd, r.body)) return std::nullopt;
    r.body.resize(length);
    return r;
}

bool ScriptedService::receiveMore(int fd, std::string& data) {
    char buffer[65536];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    data.append(buffer, static_cast<std::size_t>(n));
    return true;
}

Reply ScriptedService::replyFor(const Request& request) {
    std::unique_lock<std::mutex> lock(mutex_);
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
    if (fallback != defaults_.end()) return fallback->second;
    if (!responder_) return Reply::Status(404);
    const auto responder = responder_;
    lock.unlock();
    return responder(request);
}

void ScriptedService::answer(int fd, const Reply& reply) {
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

bool ScriptedService::pause(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, duration, [this] { return stopping_; });
}

bool ScriptedService::sendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

const char* ScriptedService::reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

}  // namespace kivtal::test
