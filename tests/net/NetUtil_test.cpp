#include "net/NetUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "support/ScriptedService.h"
#include "support/TempDir.h"
#include "support/FileBytes.h"

namespace kivtal {
namespace {

using test::Reply;
using test::Request;
using test::ScriptedService;
using test::TempDir;
using namespace std::chrono_literals;

const std::vector<std::pair<std::string, std::string>> kFormHeaders = {
    {"User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)"},
    {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8,application/json"},
    {"Accept-Language", "zh-cn,zh;q=0.8,en-us;q=0.5,en;q=0.3"},
    {"Content-Type", "application/x-www-form-urlencoded"},
    {"Accept-Encoding", "gzip, deflate"},
};

// The header lines a request carried besides the ones that describe the connection.
std::vector<std::pair<std::string, std::string>> FormHeadersOf(const Request& r) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& h : r.headers)
        if (h.first != "Host" && h.first != "Content-Length") lines.push_back(h);
    return lines;
}

std::string WholeBase64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + 7) % 256);
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class NetUtilTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Requests to the loopback service must not be routed to a proxy of the machine.
        for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            unsetenv(name);
    }

    NetUtilTest() : net_(std::vector<std::string>{}) {
        NetUtil::Limits limits;
        limits.connectTimeoutMs = 2000;
        limits.lowSpeedSeconds = 1;
        // curl averages speed over the last seconds, so the few bytes of a sent form
        // would otherwise keep a silent reply "moving" for a while.
        limits.lowSpeedBytesPerSecond = 1000;
        net_.setLimits(limits);
    }

    std::string at(const std::string& path) const { return service_.url() + path; }

    ScriptedService service_;
    NetUtil net_;
    TempDir dir_;
};

TEST_F(NetUtilTest, SendsTheFiveHeaderLinesInOrderAndTheBodyUnchanged) {
    struct Case {
        std::string verb, body;
    };
    // Forms are escaped by their builders; the transport must not touch a byte.
    const std::string form = "username=张三&password=a%2Bb c&unique_id=~麤^&visitor=0";
    for (const Case& c : {Case{"POST", form}, Case{"POST", ""}, Case{"GET", ""}}) {
        SCOPED_TRACE(c.verb + " [" + c.body + "]");
        service_.clearRequests();
        service_.script("/Login/login", Reply::Ok("{}"));
        std::string reply;
        EXPECT_EQ(net_.httpRequest(c.verb, at("/Login/login"), c.body, reply), NetUtil::kOk);
        const std::vector<Request> sent = service_.requests();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].method, c.verb);
        EXPECT_EQ(sent[0].target, "/Login/login");
        EXPECT_EQ(sent[0].body, c.body);
        EXPECT_EQ(FormHeadersOf(sent[0]), kFormHeaders);
    }
}

TEST_F(NetUtilTest, ReturnCodesAndWhatReachesTheReply) {
    struct Case {
        const char* name;
        Reply reply;
        int code;
        std::string reply_after;  // the reply held "before:" when the call began
    };
    const std::string body = std::string(3000, 'j');
    const Case cases[] = {
        {"ok appends", Reply::Ok("{\"error\":\"0\"}"), NetUtil::kOk, "before:{\"error\":\"0\"}"},
        {"empty 200", Reply::Ok(""), NetUtil::kOk, "before:"},
        {"404", Reply::Status(404, "missing"), 404, "before:"},
        {"500", Reply::Status(500, "broken"), 500, "before:"},
        {"status wins over a broken body",
         [&] {
             Reply r = Reply::DropMidBody(body);
             r.status = 404;
             return r;
         }(),
         404, "before:"},
        {"dropped mid-body", Reply::DropMidBody(body), NetUtil::kTransportError, "before:"},
        {"closed without answer", Reply::Refuse(), NetUtil::kTransportError, "before:"},
        {"hangs", Reply::Hang(5s, "late"), NetUtil::kTimeout, "before:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        service_.script("/Sync/send", c.reply);
        std::string reply = "before:";
        EXPECT_EQ(net_.httpRequest("POST", at("/Sync/send"), "a=1", reply), c.code);
        EXPECT_EQ(reply, c.reply_after);
    }
}

TEST_F(NetUtilTest, RefusedConnectionIsATransportError) {
    std::string url;
    {
        ScriptedService gone;
        url = gone.url() + "/Login/login";
    }
    std::string reply;
    EXPECT_EQ(net_.httpRequest("POST", url, "a=1", reply), NetUtil::kTransportError);
    EXPECT_EQ(reply, "");
}

TEST_F(NetUtilTest, OnlyHttpAndHttpsUrlsAreContacted) {
    const std::string port = std::to_string(service_.port());
    const std::vector<std::string> urls = {"ftp://127.0.0.1:" + port + "/x", "file:///etc/hostname",
                                           "gopher://127.0.0.1:" + port + "/", "127.0.0.1:" + port + "/Login/login",
                                           ""};
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        std::string reply = "kept";
        EXPECT_EQ(net_.httpRequest("POST", url, "a=1", reply), NetUtil::kTransportError);
        EXPECT_EQ(reply, "kept");
    }
    EXPECT_TRUE(service_.requests().empty());
}

