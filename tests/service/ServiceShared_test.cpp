// Two service processes on two ports over one database serve one account at the same
// time: devices upload through both at once, and every change is stored once, numbered
// in one gap-free sequence, and received by another device exactly once; a batch sent
// again through the other process while the first send is still being stored (a lost
// reply's resend that overtakes it) is still one record per add.
#include <atomic>
#include <map>
#include <set>
#include <thread>

#include "ServiceChild.h"
#include "ServiceHarness.h"

namespace kivtal::service::test {
namespace {

constexpr int kDevices = 4;
constexpr int kBatches = 8;
constexpr int kBatchSize = 25;
constexpr int kResends = 6;
constexpr int kResendSize = 10;

Json::Value Post(int port, const std::string& path, const std::string& body) {
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(60, 0);
    const auto res = client.Post(path, body, "application/x-www-form-urlencoded");
    Json::Value v;
    if (!res || res->status != 200) return v;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    reader->parse(res->body.data(), res->body.data() + res->body.size(), &v, &errors);
    return v;
}

Device LogIn(int port, const std::string& uniqueId) {
    const Json::Value r =
        Post(port, "/Login/login", "username=zhang&password=" + ClientPasswordDigest("pw") + "&unique_id=" + uniqueId);
    const std::string userId = r["user_id"].asString();
    return {uniqueId, userId, RequestKey(userId, uniqueId, r["random_key"].asString())};
}

std::string Identity(const Device& d) {
    return "key=" + d.key + "&visitor=1&unique_id=" + d.uniqueId + "&user_id=" + d.userId;
}

std::string Name(int device, int contact) { return "d" + std::to_string(device) + "c" + std::to_string(contact); }

std::vector<std::string> Ids(const Json::Value& reply) {
    std::vector<std::string> out;
    for (const auto& r : reply["results"]) out.push_back(r["id"].asString());
    return out;
}

TEST(SharedDatabase, TwoProcessesServeOneAccountWithNothingLostOrDoubled) {
    kivtal::test::TempDir dir;
    const kivtal::test::ScratchDatabase db(dir.file("service.db"));
    {
        Service service(db.address(), FastLogins(), dir.path());
        ASSERT_TRUE(service.createAccount({"zhang", ClientPasswordDigest("pw"), 0, false, ""}));
    }
    const std::vector<std::string> rounds = {"--password-rounds", "1000"};
    bench::ServiceChild first(KIVTAL_SERVICE_EXE, db.address(), dir.path(), rounds);
    bench::ServiceChild second(KIVTAL_SERVICE_EXE, db.address(), dir.path(), rounds);
    const int ports[] = {first.port(), second.port()};
    ASSERT_GT(ports[0], 0);
    ASSERT_GT(ports[1], 0);

    // Each device sends its batches through both processes in turn, all devices at once.
    std::vector<Device> devices;
    for (int d = 0; d < kDevices; ++d) devices.push_back(LogIn(ports[d % 2], "DEVICE-" + std::to_string(d)));
    std::atomic<int> failed{0};
    std::vector<std::set<std::string>> ids(kDevices);
    std::vector<std::thread> senders;
    for (int d = 0; d < kDevices; ++d) {
        senders.emplace_back([&, d] {
            for (int b = 0; b < kBatches; ++b) {
                std::vector<Entry> batch;
                for (int i = 1; i <= kBatchSize; ++i) {
                    const int local = b * kBatchSize + i;
                    batch.push_back({1, 1, local, 0, Contact(local, Name(d, local), 0)});
                }
                const Json::Value r =
                    Post(ports[(d + b) % 2], "/Sync/send", Identity(devices[d]) + "&opers=" + EncodeOpers(batch));
                if (r["error"].asString() != "0") ++failed;
                for (const auto& result : r["results"]) ids[d].insert(result["id"].asString());
            }
        });
    }
    for (auto& t : senders) t.join();
    ASSERT_EQ(failed, 0);

    // Every add got a server id of its own.
    std::set<std::string> all;
    for (const auto& s : ids) all.insert(s.begin(), s.end());
    EXPECT_EQ(all.size(), std::size_t{kDevices * kBatches * kBatchSize});

    // The same batch through both processes at once: whichever is stored second finds
    // the adds of the first and changes those records.
    for (int r = 0; r < kResends; ++r) {
        std::vector<Entry> batch;
        for (int i = 1; i <= kResendSize; ++i) {
            const int local = 10000 + r * kResendSize + i;
            batch.push_back({1, 1, local, 0, Contact(local, Name(0, local), 0)});
        }
        const std::string body = Identity(devices[0]) + "&opers=" + EncodeOpers(batch);
        Json::Value replies[2];
        std::thread other([&] { replies[1] = Post(ports[1], "/Sync/send", body); });
        replies[0] = Post(ports[0], "/Sync/send", body);
        other.join();
        ASSERT_EQ(replies[0]["error"].asString(), "0");
        ASSERT_EQ(replies[1]["error"].asString(), "0");
        EXPECT_EQ(Ids(replies[0]), Ids(replies[1])) << r;
    }
    constexpr std::size_t kContacts = kDevices * kBatches * kBatchSize + kResends * kResendSize;

    // One sequence for the account, 1..n without a gap, and the account's counter at n.
    const std::string n = db.query("SELECT count(*) FROM changes;");
    EXPECT_EQ(db.query("SELECT min(seq) || ' ' || max(seq) || ' ' || count(DISTINCT seq) FROM changes;"),
              "1 " + n + " " + n);
    EXPECT_EQ(db.query("SELECT last_seq FROM accounts WHERE login_name='zhang';"), n);

    // A new device receives each contact once, through either process.
    for (const int port : ports) {
        const Device reader = LogIn(port, "READER-" + std::to_string(port));
        const Json::Value got = Post(port, "/Sync/receive", Identity(reader) + "&last_sync=0");
        ASSERT_EQ(got["error"].asString(), "0");
        std::map<std::string, int> seen;
        for (const auto& e : got["opers"]) {
            if (e["oper_id"].asString() == "1") ++seen[SplitFields(e["content"].asString())[1]];
        }
        EXPECT_EQ(seen.size(), kContacts);
        for (const auto& [name, count] : seen) EXPECT_EQ(count, 1) << name;
    }
}

}  // namespace
}  // namespace kivtal::service::test
