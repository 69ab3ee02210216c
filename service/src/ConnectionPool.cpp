#include "ConnectionPool.h"

namespace kivtal::service {

ConnectionPool::Lease ConnectionPool::lease() {
    {
        std::unique_lock lock(mutex_);
        returned_.wait(lock, [this] { return !idle_.empty() || limit_ == 0 || open_ < limit_; });
        if (!idle_.empty()) {
            auto c = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(c));
        }
        ++open_;
    }
    try {
        return Lease(*this, std::make_unique<Connection>(address_));
    } catch (...) {
        giveBack(nullptr);
        throw;
    }
}

// A connection whose server went away is dropped; the next lease opens a new one.
void ConnectionPool::giveBack(std::unique_ptr<Connection> c) {
    {
        const std::lock_guard lock(mutex_);
        if (c && c->db.usable()) {
            idle_.push_back(std::move(c));
        } else {
            --open_;
        }
    }
    returned_.notify_one();
}

}  // namespace kivtal::service