TEST_F(NetUtilTest, ZeroByteDropsTheRestOfItsBlockOnly) {
    const std::string first = std::string(10, 'a') + '\0' + std::string(1013, 'b');  // one 1024-byte block
    const std::string second(1024, 'c');
    const std::string third = std::string('\0' + std::string(1023, 'x'));
    const std::string last = std::string(5, 'd') + '\0' + "eee";
    service_.script("/Notice", Reply::Ok(first + second + third + last));
    std::string reply;
    ASSERT_EQ(net_.httpRequest("POST", at("/Notice"), "", reply), NetUtil::kOk);
    EXPECT_EQ(reply, std::string(10, 'a') + second + "ddddd");
}

TEST_F(NetUtilTest, FiftyMegabyteReplyArrivesWhole) {
    std::string body(50u << 20, 'k');
    body.replace(body.size() - 3, 3, "end");
    service_.script("/Sync/receive", Reply::Ok(body));
    std::string reply;
    ASSERT_EQ(net_.httpRequest("POST", at("/Sync/receive"), "", reply), NetUtil::kOk);
    EXPECT_EQ(reply.size(), body.size());
    EXPECT_TRUE(reply == body);
}

// A service that answers without end fills neither the memory nor the disk: past the
// limits a reply is refused with its own code and keeps nothing, a download returns
// false and leaves no file; up to them everything arrives.
TEST_F(NetUtilTest, RepliesAndDownloadsPastTheLimitsAreRefusedAndKeepNothing) {
    NetUtil::Limits limits = net_.limits();
    limits.maxReplyBytes = 100000;
    limits.maxDownloadBytes = 200000;
    net_.setLimits(limits);
    const struct {
        const char* name;
        std::size_t bytes;
        bool announced;
        bool fits;
    } cases[] = {
        {"reply at the limit", 100000, true, true},
        {"reply past it", 100001, true, false},
        {"reply past it, no length", 3000000, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string body(c.bytes, 'r');  // no zero bytes, which would cut blocks short
        service_.script("/Sync/receive", c.announced ? Reply::Ok(body) : Reply::NoLength(body));
        std::string reply = "kept";
        EXPECT_EQ(net_.httpRequest("POST", at("/Sync/receive"), "", reply), c.fits ? NetUtil::kOk : NetUtil::kTooLarge);
        EXPECT_EQ(reply.size(), c.fits ? 4 + c.bytes : 4u);
    }
    for (const auto& [bytes, fits] : {std::pair{200000, true}, {200001, false}, {5000000, false}}) {
        SCOPED_TRACE(bytes);
        service_.script("/ad.png", Reply::NoLength(Pattern(static_cast<std::size_t>(bytes))));
        const std::string target = dir_.file("ad" + std::to_string(bytes) + ".png");
        EXPECT_EQ(net_.downloadFile(at("/ad.png"), target), fits);
        EXPECT_EQ(std::filesystem::exists(target), fits);
    }
}

TEST_F(NetUtilTest, DownloadWritesTheBodyAndReportsEachPercentOnce) {
    // 4300 blocks of 10240 bytes: the percentage moves every 43 blocks, and each value
    // must be reported once. Beyond 42 MB, bytes x 100 no longer fits in 32 bits.
    const std::string body = Pattern(4300 * 10240);
    service_.script("/setup.exe", Reply::Ok(body));
    std::vector<unsigned> seen;
    ASSERT_TRUE(net_.downloadFileWithProgress(at("/setup.exe"), dir_.file("setup.exe"),
                                              [&](unsigned p) { seen.push_back(p); }));
    EXPECT_TRUE(test::FileBytes(dir_.file("setup.exe")) == body);
    std::vector<unsigned> expected(100);
    std::iota(expected.begin(), expected.end(), 1u);
    EXPECT_EQ(seen, expected);
}

TEST_F(NetUtilTest, DownloadWithoutLengthReportsNoProgress) {
    const std::string body = Pattern(25000);
    service_.script("/ad.png", Reply::NoLength(body));
    std::vector<unsigned> seen;
    ASSERT_TRUE(
        net_.downloadFileWithProgress(at("/ad.png"), dir_.file("ad.png"), [&](unsigned p) { seen.push_back(p); }));
    EXPECT_TRUE(test::FileBytes(dir_.file("ad.png")) == body);
    EXPECT_TRUE(seen.empty());
}

TEST_F(NetUtilTest, DownloadOfAnEmptyBodyCreatesAnEmptyFile) {
    service_.script("/empty.png", Reply::Ok(""));
    ASSERT_TRUE(net_.downloadFile(at("/empty.png"), dir_.file("empty.png")));
    EXPECT_TRUE(std::filesystem::exists(dir_.file("empty.png")));
    EXPECT_EQ(std::filesystem::file_size(dir_.file("empty.png")), 0u);
}

TEST_F(NetUtilTest, FailedDownloadsReturnFalse) {
    struct Case {
        const char* name;
        Reply reply;
        std::string target;
        bool fileCreated;
    };
    const Case cases[] = {
        {"404", Reply::Status(404, "no such picture"), dir_.file("a.png"), false},
        {"closed without answer", Reply::Refuse(), dir_.file("b.png"), false},
        {"dropped mid-body", Reply::DropMidBody(Pattern(30000)), dir_.file("c.png"), true},
        {"hangs", Reply::Hang(5s), dir_.file("d.png"), false},
        {"folder missing", Reply::Ok("png"), dir_.file("no/such/folder/e.png"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        service_.script("/pic.png", c.reply);
        EXPECT_FALSE(net_.downloadFile(at("/pic.png"), c.target));
        // A refused download leaves nothing; a broken one keeps what was written.
        EXPECT_EQ(std::filesystem::exists(c.target), c.fileCreated);
    }
}

TEST_F(NetUtilTest, UploadSendsPrefixAndWholeFileBase64) {
    const std::string prefix = "key=k&visitor=0&unique_id=u&user_id=7&bc_data=";
    // Around the 8193-byte read chunk, and sizes leaving one and two "=" of fill.
    for (std::size_t size : {1u, 8192u, 8193u, 8194u, 16386u, 100000u}) {
        SCOPED_TRACE(size);
        const std::string picture = Pattern(size);
        WriteFile(dir_.file("card.jpg"), picture);
        service_.clearRequests();
        service_.script("/Secretary/upload", Reply::Ok("{\"error\":\"0\",\"upload_count\":\"3\"}"));
        std::string reply;
        EXPECT_EQ(net_.uploadCardImage(at("/Secretary/upload"), reply, prefix, dir_.file("card.jpg")), NetUtil::kOk);
        EXPECT_EQ(reply, "{\"error\":\"0\",\"upload_count\":\"3\"}");
        const std::vector<Request> sent = service_.requests();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].method, "POST");
        EXPECT_TRUE(sent[0].body == prefix + WholeBase64(picture));
        EXPECT_EQ(FormHeadersOf(sent[0]), kFormHeaders);
    }
}

TEST_F(NetUtilTest, UploadOfAnEmptyOrMissingPictureSendsNothing) {
    WriteFile(dir_.file("empty.jpg"), "");
    for (const std::string& path : {dir_.file("empty.jpg"), dir_.file("missing.jpg"), dir_.path()}) {
        SCOPED_TRACE(path);
        std::string reply;
        EXPECT_EQ(net_.uploadCardImage(at("/Secretary/upload"), reply, "bc_data=", path), NetUtil::kTransportError);
        EXPECT_EQ(reply, "");
    }
    EXPECT_TRUE(service_.requests().empty());
}

}  // namespace
}  // namespace kivtal
