// Connections that do not behave: slow senders, many clients at once, and requests
// for many ranges of a published file.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "ServiceHarness.h"

namespace kivtal::service::test {
namespace {

// A raw loopback connection to the service.
class RawConnection {
public:
    explicit RawConnection(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        timeval t{10, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
    }
    ~RawConnection() { ::close(fd_); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return connected_; }
    // False once the service has shut the connection down.
    bool write(std::string_view bytes) { return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) > 0; }
    // Everything up to the service closing the connection (or 10 s).
    std::string readAll() {
        std::string out;
        char buf[4096];
        for (ssize_t n; (n = ::recv(fd_, buf, sizeof buf, 0)) > 0;) out.append(buf, static_cast<std::size_t>(n));
        return out;
    }

private:
    int fd_;
    bool connected_ = false;
};

class ServiceConnections : public ServiceHarness {
protected:
    void SetUp() override {
        limits_.requestDeadline = std::chrono::milliseconds(1500);
        ServiceHarness::SetUp();
        addAccount("alice", "secret");
    }
};

// Slow senders, a byte at a time, hold a worker each only until their request's
// deadline; everybody else is answered meanwhile.
TEST_F(ServiceConnections, SlowSendersAreCutOffAndHoldNobodyUp) {
    const std::string request =
        "POST /Login/login HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded\r\n"
        "Content-Length: 40\r\n\r\nusername=alice&password=0&unique_id=SLOW";
    constexpr int kSlow = 12;
    std::atomic<int> cutOff{0};
    std::vector<std::thread> slow;
    for (int i = 0; i < kSlow; ++i) {
        slow.emplace_back([&] {
            RawConnection c(port_);
            ASSERT_TRUE(c.connected());
            // 0.25 s a byte: the whole request would take over 40 s.
            for (char ch : request) {
                if (!c.write(std::string(1, ch))) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(250));
            }
            if (c.readAll().empty()) ++cutOff;
        });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(loginReply("alice", "secret", "FAST")["error"].asString(), "0");
    for (auto& t : slow) t.join();
    EXPECT_EQ(cutOff.load(), kSlow);
}

// Many clients at once, each keeping its connection open between requests, are all
// answered: the backlog and the workers fit them.
TEST_F(ServiceConnections, ManyKeepAliveClientsAtOnceAreAllAnswered) {
    constexpr int kClients = 160;
    std::atomic<int> answered{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.emplace_back([&] {
            httplib::Client c("127.0.0.1", port_);
            c.set_keep_alive(true);
            c.set_connection_timeout(10, 0);
            c.set_read_timeout(20, 0);
            for (int k = 0; k < 3; ++k) {
                const auto r = c.Get("/Util/dateline");
                if (r && r->status == 200) ++answered;
            }
        });
    }
    for (auto& t : clients) t.join();
    EXPECT_EQ(answered.load(), 3 * kClients);
}

// One range of a published file is served; a request for several is refused rather
// than answered with the file many times over.
TEST_F(ServiceConnections, SeveralRangesOfAFileAreRefused) {
    std::filesystem::create_directories(service().filesDir() / "ads");
    std::ofstream(service().filesDir() / "ads" / "a.jpg", std::ios::binary) << std::string(4096, 'x');
    const struct {
        const char* range;
        int status;
        std::size_t bytes;
    } cases[] = {{"bytes=0-99", 206, 100}, {"bytes=0-99,100-199", 416, 0}, {"bytes=0-,0-,0-,0-", 416, 0}};
    for (const auto& c : cases) {
        const auto res = client_->Get("/files/ads/a.jpg", {{"Range", c.range}});
        ASSERT_TRUE(res) << c.range;
        EXPECT_EQ(res->status, c.status) << c.range;
        if (c.status == 206) EXPECT_EQ(res->body.size(), c.bytes) << c.range;
        if (c.status == 416) EXPECT_LT(res->body.size(), 1000u) << c.range;
    }
}

}  // namespace
}  // namespace kivtal::service::test
