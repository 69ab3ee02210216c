// The sync figures, each a whole kivtal-cli process against a real kivtal-service on
// loopback, printed as min / median / max beside its target and its floor:
//   - the first upload of N contacts with a bank account each, by device A;
//   - their download to a fresh device B;
//   - a sync with nothing to do (the login included).
// Every upload and download run starts from the same kept folders.
//
// bench_sync_figures [CONTACTS] [--runs N] [--cli PATH] [--service PATH]
//   CONTACTS defaults to 10000 (the targets are for that); 100000 takes a few minutes.
//   --cli and --service time other builds of the programs, so that figures before and
//   after a change compare.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ProcessRuns.h"
#include "SyncFloors.h"
#include "SyncScene.h"
#include "support/TempDir.h"

namespace kivtal::bench {
namespace {

constexpr int kTargetContacts = 10000;
constexpr int kWarmups = 1;
// A sync time past the end of any feed: the receive answers nothing.
constexpr int kPastTheEnd = 1 << 30;

struct Options {
    int contacts = kTargetContacts;
    int runs = 5;
    Programs programs{KIVTAL_CLI_EXE, KIVTAL_SERVICE_EXE};
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--runs" && hasValue) o.runs = std::atoi(argv[++i]);
        else if (arg == "--cli" && hasValue) o.programs.cli = argv[++i];
        else if (arg == "--service" && hasValue) o.programs.service = argv[++i];
        else if (!arg.empty() && arg[0] != '-') o.contacts = std::atoi(arg.c_str());
        else return false;
    }
    return o.contacts > 0 && o.runs > 0;
}

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
}

std::string Target(const Options& o, const char* target) {
    return o.contacts == kTargetContacts ? target : "none (report)";
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one + " " + five;
}

// The service's processor time in each run, read between runs: its request handling
// is in no figure of the client's process.
class ServiceCpu {
public:
    explicit ServiceCpu(const SyncScene& scene) : scene_(scene) {}
    void start() { at_ = scene_.serviceCpuMs(); }
    void end() {
        if (at_ >= 0) perRun_.push_back(scene_.serviceCpuMs() - at_);
        at_ = -1;
    }
    // The readings after the warm-ups'.
    Spread counted(int warmups) const {
        return SpreadOf({perRun_.begin() + std::min<std::size_t>(warmups, perRun_.size()), perRun_.end()});
    }

private:
    const SyncScene& scene_;
    double at_ = -1;
    std::vector<double> perRun_;
};

void PrintServiceCpu(const Spread& s) {
    std::printf("%-34s %31s | cpu ms %7.1f %7.1f %7.1f\n", "  the service in the same runs", "", s.min, s.median,
                s.max);
}

class Figures {
public:
    Figures(const Options& o, SyncScene& scene) : o_(o), scene_(scene) {}

    bool all(std::string& error) {
        return scene_.prepare(o_.contacts, error) && scene_.keep("seeded", error) && upload(error) &&
               scene_.keep("uploaded", error) && download(error) && nothingToDo(error);
    }

private:
    using Device = SyncScene::Device;

    std::string name(const char* what) const { return std::string(what) + " (" + std::to_string(o_.contacts) + ")"; }

    // Runs `command` after one warm-up, each run from the kept state `from` (none: as the
    // last run left it), and reads the service's processor time in the same runs.
    bool timed(const Command& command, const char* from, std::vector<RunFigures>& runs, std::string& error) {
        ServiceCpu cpu(scene_);
        const bool ran = RunMany(command, kWarmups, o_.runs, runs, error, Setup([&](std::string& why) {
                                     cpu.end();
                                     if (from && !scene_.restore(from, why)) return false;
                                     cpu.start();
                                     return true;
                                 }));
        cpu.end();
        serviceCpu_ = cpu.counted(kWarmups);
        return ran;
    }

    bool upload(std::string& error) {
        std::vector<RunFigures> runs;
        if (!timed(scene_.cli(Device::kA, {"sync"}), "seeded", runs, error)) return false;
        double insert = 0;
        if (!InChild(
                [&](double& ms, std::string& why) {
                    return ServiceInsertMs(scene_.kept("seeded") / "service", scene_.kept("seeded") / "A", o_.runs, ms,
                                           why);
                },
                insert, error))
            return false;
        PrintRow(name("A: first upload"), runs, Target(o_, "<= 600 ms"), Ms(insert) + " = the service's own insert");
        PrintServiceCpu(serviceCpu_);
        return true;
    }

    bool download(std::string& error) {
        std::vector<RunFigures> runs;
        if (!timed(scene_.cli(Device::kB, {"sync"}), "uploaded", runs, error)) return false;
        double receive = 0, insert = 0;
        if (!InChild([&](double& ms, std::string& why) { return ReceiveRequestMs(scene_.url(), 0, o_.runs, ms, why); },
                     receive, error) ||
            !InChild(
                [&](double& ms, std::string& why) {
                    return InsertTransactionMs(scene_.kept("seeded") / "A", scene_.kept("uploaded") / "B", o_.runs, ms,
                                               why);
                },
                insert, error))
            return false;
        PrintRow(name("B: download to a fresh device"), runs, Target(o_, "<= 400 ms"),
                 Ms(receive + insert) + " = receive " + Ms(receive) + " + insert transaction " + Ms(insert));
        PrintServiceCpu(serviceCpu_);
        return true;
    }

    bool nothingToDo(std::string& error) {
        std::vector<RunFigures> runs, status;
        if (!timed(scene_.cli(Device::kA, {"sync"}), nullptr, runs, error) ||
            !RunMany(scene_.cli(Device::kA, {"status"}), kWarmups, o_.runs, status, error))
            return false;
        double request = 0;
        if (!InChild([&](double& ms,
                         std::string& why) { return ReceiveRequestMs(scene_.url(), kPastTheEnd, o_.runs, ms, why); },
                     request, error))
            return false;
        const double start = SpreadOf(Wall(status)).median;
        PrintRow(name("A: sync, nothing to do"), runs, Target(o_, "<= 50 ms"),
                 Ms(start + request) + " = status " + Ms(start) + " + one request " + Ms(request));
        PrintServiceCpu(serviceCpu_);
        return true;
    }

    const Options& o_;
    SyncScene& scene_;
    Spread serviceCpu_;  // of the last timed runs
};

}  // namespace
}  // namespace kivtal::bench

int main(int argc, char** argv) {
    using namespace kivtal::bench;
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::fprintf(stderr, "usage: bench_sync_figures [CONTACTS] [--runs N] [--cli PATH] [--service PATH]\n");
        return 2;
    }
    std::printf(
        "sync figures: %d contacts with a bank account each, median of %d runs after a warm-up; "
        "password rounds %s; load average %s\n",
        o.contacts, o.runs, SyncScene::kPasswordRounds, LoadAverage().c_str());
    kivtal::test::TempDir root;
    SyncScene scene(o.programs, root.path());
    std::string error;
    if (!Figures(o, scene).all(error)) {
        std::fprintf(stderr, "bench_sync_figures: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
