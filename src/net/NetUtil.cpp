#include "net/NetUtil.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>

#include "model/Diagnostics.h"
#include "net/Base64.h"
#include "net/PingOutput.h"
#include "net/PingProcess.h"
#include "net/ServiceConfig.h"
#include "text/TextConv.h"

namespace kivtal {

namespace {

constexpr std::size_t kReplyBlock = 1024;
constexpr std::size_t kDownloadBlock = 10240;
constexpr unsigned kOnlineLimitMs = 500;
// The command line the probe was always limited to.
constexpr std::size_t kCommandLimit = 80;
constexpr std::string_view kPingCommand = "ping -c 1 -W 2 ";

struct HandleCloser {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
    void operator()(char* text) const { curl_free(text); }
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using CurlHandle = std::unique_ptr<CURL, HandleCloser>;
using HeaderList = std::unique_ptr<curl_slist, HandleCloser>;

// libcurl's global set-up is not thread-safe; job threads may make the first call
// at the same time.
void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsHttpUrl(const std::string& url) {
    std::unique_ptr<CURLU, HandleCloser> parsed(curl_url());
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return false;
    char* raw = nullptr;
    if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &raw, 0) != CURLUE_OK) return false;
    std::unique_ptr<char, HandleCloser> scheme(raw);
    const std::string_view s(scheme.get());
    return s == "http" || s == "https";
}

CurlHandle OpenTransfer(const std::string& url, long connectTimeoutMs, const NetUtil::Limits& limits) {
    InitCurlOnce();
    CurlHandle curl(curl_easy_init());
    if (!curl) return curl;
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // several job threads transfer at once
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, connectTimeoutMs);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    return curl;
}

long ResponseCode(CURL* curl) {
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

int TransportCode(CURLcode result) {
    return result == CURLE_OPERATION_TIMEDOUT ? NetUtil::kTimeout : NetUtil::kTransportError;
}

// Cuts a byte stream into fixed-size blocks, the last one possibly shorter, the way
// the body used to be read block by block. The handler answers false to stop.
class BlockCutter {
public:
    using Handler = bool (*)(void* owner, std::string_view block);
    BlockCutter(std::size_t blockSize, Handler handler, void* owner)
        : size_(blockSize), handler_(handler), owner_(owner) {
        pending_.reserve(blockSize);
    }

    bool feed(std::string_view data) {
        while (!data.empty()) {
            const std::size_t take = std::min(size_ - pending_.size(), data.size());
            pending_.append(data.substr(0, take));
            data.remove_prefix(take);
            if (pending_.size() == size_ && !flush()) return false;
        }
        return true;
    }
    bool finish() { return pending_.empty() || flush(); }

private:
    bool flush() {
        const bool ok = handler_(owner_, pending_);
        pending_.clear();
        return ok;
    }

    std::size_t size_;
    Handler handler_;
    void* owner_;
    std::string pending_;
};

// Collects a 200 reply into a local buffer, so that a transfer that fails half-way
// leaves the caller's reply untouched. Each 1024-byte block is kept only up to its
// first zero byte. Any other status stops the transfer: its body is never used.
class ReplyCollector {
public:
    ReplyCollector(CURL* curl, std::size_t maxBytes) : curl_(curl), maxBytes_(maxBytes) {}

    // Counts what curl hands over after decoding, so a small compressed reply that
    // unpacks without end is stopped too.
    static std::size_t Write(char* data, std::size_t size, std::size_t count, void* self) {
        auto* me = static_cast<ReplyCollector*>(self);
        if (ResponseCode(me->curl_) != 200) return 0;
        if (me->received_ == 0) me->reserve();
        me->received_ += size * count;
        if (me->received_ > me->maxBytes_) {
            me->tooLarge_ = true;
            return 0;
        }
        me->keep(std::string_view(data, size * count));
        return size * count;
    }
    bool tooLarge() const { return tooLarge_; }
    std::string take() { return std::move(body_); }

private:
    // A receive brings megabytes: grown step by step, the body would be copied over
    // and over.
    void reserve() {
        curl_off_t length = -1;
        curl_easy_getinfo(curl_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (length > 0) body_.reserve(std::min(static_cast<std::size_t>(length), maxBytes_));
    }

    // Appends the data block by block, as the blocks fall in the whole body.
    void keep(std::string_view data) {
        while (!data.empty()) {
            const std::string_view part = data.substr(0, kReplyBlock - inBlock_);
            if (!zeroInBlock_) {
                const std::size_t zero = part.find('\0');
                body_.append(part.substr(0, zero));
                zeroInBlock_ = zero != std::string_view::npos;
            }
            inBlock_ += part.size();
            if (inBlock_ == kReplyBlock) {
                inBlock_ = 0;
                zeroInBlock_ = false;
            }
            data.remove_prefix(part.size());
        }
    }

    CURL* curl_;
    std::size_t maxBytes_;
    std::size_t received_ = 0;
    bool tooLarge_ = false;
    std::size_t inBlock_ = 0;   // bytes of the current block seen so far
    bool zeroInBlock_ = false;  // the rest of the current block is dropped
    std::string body_;
};

HeaderList FormHeaders() {
    static constexpr const char* kLines[] = {
        "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)",
        "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8,application/json",
        "Accept-Language: zh-cn,zh;q=0.8,en-us;q=0.5,en;q=0.3",
        "Content-Type: application/x-www-form-urlencoded",
        "Accept-Encoding: gzip, deflate",
        // No "Expect: 100-continue" pause before large bodies such as card pictures.
        "Expect:",
    };
    curl_slist* list = nullptr;
    for (const char* line : kLines) {
        curl_slist* grown = curl_slist_append(list, line);
        if (grown == nullptr) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = grown;
    }
    return HeaderList(list);
}

int SendForm(const std::string& verb, const std::string& url, const std::string& body, std::string& reply,
             const NetUtil::Limits& limits) {
    if (!IsHttpUrl(url)) return NetUtil::kTransportError;
    CurlHandle curl = OpenTransfer(url, limits.connectTimeoutMs, limits);
    HeaderList headers = FormHeaders();
    if (!curl || !headers) return NetUtil::kTransportError;
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    // The header line above is what is announced; this makes curl decode such replies.
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    if (verb == "GET" && body.empty()) {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        if (verb != "POST") curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, verb.c_str());
    }
    ReplyCollector collector(c, limits.maxReplyBytes);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &ReplyCollector::Write);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &collector);

    const CURLcode result = curl_easy_perform(c);
    const long status = ResponseCode(c);
    if (status != 0 && status != 200) return static_cast<int>(status);
    if (collector.tooLarge()) return NetUtil::kTooLarge;
    if (result != CURLE_OK) return TransportCode(result);
    reply += collector.take();
    return NetUtil::kOk;
}

