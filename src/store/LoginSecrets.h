#pragma once
// The remembered login's password digest works as a password from any machine, so it
// is kept in the desktop's secret service when one answers, filed under the data
// folder and the login name. Without one the caller keeps it in the login database.
#include <string>

namespace kivtal {

class LoginSecrets {
public:
    enum class Status {
        Done,         // stored, found or forgotten
        NotFound,     // the service answered but holds no digest for this login
        Unavailable,  // no session bus, no service, or the service refused
    };

    explicit LoginSecrets(std::string dataDir) : dataDir_(std::move(dataDir)) {}

    Status Store(const std::string& loginName, const std::string& digest);
    Status Lookup(const std::string& loginName, std::string& digest);
    Status Forget(const std::string& loginName);

    // False when the client was built without the secret-service library.
    static bool Built();

private:
    std::string dataDir_;
};

}  // namespace kivtal
