// Load figures of kivtal-service processes over one database, not a test: ACCOUNTS
// accounts (default 1,000) with two devices each; each device logs in, uploads 100
// contacts, then receives the other device's. Devices of one account go through
// different processes when there are several. Prints requests per second and
// p50/p99 per endpoint, then checks that every device received exactly the other's
// 100 contacts and that every account's sequence is 1..n without a gap.
// Usage: kivtal-service-bench-sync-load SERVICE_PROGRAM [--db ADDRESS] [--processes N]
//        [--accounts N] [--in-flight N]
// --db names an empty PostgreSQL database (postgresql://...); without it a SQLite file
// in a scratch folder. Every request goes to 127.0.0.1; the run takes at most a few
// minutes and stops by itself.
#include <json/json.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>

#include "Database.h"
#include "LoadCalls.h"
#include "ServiceChild.h"

namespace {

using namespace kivtal::service;
using bench::Caller;
using bench::Clock;
using bench::Device;
using bench::Samples;
namespace fs = std::filesystem;

constexpr int kContacts = 100;
constexpr auto kDeadline = std::chrono::minutes(10);

struct Options {
    std::string program;
    std::string db;
    int processes = 1;
    int accounts = 1000;
    int inFlight = 32;
};

bool Parse(int argc, char** argv, Options& o) {
    if (argc < 2) return false;
    o.program = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::string value = argv[i + 1];
        if (key == "--db") {
            o.db = value;
        } else if (key == "--processes") {
            o.processes = std::max(1, std::atoi(value.c_str()));
        } else if (key == "--accounts") {
            o.accounts = std::max(1, std::atoi(value.c_str()));
        } else if (key == "--in-flight") {
            o.inFlight = std::max(1, std::atoi(value.c_str()));
        } else {
            return false;
        }
    }
    return true;
}

// The contacts (kind 1) a receive reply holds; -1 for a failed one.
int ContactsIn(const std::string& reply) {
    Json::Value v;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    if (!reader->parse(reply.data(), reply.data() + reply.size(), &v, &errors) || v["error"].asString() != "0")
        return -1;
    int n = 0;
    for (const auto& e : v["opers"]) n += e["oper_id"].asString() == "1";
    return n;
}

bool LoadAccounts(const Options& o, const fs::path& dir) {
    {
        std::ofstream data(dir / "accounts.json");
        data << "{\"accounts\":[";
        for (int i = 0; i < o.accounts; ++i)
            data << (i ? "," : "") << "{\"name\":\"load" << i << "\",\"password\":\"pw\"}";
        data << "]}\n";
    }
    const std::string load = o.program + " --db '" + o.db + "' --data " + dir.string() +
                             " --password-rounds 1000 --load " + (dir / "accounts.json").string() + " > /dev/null";
    return std::system(load.c_str()) == 0;
}

// One account's run: both devices log in, upload, then receive. False when a device
// did not receive exactly the other's contacts.
bool RunAccount(int account, std::vector<std::unique_ptr<Caller>>& callers, Samples& samples) {
    const std::string name = "load" + std::to_string(account);
    Caller& a = *callers[account % callers.size()];
    Caller& b = *callers[(account + 1) % callers.size()];
    Device da, db;
    samples.time("login", [&] { return (da = a.login(name, "A")).key; });
    samples.time("login", [&] { return (db = b.login(name, "B")).key; });
    samples.time("send", [&] { return a.send(da, 1, kContacts); });
    samples.time("send", [&] { return b.send(db, 1, kContacts); });
    std::string got[2];
    samples.time("receive", [&] { return got[0] = a.receive(da); });
    samples.time("receive", [&] { return got[1] = b.receive(db); });
    return ContactsIn(got[0]) == kContacts && ContactsIn(got[1]) == kContacts;
}

// Accounts whose sequence is not 1..n, or whose counter is not n.
std::int64_t BrokenSequences(const std::string& db) {
    const auto d = OpenDatabase(db);
    auto s = d->prepare(
        "SELECT count(*) FROM accounts a WHERE a.last_seq <> "
        "(SELECT count(*) FROM changes c WHERE c.account_id=a.account_id) OR a.last_seq <> "
        "(SELECT coalesce(max(seq),0) FROM changes c WHERE c.account_id=a.account_id);");
    s.bind({});
    return s.step() ? s.integer(0) : -1;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, o)) {
        std::cerr << "usage: kivtal-service-bench-sync-load SERVICE_PROGRAM [--db ADDRESS] [--processes N] "
                     "[--accounts N] [--in-flight N]\n";
        return 2;
    }
    char pattern[] = "/tmp/kivtal-sync-load-XXXXXX";
    const fs::path dir = mkdtemp(pattern);
    if (o.db.empty()) o.db = (dir / "service.db").string();
    if (!LoadAccounts(o, dir)) {
        std::cerr << "cannot load the accounts\n";
        return 1;
    }
    int wrong = 0;
    int done = 0;
    {
        std::vector<std::unique_ptr<bench::ServiceChild>> services;
        std::vector<int> ports;
        for (int p = 0; p < o.processes; ++p) {
            services.push_back(std::make_unique<bench::ServiceChild>(
                o.program, o.db, dir, std::vector<std::string>{"--password-rounds", "1000"}));
            if (!services.back()->port()) {
                std::cerr << "a service did not start\n";
                return 1;
            }
            ports.push_back(services.back()->port());
        }
        Samples samples;
        std::atomic<int> next{0}, mismatched{0}, finished{0};
        const auto start = Clock::now();
        std::vector<std::thread> threads;
        for (int t = 0; t < o.inFlight; ++t) {
            threads.emplace_back([&] {
                std::vector<std::unique_ptr<Caller>> callers;
                for (const int port : ports) callers.push_back(std::make_unique<Caller>(port));
                for (int i = next++; i < o.accounts && Clock::now() - start < kDeadline; i = next++) {
                    mismatched += !RunAccount(i, callers, samples);
                    ++finished;
                }
            });
        }
        for (auto& t : threads) t.join();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        wrong = mismatched;
        done = finished;
        bench::Report(std::to_string(done) + " accounts x 2 devices, " + std::to_string(o.processes) +
                          " process(es), " + std::to_string(o.inFlight) + " in flight, " + std::to_string(seconds) +
                          " s",
                      samples, seconds);
    }
    const std::int64_t broken = BrokenSequences(o.db);
    std::printf("devices that did not receive exactly the other's %d contacts: %d\n", kContacts, wrong);
    std::printf("accounts whose sequence is not 1..n without a gap: %lld\n", static_cast<long long>(broken));
    fs::remove_all(dir);
    return wrong == 0 && broken == 0 && done == o.accounts ? 0 : 1;
}
