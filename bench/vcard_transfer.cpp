// vCard import of a 10,000-card file (pinyin, duplicate checks and change-log entries
// included) into an empty user database, and export of 10,000 contacts. The 100,000-card
// import and the 100 MB file of broken cards are there for their peak memory: run each
// alone under /usr/bin/time -v with --benchmark_filter.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ChineseBook.h"
#include "store/LocalStore.h"
#include "vcard/ContactExport.h"
#include "vcard/ContactImport.h"

namespace kivtal {
namespace {

// Cards broken in the ways real files break them, 1 KB and four failures a round: a
// bare BEGIN line, a card cut off by the next, a name in broken quoted-printable, an
// unknown charset on the name with a long note beside it.
std::string BrokenCards(int i) {
    const std::string n = std::to_string(i);
    return "BEGIN:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:cut off " + n +
           "\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:=E5=ZZ" + n +
           "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=X-NONE:" + n +
           "\r\nNOTE:" + std::string(800, 'n') + "\r\nEND:VCARD\r\n";
}

class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/kivtal-bench-vcard-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& dir() const { return dir_; }

    std::string CardFile(int count) {
        const std::string path = dir_ + "/cards" + std::to_string(count) + ".vcf";
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < count; ++i) out << bench::BookCard(i);
        return path;
    }

    // Broken cards up to the size given.
    std::string BrokenFile(std::uint64_t bytes) {
        const std::string path = dir_ + "/broken.vcf";
        std::ofstream out(path, std::ios::binary);
        std::uint64_t written = 0;
        for (int i = 0; written < bytes; ++i) {
            const std::string text = BrokenCards(i);
            out << text;
            written += text.size();
        }
        return path;
    }

    std::unique_ptr<LocalStore> FreshStore(int n) {
        const std::string folder = dir_ + "/user" + std::to_string(n) + "/";
        auto store = std::make_unique<LocalStore>(StorePaths{folder, dir_ + "/none.db"});
        store->EnsureUserDb("bench");
        return store;
    }

private:
    std::string dir_;
};

void Import(benchmark::State& state) {
    Scratch scratch;
    const int count = static_cast<int>(state.range(0));
    const std::string file = scratch.CardFile(count);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<LocalStore> store = scratch.FreshStore(round++);
        state.ResumeTiming();
        vcard::ImportReport report;
        if (vcard::ContactImport(*store, 0, false).ImportFile(file, report) != vcard::ImportResult::Done ||
            report.added != count)
            state.SkipWithError("import failed");
    }
    state.counters["cards"] = count;
}
BENCHMARK(Import)->Arg(10000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(Import)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

void ImportBroken(benchmark::State& state) {
    Scratch scratch;
    const std::string file = scratch.BrokenFile(static_cast<std::uint64_t>(state.range(0)) << 20);
    std::unique_ptr<LocalStore> store = scratch.FreshStore(0);
    for (auto _ : state) {
        vcard::ImportReport report;
        if (vcard::ContactImport(*store, 0, false).ImportFile(file, report) != vcard::ImportResult::Done ||
            report.added != 0 || report.notes.size() != vcard::ImportReport::kMaxNotes)
            state.SkipWithError("import failed");
        state.counters["failed"] = report.failed;
    }
}
BENCHMARK(ImportBroken)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

void Export(benchmark::State& state) {
    Scratch scratch;
    std::unique_ptr<LocalStore> store = scratch.FreshStore(0);
    vcard::ImportReport report;
    vcard::ContactImport(*store, 0, false).ImportFile(scratch.CardFile(10000), report);
    const auto format = static_cast<vcard::ExportFormat>(state.range(0));
    for (auto _ : state) {
        int count = 0;
        if (vcard::ContactExport(*store, 0, format).ToFile(scratch.dir() + "/out", count) !=
                vcard::ExportResult::Done ||
            count != 10000)
            state.SkipWithError("export failed");
    }
}
BENCHMARK(Export)
    ->Arg(static_cast<int>(vcard::ExportFormat::VCard30))
    ->Arg(static_cast<int>(vcard::ExportFormat::VCard40))
    ->Arg(static_cast<int>(vcard::ExportFormat::Csv))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivtal

BENCHMARK_MAIN();
