// `kivtal-cli contacts list` (name order) over 10,000 contacts with a bank account each,
// as a whole process, beside its floor: the sqlite3 shell running one SELECT of the
// columns the list prints on the same file. With --import N, also the vCard import of N
// cards into an empty user database (each run starts from a copy of an empty one).
// Run: build/release/bench/bench_list_figures [--runs N] [--contacts N] [--import N]
//      [--cli PATH] [--keep DIR]
// --cli times another build of kivtal-cli over the same book; --keep makes the data
// folder DIR (login "demo") and leaves it there, for a profiler.
// Targets: list <= 150 ms and <= 25 MB; the import has none yet.
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChineseBook.h"
#include "ProcessRuns.h"
#include "net/Identity.h"
#include "store/AccountStore.h"
#include "store/LocalStore.h"

namespace {

using namespace kivtal;
using namespace kivtal::bench;

constexpr const char* kLogin = "demo";
constexpr const char* kListColumns =
    "SELECT bc_id,bc_name,bc_name_pinyin,company_name,cell_phone,mail,group_id FROM tb_bc "
    "WHERE bc_state=0 ORDER BY bc_name_pinyin,bc_id;";

struct Options {
    int runs = 7;
    int contacts = 10000;
    int importCards = 0;
    std::string cli = KIVTAL_CLI_EXE;
    std::string keep;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--runs") options.runs = std::atoi(argv[i + 1]);
        else if (name == "--contacts") options.contacts = std::atoi(argv[i + 1]);
        else if (name == "--import") options.importCards = std::atoi(argv[i + 1]);
        else if (name == "--cli") options.cli = argv[i + 1];
        else if (name == "--keep") options.keep = argv[i + 1];
        else return false;
    }
    return argc % 2 == 1 && options.runs > 0 && options.contacts > 0 && options.importCards >= 0;
}

// A scratch folder that goes with the program.
class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/kivtal-list-figures-XXXXXX";
        const char* made = mkdtemp(pattern);
        dir_ = made ? made : "";
    }
    ~Scratch() {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};

// A data folder as the desktop client leaves it after the demo account's login: the
// remembered login and its user database holding `contacts` contacts of the book.
bool MakeDataFolder(const std::string& folder, int contacts) {
    LocalStore store({folder + "/", "/nonexistent/doz2a_v3.db"});
    if (store.EnsureLoginDb() != 0) return false;
    LoginRecord login;
    login.login_user = kLogin;
    login.login_pwd = md5Hex(md5Hex("demo123"));
    login.login_time = 1700000000;
    login.login_ways = 2;
    login.auto_login = 1;
    login.last_login = 1;
    if (AccountStore(store).SaveLogin(login) != 0 || store.EnsureUserDb(kLogin) != 0) return false;
    return contacts == 0 || FillBook(store, contacts);
}

// The lines the command prints, so a list that lost rows is not timed as a fast one.
int OutputLines(const Command& command) {
    std::string line;
    for (const std::string& e : command.env) line += e + " ";
    for (const std::string& a : command.argv) line += "'" + a + "' ";
    FILE* out = popen((line + "2>/dev/null").c_str(), "r");
    if (!out) return -1;
    int lines = 0;
    for (int c; (c = std::fgetc(out)) != EOF;)
        if (c == '\n') ++lines;
    return pclose(out) == 0 ? lines : -1;
}

bool Time(const char* name, const Command& command, int warmups, int runs, const std::string& target,
          const std::string& floor, const std::vector<Command>& before = {}) {
    std::vector<RunFigures> figures;
    std::string error;
    if (!RunMany(command, warmups, runs, figures, error, before)) {
        std::fprintf(stderr, "%s: %s\n", name, error.c_str());
        return false;
    }
    PrintRow(name, figures, target, floor);
    return true;
}

bool TimeList(const Options& options, const std::string& data) {
    const std::string env = "KIVTAL_DATA_DIR=" + data;
    const Command list{{options.cli, "contacts", "list"}, {env}};
    const Command floor{{"sqlite3", "-readonly", "-separator", "\t", data + "/" + kLogin + ".db", kListColumns}, {}};
    const int expected = options.contacts + 1;  // the header line
    if (const int lines = OutputLines(list); lines != expected) {
        std::fprintf(stderr, "contacts list printed %d lines, not %d\n", lines, expected);
        return false;
    }
    return Time("contacts list (name order)", list, 1, options.runs, "<= 150 ms, <= 25 MB", "the row below") &&
           Time("floor: one SELECT (sqlite3)", floor, 1, options.runs, "-", "-");
}

bool TimeImport(const Options& options, const std::string& scratch) {
    const std::string data = scratch + "/import";
    const std::string empty = scratch + "/empty";
    const std::string cards = scratch + "/cards.vcf";
    if (!MakeDataFolder(data, 0) || !MakeDataFolder(empty, 0)) return false;
    {
        std::ofstream out(cards, std::ios::binary);
        for (int i = 0; i < options.importCards; ++i) out << BookCard(i);
        if (!out) return false;
    }
    const std::string db = std::string("/") + kLogin + ".db";
    const Command reset{{"cp", empty + db, data + db}, {}};
    const Command import{{options.cli, "contacts", "import", cards}, {"KIVTAL_DATA_DIR=" + data}};
    const std::string name = "vCard import of " + std::to_string(options.importCards) + " cards";
    // Each run takes seconds: three of them, after one that warms the file cache.
    return Time(name.c_str(), import, 1, 3, "none yet", "-", {reset});
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--runs N] [--contacts N] [--import N] [--cli PATH] [--keep DIR]\n", argv[0]);
        return 2;
    }
    if (!options.keep.empty() && std::filesystem::exists(options.keep)) {
        std::fprintf(stderr, "%s is already there: --keep makes a new folder\n", options.keep.c_str());
        return 2;
    }
    Scratch scratch;
    const std::string data = options.keep.empty() ? scratch.dir() + "/data" : options.keep;
    if (scratch.dir().empty() || !MakeDataFolder(data, options.contacts)) {
        std::fprintf(stderr, "could not make the book in %s\n", scratch.dir().c_str());
        return 1;
    }
    std::printf("%d contacts with a bank account each; %s; %d runs after a warm-up (min median max)\n",
                options.contacts, options.cli.c_str(), options.runs);
    if (!TimeList(options, data)) return 1;
    if (options.importCards > 0 && !TimeImport(options, scratch.dir())) return 1;
    return 0;
}
