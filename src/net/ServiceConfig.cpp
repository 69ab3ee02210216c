#include "net/ServiceConfig.h"

#include <cstdlib>

namespace kivtal {

namespace {

std::string Env(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return (v != nullptr && *v != '\0') ? v : fallback;
}

std::string WithoutTrailingSlash(std::string url) {
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url;
}

std::vector<std::string> SplitHosts(const std::string& list) {
    std::vector<std::string> hosts;
    std::string current;
    for (char c : list + ",") {
        if (c != ',') {
            if (c != ' ') current += c;
        } else if (!current.empty()) {
            hosts.push_back(current);
            current.clear();
        }
    }
    return hosts;
}

}  // namespace

ServiceConfig ServiceConfig::FromEnvironment() {
    ServiceConfig c;
    c.apiUrl = WithoutTrailingSlash(Env("KIVTAL_API_URL", "http://api.kivtal.com"));
    c.webUrl = WithoutTrailingSlash(Env("KIVTAL_WEB_URL", c.apiUrl.c_str()));
    c.probeHosts = SplitHosts(Env("KIVTAL_PROBE_HOSTS", "www.baidu.com,www.qq.com,www.163.com"));
    return c;
}

}  // namespace kivtal
