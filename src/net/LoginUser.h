#pragma once
// The signed-in user's state, shared by the login window and every request thread.
// Readers take a snapshot and writers go through update(), so no thread ever sees a
// half-written login (the fields are written together by the login job).
#include <functional>
#include <mutex>
#include <string>

namespace kivtal {

struct LoginUserState {
    // Login state values.
    static constexpr int kOnline = 1;
    static constexpr int kOffline = 2;
    static constexpr int kOfflineRefused = 5;
    // Login mode values.
    static constexpr int kModeNone = 0;
    static constexpr int kModeOffline = 1;
    static constexpr int kModeOnline = 2;

    std::string login_name;
    std::string password;  // the password digest sent with the login request
    int login_state = kOffline;
    std::string user_id;
    std::string random_key;
    int visitor = 1;
    int auto_login = 1;
    int login_mode = kModeNone;
    std::string key;
    std::string unique_id;
};

class LoginUser {
public:
    // The process's instance, created on first use.
    static LoginUser& Instance();

    LoginUser() = default;
    LoginUser(const LoginUser&) = delete;
    LoginUser& operator=(const LoginUser&) = delete;

    LoginUserState snapshot() const;
    // Runs `change` on the fields with the lock held; keep it short and do not call
    // back into this object from it.
    void update(const std::function<void(LoginUserState&)>& change);
    // Back to the values at creation (tests, and a fresh login profile).
    void reset();

private:
    mutable std::mutex mutex_;
    LoginUserState state_;
};

}  // namespace kivtal
