// Start of the desktop client to its login window painted, as whole processes: each run
// is the program started from nothing (exec) until the login window's first paint, after
// which it ends by itself (KIVTAL_STARTUP_TIMING=exit). The time counts from the spawn on
// this program's clock to the moment the client prints on the same clock; processor time
// and peak memory are the client's own at that moment. Beside it the floor: an empty Qt
// window, started and measured the same way.
//
// Three users, each in a scratch home of its own (XDG folders included, so no real data
// is read; no session bus unless said): a fresh user with no data at all; a user with a
// remembered automatic login and a book of 10,000 contacts (the login window must not
// read the book: it costs the same as no book); and five remembered accounts whose
// digests the desktop's secret service keeps (a private session bus and keyring, as on a
// desktop; skipped when the daemons are not installed). The service address points at a
// closed loopback port, so the automatic login finds no service and nothing leaves the
// machine.
//
// Run: build/release/bench/bench_start_figures [runs] [client program]
// (runs: counted runs after two warm-ups, at least 5, default 9; the client defaults to
// the one this build made: give another build's to compare).
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ChineseBook.h"
#include "ProcessRuns.h"
#include "net/Identity.h"
#include "store/AccountStore.h"
#include "store/LocalStore.h"
#include "support/PrivateSecretService.h"

namespace {

using namespace kivtal;
using namespace kivtal::bench;

constexpr int kWarmups = 2;
constexpr int kBookSize = 10000;
constexpr int kKeptAccounts = 5;
constexpr char kTarget[] = "<= 150 ms";

// A home of its own: every folder the client or Qt reads or writes is inside it.
struct ScratchHome {
    std::string root;

    explicit ScratchHome(const std::string& parent, const char* name) : root(parent + "/" + name) {
        for (const char* sub : {"", "/run", "/data", "/config", "/cache"}) mkdir((root + sub).c_str(), 0700);
    }
    std::string dataDir() const { return root + "/data/kivtal/user/"; }

