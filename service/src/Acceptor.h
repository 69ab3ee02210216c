#pragma once
// Accepts the service's connections itself and hands each to a worker. The packaged
// HTTP library listens with a backlog of 5, gives each connection a thread from a pool
// of 8 and bounds only each single read, so a few slow senders hold every worker: here
// the backlog fits many clients, the pool fits keep-alive clients, and every request
// has a deadline for the whole of it (reading, answering, writing), after which its
// connection is shut down.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace kivtal::service {

struct AcceptorLimits {
    int backlog = 1024;
    // Keep-alive clients each hold a worker between their requests.
    int workers = 128;
    // Connections waiting for a worker beyond this are closed at once.
    int queued = 512;
    std::chrono::milliseconds requestDeadline{30'000};
};

class Acceptor {
public:
    // Serves one connection on the descriptor it is given and closes that descriptor.
    using Serve = std::function<void(int fd)>;

    Acceptor(Serve serve, AcceptorLimits limits) : serve_(std::move(serve)), limits_(limits) {}
    ~Acceptor() { stop(); }
    Acceptor(const Acceptor&) = delete;
    Acceptor& operator=(const Acceptor&) = delete;

    // Listens on the bound socket `listenFd` and accepts until stop() (within a tenth of
    // a second); closes it then.
    void run(int listenFd);
    bool running() const;
    // Ends run(), shuts every open connection down and waits for the workers.
    void stop();

    // The connection served on the calling thread gets a fresh deadline: called once
    // each reply is written, so a keep-alive connection's next request has its own.
    static void renewDeadline();

private:
    void work();
    void watch();
    std::chrono::steady_clock::time_point deadline() const;
    void setDeadline(int fd);

    Serve serve_;
    AcceptorLimits limits_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;   // workers: a connection waits, or stop
    std::condition_variable watch_;  // the deadline watch: stop
    std::deque<int> waiting_;
    // Open connections (the descriptor the acceptor keeps) and their deadlines.
    std::map<int, std::chrono::steady_clock::time_point> open_;
    std::vector<std::thread> threads_;
    bool running_ = false;
    bool stopping_ = false;
};

}  // namespace kivtal::service
