#pragma once
// The scene the sync figures are taken in: a kivtal-service child process on a loopback
// port over a scratch folder, the data folders of two devices (A and B) of one account,
// and kept copies of all three, so that every timed run starts from the same state.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ProcessRuns.h"
#include "ServiceChild.h"

namespace kivtal::bench {

struct Programs {
    std::string cli;
    std::string service;
};

class SyncScene {
public:
    static constexpr const char* kAccount = "bench";
    static constexpr const char* kPassword = "pw";
    // The tests' cost of a password check: the service's real one would put a
    // deliberate few hundred milliseconds of hashing into every login figure.
    static constexpr const char* kPasswordRounds = "1000";

    enum class Device { kA, kB };

    SyncScene(Programs programs, std::filesystem::path root);

    // Makes the account, logs A and B in (each first login syncs the empty account) and
    // gives A `contacts` new contacts with a bank account each, which wait to go up.
    bool prepare(int contacts, std::string& error);

    // kivtal-cli with `args` over the device's data folder, as that device.
    Command cli(Device device, const std::vector<std::string>& args) const;

    // Copies the three folders (service, A, B) to kept/`name`, with the service stopped
    // while it is copied and started again afterwards.
    bool keep(const std::string& name, std::string& error);
    // Puts the three folders back as kept under `name` and starts the service.
    bool restore(const std::string& name, std::string& error);

    std::string url() const;
    // The processor time (user + system) the running service has used so far; 0 when
    // none runs.
    double serviceCpuMs() const;
    std::filesystem::path folder(Device device) const;
    std::filesystem::path kept(const std::string& name) const { return root_ / "kept" / name; }
    std::string serviceDb() const { return (root_ / "live" / "service" / "service.db").string(); }
    static const char* UniqueId(Device device) { return device == Device::kA ? "device-A" : "device-B"; }

private:
    bool start(std::string& error);
    void stop() { service_.reset(); }
    bool seed(int contacts, std::string& error);
    bool copyLive(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error);

    Programs programs_;
    std::filesystem::path root_;
    std::unique_ptr<service::bench::ServiceChild> service_;
    int port_ = 0;
};

}  // namespace kivtal::bench