// Writes a 200 reply to its file in 10240-byte blocks. The file is created only once
// the status is known to be 200, so a refused download leaves no file behind.
class DownloadSink {
public:
    DownloadSink(CURL* curl, const std::string& path, const NetUtil::Progress* progress, std::uint64_t maxBytes)
        : curl_(curl),
          path_(path),
          progress_(progress),
          maxBytes_(maxBytes),
          blocks_(kDownloadBlock, &WriteBlock, this) {}

    static std::size_t Write(char* data, std::size_t size, std::size_t count, void* self) {
        auto* me = static_cast<DownloadSink*>(self);
        if (ResponseCode(me->curl_) != 200 || !me->open()) return 0;
        me->received_ += size * count;
        if (me->received_ > me->maxBytes_) {
            me->tooLarge_ = true;
            return 0;
        }
        return me->blocks_.feed(std::string_view(data, size * count)) ? size * count : 0;
    }

    // A file cut off at the limit is no picture or installer of any use.
    void discardIfTooLarge() {
        if (!tooLarge_) return;
        file_.reset();
        std::remove(path_.c_str());
    }

    // After the transfer: the last block, and the file of an empty body.
    bool finish() {
        if (!open() || !blocks_.finish()) return false;
        return std::fclose(file_.release()) == 0;
    }

private:
    bool open() {
        if (!file_) file_.reset(std::fopen(path_.c_str(), "wb"));
        return file_ != nullptr;
    }

    static bool WriteBlock(void* self, std::string_view block) {
        auto* me = static_cast<DownloadSink*>(self);
        if (std::fwrite(block.data(), 1, block.size(), me->file_.get()) != block.size()) return false;
        me->written_ += block.size();
        me->reportProgress();
        return true;
    }

