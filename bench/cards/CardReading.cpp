// A timed program, not a benchmark: reads every card of a rendered set
// (scripts/render-cards.py) and prints, per contact field, how many cards it read
// exactly and how many it filled wrongly, then the time per card.
//
//   bench_card_reading FOLDER [--no-deskew] [--no-even-light] [--no-binarise]
//                             [--no-enlarge] [--enlarge-below=PX] [--no-reread] [--no-turns] [--verbose] [--lines]
//
// The switches turn off one step of the reading each, to measure what it is worth.
// Times are given per card as wall time (min / median / max) and as the processor time
// the reading thread used, which other programs on the machine do not swell.
#include <json/json.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cards/CardReader.h"

namespace fs = std::filesystem;
using namespace kivtal::cards;

namespace {

struct Tally {
    int present = 0, exact = 0, wrong = 0;
};

constexpr CardField kFields[] = {
    CardField::kName, CardField::kCompany, CardField::kPosition, CardField::kMobile, CardField::kOfficePhone,
    CardField::kFax,  CardField::kEmail,   CardField::kWebSite,  CardField::kQq,     CardField::kAddress};

ReadOptions OptionsFrom(const std::vector<std::string>& args) {
    ReadOptions o;
    for (const std::string& a : args) {
        if (a == "--no-deskew") o.prepare.deskew = false;
        if (a == "--no-even-light") o.prepare.evenLight = false;
        if (a == "--no-binarise") o.prepare.binarise = false;
        if (a == "--no-enlarge") o.prepare.enlargeBelow = 0;
        if (a.starts_with("--enlarge-below=")) o.prepare.enlargeBelow = std::stoi(a.substr(16));
        if (a == "--no-reread") o.rereadLargeLines = false;
        if (a == "--no-turns") o.tryTurns = false;
    }
    return o;
}

std::vector<fs::path> TruthFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".json") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

void Compare(const Json::Value& truth, const CardScan& scan, Tally (&tally)[kCardFieldCount], bool verbose) {
    for (CardField f : kFields) {
        const std::string want = truth[std::string(CardFieldKey(f))].asString();
        const FieldReading& got = scan.reading[f];
        const bool filled = got.confidence >= kConfidentReading;
        Tally& t = tally[static_cast<int>(f)];
        if (!want.empty()) ++t.present;
        if (filled && got.value == want) ++t.exact;
        else if (filled) ++t.wrong;
        if (verbose && (filled ? got.value != want : !want.empty()))
            std::printf("  %-16s want '%s' got '%s' (%d)\n", std::string(CardFieldKey(f)).c_str(), want.c_str(),
                        got.value.c_str(), got.confidence);
    }
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

void PrintTimes(const char* what, std::vector<double> seconds) {
    if (seconds.empty()) return;
    const auto [low, high] = std::minmax_element(seconds.begin(), seconds.end());
    std::printf("%s per card: %.2f s min, %.2f s median, %.2f s max\n", what, *low, Median(seconds), *high);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [--no-...] [--verbose]\n", argv[0]);
        return 2;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    const bool verbose = std::find(args.begin(), args.end(), "--verbose") != args.end();
    const bool showLines = std::find(args.begin(), args.end(), "--lines") != args.end();
    const ReadOptions options = OptionsFrom(args);
    std::string error;
    const std::unique_ptr<CardReader> reader = CardReader::Create(&error);
    if (!reader) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    Tally tally[kCardFieldCount];
    std::vector<double> wall, cpu;
    for (const fs::path& file : TruthFiles(argv[1])) {
        Json::Value truth;
        std::ifstream in(file);
        if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &truth, &error)) continue;
        const fs::path picture = file.parent_path() / truth["image"].asString();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuSeconds();
        const CardScan scan = reader->ReadFile(picture.string(), options);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        wall.push_back(seconds);
        cpu.push_back(ThreadCpuSeconds() - cpuStart);
        if (verbose)
            std::printf("%s (%s, %d dpi): %s, %.2f s\n", picture.filename().c_str(), truth["layout"].asCString(),
                        truth["dpi"].asInt(), CardStatusText(scan.status).c_str(), seconds);
        if (showLines)
            for (const TextLine& l : scan.lines)
                std::printf("  | h%-3d c%-3d %s\n", l.height, l.confidence, l.text.c_str());
        Compare(truth, scan, tally, verbose);
    }
    std::printf("%-16s %8s %8s %8s\n", "field", "cards", "exact", "wrong");
    for (CardField f : kFields) {
        const Tally& t = tally[static_cast<int>(f)];
        std::printf("%-16s %8d %7.1f%% %8d\n", std::string(CardFieldKey(f)).c_str(), t.present,
                    t.present ? 100.0 * t.exact / t.present : 0.0, t.wrong);
    }
    std::printf("%zu cards\n", wall.size());
    PrintTimes("wall time", wall);
    PrintTimes("processor time", cpu);
    return 0;
}
