#pragma once
// Where the service lives. Read from the environment, with defaults, because there is
// no configuration file: KIVTAL_API_URL (API host), KIVTAL_WEB_URL (web site),
// KIVTAL_PROBE_HOSTS (comma-separated hosts the connectivity probe pings).
#include <string>
#include <vector>

namespace kivtal {

struct ServiceConfig {
    std::string apiUrl;  // e.g. "http://127.0.0.1:8080", no trailing '/'
    std::string webUrl;  // no trailing '/'
    std::vector<std::string> probeHosts;

    static ServiceConfig FromEnvironment();
};

}  // namespace kivtal