    void reportProgress() {
        curl_off_t length = -1;
        curl_easy_getinfo(curl_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (progress_ == nullptr || !*progress_ || length <= 0) return;
        // 64-bit, so that files beyond 42 MB do not wrap; a body longer than announced
        // stays at 100.
        const unsigned percent =
            static_cast<unsigned>(std::min<std::uint64_t>(100, written_ * 100 / static_cast<std::uint64_t>(length)));
        if (percent == lastPercent_) return;
        lastPercent_ = percent;
        (*progress_)(percent);
    }

    CURL* curl_;
    const std::string& path_;
    const NetUtil::Progress* progress_;
    std::uint64_t maxBytes_;
    std::uint64_t received_ = 0;
    bool tooLarge_ = false;
    BlockCutter blocks_;
    std::unique_ptr<std::FILE, HandleCloser> file_;
    std::uint64_t written_ = 0;
    unsigned lastPercent_ = 0;
};

bool Download(const std::string& url, const std::string& path, const NetUtil::Progress* progress,
              const NetUtil::Limits& limits) {
    if (!IsHttpUrl(url)) return false;
    CurlHandle curl = OpenTransfer(url, limits.downloadConnectTimeoutMs, limits);
    if (!curl) return false;
    CURL* c = curl.get();
    DownloadSink sink(c, path, progress, limits.maxDownloadBytes);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &DownloadSink::Write);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    const CURLcode result = curl_easy_perform(c);
    sink.discardIfTooLarge();
    if (result != CURLE_OK || ResponseCode(c) != 200) return false;
    return sink.finish();
}

// The reader compares GBK bytes; this system's ping prints UTF-8 or plain ASCII.
std::string AsGbk(const std::string& output) {
    try {
        return Utf8ToAnsi(output);
    } catch (const std::exception&) {
        return output;
    }
}

}  // namespace

NetUtil::NetUtil() : NetUtil(ServiceConfig::FromEnvironment().probeHosts) {}

NetUtil::NetUtil(std::vector<std::string> probeHosts) : probeHosts_(std::move(probeHosts)) {}

NetUtil::~NetUtil() = default;

NetUtil& NetUtil::Instance() {
    static NetUtil instance;
    return instance;
}

int NetUtil::httpRequest(const std::string& verb, const std::string& url, const std::string& body, std::string& reply) {
    return SendForm(verb, url, body, reply, limits_);
}

bool NetUtil::downloadFile(const std::string& url, const std::string& path) {
    return Download(url, path, nullptr, limits_);
}

bool NetUtil::downloadFileWithProgress(const std::string& url, const std::string& path, const Progress& progress) {
    return Download(url, path, &progress, limits_);
}

int NetUtil::uploadCardImage(const std::string& url, std::string& reply, const std::string& formPrefix,
                             const std::string& picturePath) {
    std::string picture;
    if (!Base64EncodeFile(picturePath, picture)) return kTransportError;
    return SendForm("POST", url, formPrefix + picture, reply, limits_);
}

bool NetUtil::pingHost(const std::string& host, int& averageMs) {
    if (kPingCommand.size() + host.size() >= kCommandLimit) {
        DebugLine("Target Is Too Long");
        return false;
    }
    // A name starting with '-' would be read by ping as an option.
    if (host.empty() || host.front() == '-') return false;
    std::string output;
    if (!RunPing(host, output)) return false;
    DebugLine(output);
    switch (ReadPingOutput(AsGbk(output), averageMs)) {
        case PingReading::kAverage: return true;
        case PingReading::kTimedOut: DebugLine("PING is Time Out"); return true;
        case PingReading::kNoStatistics: DebugLine("格式错误"); return false;
        case PingReading::kBadStatistics: return false;
    }
    return false;
}

bool NetUtil::isNetworkAvailable() {
    const auto now = ProbeCache::Clock::now();
    if (const auto kept = probeAnswer_.answer(now)) return *kept;
    const bool online = probeNow();
    probeAnswer_.store(online, now);
    return online;
}

bool NetUtil::probeNow() {
    for (const std::string& host : probeHosts_) {
        int averageMs = -1;
        if (!pingHost(host, averageMs)) return false;
        // Unset (-1) reads as the largest unsigned value: never online.
        if (static_cast<unsigned>(averageMs) <= kOnlineLimitMs) return true;
    }
    return false;
}

}  // namespace kivtal
