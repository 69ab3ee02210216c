#pragma once
// All traffic with the service: form requests, file downloads, the card-picture
// upload and the connectivity probe. Each call uses its own connection and keeps no
// state, so any number of job threads may call at once. The operations are virtual so
// that tests can put a scripted transport or probe in their place.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/ProbeCache.h"

namespace kivtal {

class NetUtil {
public:
    // Result codes of httpRequest and uploadCardImage besides an HTTP status.
    static constexpr int kOk = 0;              // status 200 and the body was read
    static constexpr int kTransportError = 1;  // not HTTP(S), refused, dropped, cut short
    static constexpr int kTimeout = 2;
    static constexpr int kTooLarge = 3;  // the reply grew past Limits::maxReplyBytes; nothing kept

    using Progress = std::function<void(unsigned percent)>;

    // Bounds on one transfer. libcurl waits forever by default, so a service that
    // stops answering would hold a job thread for good; tests shorten these.
    struct Limits {
        long connectTimeoutMs = 30000;
        long downloadConnectTimeoutMs = 2000;
        long lowSpeedBytesPerSecond = 1;  // below this for lowSpeedSeconds: time-out
        long lowSpeedSeconds = 30;
        // A service that answers without end must not fill the memory or the disk. A
        // receive of a very large account's feed is tens of MiB; installers are the
        // largest downloads.
        std::size_t maxReplyBytes = std::size_t{128} << 20;
        std::uint64_t maxDownloadBytes = std::uint64_t{256} << 20;
    };

    NetUtil();
    explicit NetUtil(std::vector<std::string> probeHosts);
    virtual ~NetUtil();

    // The process's instance, with the probe hosts of the environment.
    static NetUtil& Instance();

    // verb "POST" or "GET"; body sent as it is (UTF-8). Appends the reply body to
    // `reply` only on status 200. Returns kOk, the HTTP status, kTransportError or kTimeout.
    virtual int httpRequest(const std::string& verb, const std::string& url, const std::string& body,
                            std::string& reply);
    // True when status 200 and the whole body was written to `path`. A body past
    // Limits::maxDownloadBytes is cut off and its file removed.
    virtual bool downloadFile(const std::string& url, const std::string& path);
    // As downloadFile; calls `progress` with each new whole percentage. A reply without
    // Content-Length gives no base for one, so then no progress is reported.
    virtual bool downloadFileWithProgress(const std::string& url, const std::string& path, const Progress& progress);
    // POSTs `formPrefix` (ending in "bc_data=") followed by the picture in Base64.
    // A missing or empty picture sends nothing and returns kTransportError.
    virtual int uploadCardImage(const std::string& url, std::string& reply, const std::string& formPrefix,
                                const std::string& picturePath);
    // Runs the system ping once; true when its output was understood. Sets `averageMs`
    // when a statistics line was read.
    virtual bool pingHost(const std::string& host, int& averageMs);
    // Online when a probe host answers within 500 ms. The answer stands for the next
    // few seconds (ProbeCache.h): the jobs started in that time do not ping again.
    virtual bool isNetworkAvailable();

    const std::vector<std::string>& probeHosts() const { return probeHosts_; }
    // Set before the instance is shared between threads.
    void setLimits(const Limits& limits) { limits_ = limits; }
    const Limits& limits() const { return limits_; }

private:
    bool probeNow();

    std::vector<std::string> probeHosts_;
    Limits limits_;
    ProbeCache probeAnswer_;
};

}  // namespace kivtal
