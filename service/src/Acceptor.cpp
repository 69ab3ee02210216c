#include "Acceptor.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kivtal::service {

namespace {

constexpr auto kWatchInterval = std::chrono::milliseconds(100);

// The acceptor and connection the calling worker serves, for renewDeadline().
thread_local Acceptor* tCurrent = nullptr;
thread_local int tFd = -1;

}  // namespace

bool Acceptor::running() const {
    const std::lock_guard lock(mutex_);
    return running_;
}

void Acceptor::run(int listenFd) {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_ || running_) return;
        running_ = true;
        ::listen(listenFd, limits_.backlog);
        for (int i = 0; i < limits_.workers; ++i) threads_.emplace_back([this] { work(); });
        threads_.emplace_back([this] { watch(); });
    }
    for (;;) {
        pollfd p{listenFd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(kWatchInterval.count()));
        {
            const std::lock_guard lock(mutex_);
            if (stopping_) break;
        }
        if (ready <= 0) continue;
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        // Each reply goes out at once, not after the client's delayed acknowledgement.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::unique_lock lock(mutex_);
        if (static_cast<int>(waiting_.size()) >= limits_.queued) {
            lock.unlock();
            ::close(fd);
            continue;
        }
        waiting_.push_back(fd);
        wake_.notify_one();
    }
    ::close(listenFd);
}

void Acceptor::stop() {
    std::vector<std::thread> threads;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const auto& [fd, _] : open_) ::shutdown(fd, SHUT_RDWR);
        threads.swap(threads_);
        wake_.notify_all();
        watch_.notify_all();
    }
    for (auto& t : threads) t.join();
    const std::lock_guard lock(mutex_);
    for (const int fd : waiting_) ::close(fd);
    waiting_.clear();
    running_ = false;
}

std::chrono::steady_clock::time_point Acceptor::deadline() const {
    return std::chrono::steady_clock::now() + limits_.requestDeadline;
}

void Acceptor::work() {
    for (;;) {
        int fd = -1;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
            if (stopping_) return;
            fd = waiting_.front();
            waiting_.pop_front();
            open_[fd] = deadline();
        }
        // The library closes the copy it is given; the acceptor keeps `fd` open until
        // then, so the watch never shuts down a reused descriptor.
        const int copy = ::dup(fd);
        tCurrent = this;
        tFd = fd;
        if (copy >= 0) serve_(copy);
        tCurrent = nullptr;
        const std::lock_guard lock(mutex_);
        open_.erase(fd);
        ::close(fd);
    }
}

void Acceptor::watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        watch_.wait_for(lock, kWatchInterval);
        const auto now = std::chrono::steady_clock::now();
        for (auto& [fd, due] : open_) {
            if (due > now) continue;
            ::shutdown(fd, SHUT_RDWR);
            due = std::chrono::steady_clock::time_point::max();
        }
    }
}

void Acceptor::setDeadline(int fd) {
    const std::lock_guard lock(mutex_);
    if (const auto it = open_.find(fd); it != open_.end()) it->second = deadline();
}

void Acceptor::renewDeadline() {
    if (tCurrent) tCurrent->setDeadline(tFd);
}

}  // namespace kivtal::service
