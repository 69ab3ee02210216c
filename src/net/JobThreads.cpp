#include "net/JobThreads.h"

#include <exception>
#include <string>
#include <system_error>

#include "model/Diagnostics.h"

namespace kivtal {

namespace {

void RunGuarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& e) {
        DebugLine(std::string("job ended by an exception: ") + e.what());
    } catch (...) {
        DebugLine("job ended by an exception");
    }
}

}  // namespace

bool JobThreads::start(std::function<void()> body) {
    std::lock_guard<std::mutex> lock(mutex_);
    joinFinished();
    auto entry = entries_.emplace(entries_.end());
    try {
        // The new thread reports its end under mutex_, which is held until its
        // std::thread object is in place.
        entry->thread = std::thread([this, entry, body = std::move(body)] {
            RunGuarded(body);
            finish(entry);
        });
    } catch (const std::system_error&) {
        entries_.erase(entry);
        return false;
    }
    ++running_;
    return true;
}

void JobThreads::finish(std::list<Entry>::iterator entry) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entry->done = true;
        --running_;
    }
    allDone_.notify_all();
}

void JobThreads::joinFinished() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!it->done) {
            ++it;
            continue;
        }
        it->thread.join();  // returns at once: the thread has nothing left to do
        it = entries_.erase(it);
    }
}

void JobThreads::waitAll() {
    std::unique_lock<std::mutex> lock(mutex_);
    allDone_.wait(lock, [this] { return running_ == 0; });
    joinFinished();
}

std::size_t JobThreads::running() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_;
}

}  // namespace kivtal