    // bus: the session bus's address, none when empty.
    std::vector<std::string> Environment(const std::string& bus = {}) const {
        return {"HOME=" + root,
                "DBUS_SESSION_BUS_ADDRESS=" + bus,
                "XDG_RUNTIME_DIR=" + root + "/run",
                "XDG_DATA_HOME=" + root + "/data",
                "XDG_CONFIG_HOME=" + root + "/config",
                "XDG_CACHE_HOME=" + root + "/cache",
                "TMPDIR=" + root,
                "KIVTAL_DATA_DIR=",
                "KIVTAL_API_URL=http://127.0.0.1:9",
                "KIVTAL_WEB_URL=http://127.0.0.1:9",
                "KIVTAL_PROBE_HOSTS=127.0.0.1",
                "QT_QPA_PLATFORM=offscreen",
                "KIVTAL_STARTUP_TIMING=exit"};
    }
};

// The login remembered last is the automatic one.
bool RememberLogins(LocalStore& store, int count) {
    if (store.EnsureLoginDb() != 0) return false;
    for (int i = 0; i < count; ++i) {
        LoginRecord login;
        login.login_user = i + 1 == count ? "bench" : "bench" + std::to_string(i);
        login.login_pwd = md5Hex(md5Hex("bench123"));
        login.auto_login = i + 1 == count ? 1 : 0;
        login.last_login = 1;
        if (AccountStore(store).SaveLogin(login) != 0) return false;
    }
    return true;
}

bool RememberBook(const ScratchHome& home) {
    LocalStore store(StorePaths{home.dataDir(), "/nonexistent/doz2a_v3.db"});
    if (!RememberLogins(store, 1) || store.EnsureUserDb("bench") != 0) return false;
    return FillBook(store, kBookSize);
}

// A run's figures to the first paint, from the client's own report: the time since the
// spawn, and its processor time and peak memory then. toMain: the part of the time spent
// before main() (loading and relocating the libraries).
bool ToFirstPaint(std::vector<RunFigures>& runs, std::vector<double>& toMain, std::string& error) {
    toMain.clear();
    for (RunFigures& run : runs) {
        const double clock = NumberAfter(run, " clock ");
        const double afterMain = NumberAfter(run, " painted ");
        const double cpu = NumberAfter(run, ", cpu ");
        const double peak = NumberAfter(run, ", peak RSS ");
        if (std::isnan(clock) || std::isnan(afterMain) || std::isnan(cpu) || std::isnan(peak)) {
            error = "no first-paint figure in the output:\n" + run.output;
            return false;
        }
        run.wallMs = clock - run.spawnedAtMs;
        run.cpuMs = cpu;
        run.peakMb = peak;
        toMain.push_back(run.wallMs - afterMain);
    }
    return true;
}

bool Measure(const char* name, const Command& command, const std::vector<Command>& before, int runs,
             const std::string& floor, std::vector<RunFigures>& out) {
    std::string error;
    std::vector<double> toMain;
    if (!RunMany(command, kWarmups, runs, out, error, before) || !ToFirstPaint(out, toMain, error)) {
        std::fprintf(stderr, "%s: %s\n", name, error.c_str());
        return false;
    }
    PrintRow(name, out, floor.empty() ? "-" : kTarget, floor.empty() ? "-" : floor);
    const Spread m = SpreadOf(toMain);
    std::printf("  of which exec to main()         wall ms %7.1f %7.1f %7.1f\n", m.min, m.median, m.max);
    return true;
}

std::string FloorText(const std::vector<RunFigures>& floor) {
    char text[96];
    std::snprintf(text, sizeof text, "%.1f ms wall, %.1f ms cpu (medians)", SpreadOf(Wall(floor)).median,
                  SpreadOf(Cpu(floor)).median);
    return text;
}

bool MeasureWithKeyring(const std::string& client, const std::string& scratch, int runs,
                        const std::vector<RunFigures>& floor) {
    const ScratchHome kept(scratch, "keyring");
    mkdir((kept.root + "/keyring").c_str(), 0700);
    test::PrivateSecretService service(kept.root + "/keyring");
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    LocalStore store(StorePaths{kept.dataDir(), "/nonexistent/doz2a_v3.db"});
    if (!service.running() || !bus || !RememberLogins(store, kKeptAccounts)) {
        std::fprintf(stderr, "the secret service did not start: no figures with it\n");
        return true;
    }
    std::vector<RunFigures> figures;
    return Measure("login window, 5 kept by the keyring", {{client}, kept.Environment(bus), true}, {}, runs,
                   FloorText(floor), figures);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 9;
    const std::string client = argc > 2 ? argv[2] : KIVTAL_EXE;

    char pattern[] = "/tmp/kivtal-start-XXXXXX";
    const char* scratch = mkdtemp(pattern);
    if (!scratch) {
        std::perror("mkdtemp");
        return 1;
    }
    const ScratchHome empty(scratch, "empty"), fresh(scratch, "fresh"), remembered(scratch, "remembered");
    if (!RememberBook(remembered)) {
        std::fprintf(stderr, "could not make the remembered user's book\n");
        return 1;
    }

    std::printf("exec to first paint, %d runs after %d warm-ups (min median max); cpu and peak at the paint\n", runs,
                kWarmups);
    std::vector<RunFigures> floor, figures;
    bool ok =
        Measure("empty Qt window (floor)", {{EMPTY_WINDOW_EXE}, empty.Environment(), true}, {}, runs, "", floor) &&
        Measure("login window, fresh user", {{client}, fresh.Environment(), true},
                {{{"rm", "-rf", fresh.root + "/data/kivtal"}, {}, false}}, runs, FloorText(floor), figures) &&
        Measure("login window, remembered, 10k book", {{client}, remembered.Environment(), true}, {}, runs,
                FloorText(floor), figures);
    if (ok && test::PrivateSecretService::Installed()) ok = MeasureWithKeyring(client, scratch, runs, floor);
    std::system(("rm -rf '" + std::string(scratch) + "'").c_str());
    return ok ? 0 : 1;
}
