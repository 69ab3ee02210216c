#include "ConnectionPool.h"

namespace kivtal::service {

ConnectionPool::Lease ConnectionPool::lease() {
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto c = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(c));
        }
    }
    return Lease(*this, std::make_unique<Connection>(path_));
}

void ConnectionPool::giveBack(std::unique_ptr<Connection> c) {
    if (!c) return;
    const std::lock_guard lock(mutex_);
    idle_.push_back(std::move(c));
}

}  // namespace kivtal::service
