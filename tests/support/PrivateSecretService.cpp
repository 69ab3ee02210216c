#include "support/PrivateSecretService.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>

namespace kivtal::test {

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    Apply(value);
}

ScopedEnv::~ScopedEnv() { Apply(saved_); }

void ScopedEnv::Apply(const std::optional<std::string>& value) {
    if (value) setenv(name_, value->c_str(), 1);
    else unsetenv(name_);
}

PrivateSecretService::PrivateSecretService(const std::string& home) {
    FILE* out = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (out == nullptr) return;
    char address[512] = {};
    long pid = 0;
    if (std::fscanf(out, "%511s %ld", address, &pid) == 2) pid_ = static_cast<pid_t>(pid);
    pclose(out);
    if (pid_ <= 0) return;
    bus_.emplace("DBUS_SESSION_BUS_ADDRESS", address);
    const std::string keyring = "HOME='" + home + "' XDG_DATA_HOME='" + home + "' XDG_RUNTIME_DIR='" + home +
                                "' sh -c 'echo pw | gnome-keyring-daemon --unlock --components=secrets' "
                                ">/dev/null 2>&1";
    running_ = std::system(keyring.c_str()) == 0;
}

PrivateSecretService::~PrivateSecretService() {
    bus_.reset();
    // The keyring daemon leaves with its bus.
    if (pid_ > 0) kill(pid_, SIGTERM);
}

bool PrivateSecretService::Installed() {
    return std::system("command -v dbus-daemon gnome-keyring-daemon >/dev/null 2>&1") == 0;
}

}  // namespace kivtal::test
