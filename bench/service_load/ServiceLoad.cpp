// Load figures of a kivtal-service program on loopback, not a test:
//  1. many accounts: ACCOUNTS accounts with two devices each, a mix of receives, small
//     sends and advertisement requests at 8, 32 and 128 requests in flight, each level for
//     a few seconds: requests per second, p50/p99 per endpoint, failed requests;
//  2. one account's receives alone, then while another account uploads large batches.
// Usage: bench_service_load SERVICE_PROGRAM [ACCOUNTS] [-- extra service options]
// Every request goes to 127.0.0.1; every loop is bounded in count and time.
#include <httplib.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "LoadCalls.h"
#include "ServiceChild.h"

namespace {

using namespace kivtal::service;
using bench::Caller;
using bench::Clock;
using bench::Device;
using bench::Report;
using bench::Samples;
using bench::ServiceChild;
namespace fs = std::filesystem;

constexpr auto kLevelTime = std::chrono::seconds(6);
constexpr int kLargeBatch = 2000;

void ManyAccounts(int port, std::vector<Device>& devices, int inFlight) {
    Samples samples;
    std::atomic<int> next{1'000'000};
    const auto end = Clock::now() + kLevelTime;
    std::vector<std::thread> threads;
    for (int t = 0; t < inFlight; ++t) {
        threads.emplace_back([&, t] {
            Caller c(port);
            std::mt19937 random(static_cast<unsigned>(t));
            while (Clock::now() < end) {
                const Device& d = devices[random() % devices.size()];
                const unsigned pick = random() % 10;
                if (pick < 5) {
                    samples.time("receive", [&] { return c.receive(d); });
                } else if (pick < 9) {
                    const int first = next.fetch_add(5);
                    samples.time("send", [&] { return c.send(d, first, 5); });
                } else {
                    samples.time("adverts", [&] { return c.post("/PcAd", Caller::identity(d)); });
                }
            }
        });
    }
    for (auto& t : threads) t.join();
    Report(std::to_string(devices.size() / 2) + " accounts x 2 devices, " + std::to_string(inFlight) + " in flight",
           samples, std::chrono::duration<double>(kLevelTime).count());
}

// One account receives its (large) feed over and over, first alone, then while another
// account uploads batches of kLargeBatch adds.
void ReceiveBesideUpload(int port, const Device& reader, const Device& writer) {
    for (const bool upload : {false, true}) {
        Samples samples;
        std::atomic<bool> done{false};
        std::thread uploader([&] {
            if (!upload) return;
            Caller c(port);
            for (int b = 0; b < 20 && !done; ++b) {
                samples.time("send 2000", [&] { return c.send(writer, 2'000'000 + b * kLargeBatch, kLargeBatch); });
            }
        });
        Caller c(port);
        const auto start = Clock::now();
        for (int i = 0; i < 40 && Clock::now() - start < std::chrono::seconds(20); ++i) {
            samples.time("receive", [&] { return c.receive(reader); });
        }
        done = true;
        uploader.join();
        Report(upload ? "receive of 10,000 changes while another account uploads" : "receive of 10,000 changes alone",
               samples, std::chrono::duration<double>(Clock::now() - start).count());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: bench_service_load SERVICE_PROGRAM [ACCOUNTS] [-- extra service options]\n";
        return 2;
    }
    const std::string program = argv[1];
    const int accounts = argc > 2 && std::string(argv[2]) != "--" ? std::atoi(argv[2]) : 1000;
    std::vector<std::string> extra;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) != "--") continue;
        extra.assign(argv + i + 1, argv + argc);
        break;
    }
    char pattern[] = "/tmp/kivtal-service-load-XXXXXX";
    const fs::path dir = mkdtemp(pattern);
    {
        std::ofstream data(dir / "accounts.json");
        data << "{\"accounts\":[";
        for (int i = 0; i <= accounts + 1; ++i)
            data << (i ? "," : "") << "{\"name\":\"load" << i << "\",\"password\":\"pw\"}";
        data << "]}\n";
    }
    std::string load =
        program + " --db " + (dir / "service.db").string() + " --load " + (dir / "accounts.json").string();
    for (const auto& e : extra) load += " " + e;
    if (std::system((load + " > /dev/null").c_str()) != 0) {
        std::cerr << "cannot load the accounts\n";
        return 1;
    }
    {
        ServiceChild service(program, dir / "service.db", extra);
        if (!service.port()) {
            std::cerr << "the service did not start\n";
            return 1;
        }
        std::vector<Device> devices;
        Caller c(service.port());
        for (int i = 1; i <= accounts; ++i) {
            for (const char* d : {"A", "B"}) devices.push_back(c.login("load" + std::to_string(i), d));
        }
        const Device reader = c.login("load0", "R"), writer = c.login("load" + std::to_string(accounts + 1), "W");
        const Device feeder = c.login("load0", "F");
        for (int b = 0; b < 5; ++b) c.send(feeder, b * kLargeBatch + 1, kLargeBatch);
        ReceiveBesideUpload(service.port(), reader, writer);
        for (const int inFlight : {8, 32, 128}) ManyAccounts(service.port(), devices, inFlight);
    }
    fs::remove_all(dir);
    return 0;
}
