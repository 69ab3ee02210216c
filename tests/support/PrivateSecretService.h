#pragma once
// A real secret service on a private session bus (dbus-daemon and the keyring daemon,
// unlocked), started by a test or a timed program and stopped with it. While it runs,
// this process's DBUS_SESSION_BUS_ADDRESS names its bus, and so does the environment
// of every program started meanwhile.
#include <sys/types.h>

#include <optional>
#include <string>

namespace kivtal::test {

// Sets (or, with no value, removes) one environment variable for its own lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Apply(const std::optional<std::string>& value);
    const char* name_;
    std::optional<std::string> saved_;
};

class PrivateSecretService {
public:
    // home: the keyring's home and runtime folder.
    explicit PrivateSecretService(const std::string& home);
    ~PrivateSecretService();
    PrivateSecretService(const PrivateSecretService&) = delete;
    PrivateSecretService& operator=(const PrivateSecretService&) = delete;

    bool running() const { return running_; }
    // True when both daemons are installed.
    static bool Installed();

private:
    pid_t pid_ = 0;
    bool running_ = false;
    std::optional<ScopedEnv> bus_;
};

}  // namespace kivtal::test
