#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>

#include "net/NetUtil.h"
#include "net/PingOutput.h"
#include "net/PingProcess.h"
#include "net/ProbeCache.h"
#include "support/TempDir.h"
#include "text/TextConv.h"

namespace kivtal {
namespace {

const char* kWindowsEnglish =
    "Pinging www.example.com [93.184.216.34] with 32 bytes of data:\r\n"
    "Reply from 93.184.216.34: bytes=32 time=35ms TTL=52\r\n\r\n"
    "Ping statistics for 93.184.216.34:\r\n"
    "    Packets: Sent = 1, Received = 1, Lost = 0 (0% loss),\r\n"
    "Approximate round trip times in milli-seconds:\r\n"
    "    Minimum = 35ms, Maximum = 35ms, Average = 35ms\r\n";

const char* kWindowsChinese =
    "正在 Ping www.example.com [93.184.216.34] 具有 32 字节的数据:\r\n"
    "来自 93.184.216.34 的回复: 字节=32 时间=41ms TTL=52\r\n\r\n"
    "93.184.216.34 的 Ping 统计信息:\r\n"
    "    数据包: 已发送 = 1，已接收 = 1，丢失 = 0 (0% 丢失)，\r\n"
    "往返行程的估计时间(以毫秒为单位):\r\n"
    "    最短 = 38ms，最长 = 44ms，平均 = 41ms\r\n";

const char* kIputils =
    "PING 127.0.0.1 (127.0.0.1) 56(84) bytes of data.\n"
    "64 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=0.222 ms\n\n"
    "--- 127.0.0.1 ping statistics ---\n"
    "1 packets transmitted, 1 received, 0% packet loss, time 0ms\n"
    "rtt min/avg/max/mdev = 0.222/0.222/0.222/0.000 ms\n";

TEST(PingOutputTest, ReadsEachKnownOutput) {
    struct Case {
        const char* name;
        std::string text;
        PingReading reading;
        int average;  // -1: must stay unset
    };
    const Case cases[] = {
        {"windows english", kWindowsEnglish, PingReading::kAverage, 35},
        {"windows chinese in GBK", Utf8ToAnsi(kWindowsChinese), PingReading::kAverage, 41},
        // The markers are GBK bytes: the same text in UTF-8 is not understood.
        {"windows chinese in UTF-8", kWindowsChinese, PingReading::kNoStatistics, -1},
        {"windows english time-out", "Pinging 10.0.0.9 with 32 bytes of data:\r\nRequest timed out.\r\n",
         PingReading::kTimedOut, -1},
        {"windows chinese time-out", Utf8ToAnsi("正在 Ping 10.0.0.9 具有 32 字节的数据:\r\n请求超时。\r\n"),
         PingReading::kTimedOut, -1},
        {"iputils", kIputils, PingReading::kAverage, 0},
        {"iputils rounds the average", "rtt min/avg/max/mdev = 12.100/35.500/40.000/1.000 ms\n", PingReading::kAverage,
         36},
        {"iputils time-out",
         "--- 10.0.0.9 ping statistics ---\n1 packets transmitted, 0 received, 100% packet loss, time 0ms\n",
         PingReading::kTimedOut, -1},
        {"ten received is no time-out",
         "10 packets transmitted, 10 received, 0% packet loss\nrtt min/avg/max/mdev = 1.0/2.4/3.0/0.1 ms\n",
         PingReading::kAverage, 2},
        {"unknown host", "ping: nosuch.example: Name or service not known\n", PingReading::kNoStatistics, -1},
        {"empty", "", PingReading::kNoStatistics, -1},
        {"windows line cut short", "    Minimum = 35ms, Maximum = 3", PingReading::kBadStatistics, -1},
        {"iputils line without numbers", "rtt min/avg/max/mdev = n/a\n", PingReading::kBadStatistics, -1},
        {"huge average clamps", "Minimum = 1ms, Maximum = 1ms, Average = 99999999999ms", PingReading::kAverage,
         2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int average = -1;
        EXPECT_EQ(ReadPingOutput(c.text, average), c.reading);
        EXPECT_EQ(average, c.average);
    }
}

// A probe whose ping answers come from a table: host -> (understood, average or unset).
class ScriptedProbe : public NetUtil {
public:
    struct Answer {
        bool understood;
        int average;  // -1: the ping does not set it
    };
    ScriptedProbe(std::map<std::string, Answer> answers)
        : NetUtil(std::vector<std::string>{"h1", "h2", "h3"}), answers_(std::move(answers)) {}

    bool pingHost(const std::string& host, int& averageMs) override {
        asked.push_back(host);
        const Answer a = answers_.at(host);
        if (a.average != -1) averageMs = a.average;
        return a.understood;
    }

    std::vector<std::string> asked;

private:
    std::map<std::string, Answer> answers_;
};

TEST(ProbeTest, TriesHostsInOrderUntilOneAnswersWithin500Ms) {
    struct Case {
        const char* name;
        std::map<std::string, ScriptedProbe::Answer> answers;
        bool online;
        std::vector<std::string> asked;
    };
    const Case cases[] = {
        {"time-out moves on", {{"h1", {true, -1}}, {"h2", {true, 20}}}, true, {"h1", "h2"}},
        {"unreadable output stops at once", {{"h1", {false, -1}}}, false, {"h1"}},
        {"exactly 500 is online", {{"h1", {true, 500}}}, true, {"h1"}},
        {"501 moves on", {{"h1", {true, 501}}, {"h2", {true, 499}}}, true, {"h1", "h2"}},
        {"all slow", {{"h1", {true, 501}}, {"h2", {true, 900}}, {"h3", {true, 5000}}}, false, {"h1", "h2", "h3"}},
        // The average is reset for every host: a fast first answer is not carried over.
        {"average reset per host",
         {{"h1", {true, 600}}, {"h2", {true, -1}}, {"h3", {true, -1}}},
         false,
         {"h1", "h2", "h3"}},
        {"negative average is not fast", {{"h1", {true, -5}}, {"h2", {false, -1}}}, false, {"h1", "h2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedProbe probe(c.answers);
        EXPECT_EQ(probe.isNetworkAvailable(), c.online);
        EXPECT_EQ(probe.asked, c.asked);
    }
}

TEST(ProbeTest, OneAnswerStandsForTheJobsOfTheNextFewSeconds) {
    ScriptedProbe probe({{"h1", {true, 20}}});
    EXPECT_TRUE(probe.isNetworkAvailable());
    EXPECT_TRUE(probe.isNetworkAvailable());
    EXPECT_EQ(probe.asked, std::vector<std::string>{"h1"});
}

TEST(ProbeCacheTest, KeepsEitherAnswerForThreeSecondsOnly) {
    using std::chrono::milliseconds;
    const ProbeCache::Clock::time_point t0{};
    ProbeCache cache;
    EXPECT_FALSE(cache.answer(t0).has_value());
    for (const bool online : {true, false}) {
        SCOPED_TRACE(online);
        cache.store(online, t0);
        EXPECT_EQ(cache.answer(t0), online);
        EXPECT_EQ(cache.answer(t0 + milliseconds(2999)), online);
        EXPECT_FALSE(cache.answer(t0 + milliseconds(3000)).has_value());
    }
}

TEST(ProbeTest, NoHostsMeansOffline) {
    NetUtil net(std::vector<std::string>{});
    EXPECT_FALSE(net.isNetworkAvailable());
}

TEST(ProbeTest, RefusesHostsThatCannotBeAPingTarget) {
    NetUtil net(std::vector<std::string>{});
    for (const std::string& host : {std::string(65, 'a'), std::string("-f"), std::string("")}) {
        SCOPED_TRACE(host);
        int average = -1;
        EXPECT_FALSE(net.pingHost(host, average));
        EXPECT_EQ(average, -1);
    }
}

// Puts a shell script named "ping" first on PATH for the life of the object.
class FakePing {
public:
    explicit FakePing(const std::string& script) : oldPath_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        const std::string file = dir_.file("ping");
        std::ofstream(file) << "#!/bin/sh\n" << script << "\n";
        ::chmod(file.c_str(), 0755);
        ::setenv("PATH", (dir_.path() + ":" + oldPath_).c_str(), 1);
    }
    ~FakePing() { ::setenv("PATH", oldPath_.c_str(), 1); }

private:
    test::TempDir dir_;
    std::string oldPath_;
};

TEST(PingProcessTest, RunsOneEchoInTheCLocaleWithBothStreams) {
    FakePing fake("echo \"args=$* lang=$LC_ALL\"; echo oops >&2");
    std::string output;
    ASSERT_TRUE(RunPing("host.example", output));
    EXPECT_EQ(output, "args=-c 1 -W 2 host.example lang=C\noops\n");
}

TEST(PingProcessTest, KillsAPingThatDoesNotEnd) {
    FakePing fake("echo started; exec sleep 30");
    std::string output = "kept";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunPing("host.example", output, std::chrono::milliseconds(300)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(output, "kept");
}

TEST(ProbeTest, PingHostReadsWhatTheCommandPrinted) {
    struct Case {
        const char* name;
        std::string printed;
        bool understood;
        int average;
    };
    const Case cases[] = {
        {"iputils", kIputils, true, 0},
        // A Chinese console of this system prints UTF-8; it is read as GBK all the same.
        {"chinese statistics", kWindowsChinese, true, 41},
        {"time-out", "1 packets transmitted, 0 received, 100% packet loss, time 0ms", true, -1},
        {"unknown host", "ping: nosuch.example: Name or service not known", false, -1},
    };
    NetUtil net(std::vector<std::string>{});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePing fake("cat <<'END'\n" + c.printed + "\nEND");
        int average = -1;
        EXPECT_EQ(net.pingHost("host.example", average), c.understood);
        EXPECT_EQ(average, c.average);
    }
}

TEST(ProbeTest, RealPingOfLoopback) {
    if (std::system("ping -c 1 -W 2 127.0.0.1 >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ping is missing or not permitted here";
    NetUtil net(std::vector<std::string>{"127.0.0.1"});
    int average = -1;
    ASSERT_TRUE(net.pingHost("127.0.0.1", average));
    EXPECT_GE(average, 0);
    EXPECT_LE(average, 500);
    EXPECT_TRUE(net.isNetworkAvailable());
}

}  // namespace
}  // namespace kivtal
