#pragma once
// A signed-in user for the tests of the sync and commit jobs, so that their forms can
// be compared byte for byte.
#include "net/LoginUser.h"

namespace kivtal::test {

// The identity part of every sync form for the user below.
inline constexpr const char* kSyncUserForm = "key=K3Y&visitor=0&unique_id=DEV1&user_id=42";

inline void SignInSyncUser() {
    LoginUser::Instance().reset();
    LoginUser::Instance().update([](LoginUserState& s) {
        s.key = "K3Y";
        s.visitor = 0;
        s.unique_id = "DEV1";
        s.user_id = "42";
    });
}

}  // namespace kivtal::test
