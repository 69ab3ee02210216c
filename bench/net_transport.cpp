// Throughput of the transport on loopback: a large reply through the 1024-byte block
// reader, a large download, and the Base64 encoding of a card picture.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/ScriptedService.h"
#include "net/Base64.h"
#include "net/NetUtil.h"

namespace {

using kivtal::NetUtil;
using kivtal::test::Reply;
using kivtal::test::ScriptedService;

constexpr std::size_t kLarge = 50u << 20;

std::string ScratchFile(const char* name) {
    return (std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()))).string();
}

void BM_HttpReply50MB(benchmark::State& state) {
    ScriptedService service;
    service.setDefault("/big", Reply::Ok(std::string(kLarge, 'k')));
    NetUtil net(std::vector<std::string>{});
    for (auto _ : state) {
        std::string reply;
        if (net.httpRequest("POST", service.url() + "/big", "a=1", reply) != NetUtil::kOk)
            state.SkipWithError("request failed");
        benchmark::DoNotOptimize(reply.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLarge));
}
BENCHMARK(BM_HttpReply50MB)->Unit(benchmark::kMillisecond);

void BM_Download50MB(benchmark::State& state) {
    ScriptedService service;
    service.setDefault("/setup.exe", Reply::Ok(std::string(kLarge, 'k')));
    NetUtil net(std::vector<std::string>{});
    const std::string path = ScratchFile("kivtal-bench-download-");
    for (auto _ : state) {
        if (!net.downloadFileWithProgress(service.url() + "/setup.exe", path, [](unsigned) {}))
            state.SkipWithError("download failed");
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLarge));
}
BENCHMARK(BM_Download50MB)->Unit(benchmark::kMillisecond);

void BM_Base64CardPicture(benchmark::State& state) {
    const std::string path = ScratchFile("kivtal-bench-card-");
    const std::size_t size = 2u << 20;  // a large scanned card
    std::ofstream(path, std::ios::binary) << std::string(size, 'p');
    for (auto _ : state) {
        std::string text;
        kivtal::Base64EncodeFile(path, text);
        benchmark::DoNotOptimize(text.data());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_Base64CardPicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
