#include "net/LoginUser.h"

namespace kivtal {

LoginUser& LoginUser::Instance() {
    static LoginUser instance;
    return instance;
}

LoginUserState LoginUser::snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void LoginUser::update(const std::function<void(LoginUserState&)>& change) {
    std::lock_guard<std::mutex> lock(mutex_);
    change(state_);
}

void LoginUser::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = LoginUserState{};
}

}  // namespace kivtal
