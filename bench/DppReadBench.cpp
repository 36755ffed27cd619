// One data-timer read cycle of an 8192-channel DPP: spectrum transfer through the link, 24-bit
// counts decoded, handed to the live spectrum, status read and decoded. The limit companion is a
// bare copy of the same 24576 spectrum bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "DppBenchDevice.h"
#include "common/Clock.h"
#include "common/UserPrompt.h"
#include "dpp/DppController.h"
#include "dpp/DppDevice.h"
#include "dpp/DppProtocol.h"
#include "dpp/DppUsbLink.h"

using namespace vorna;
using namespace vorna::bench;

namespace {

constexpr int kChannels = 8192;

// Random 24-bit counts.
std::vector<uint32_t> RandomCounts() {
    std::vector<uint32_t> counts(kChannels);
    std::mt19937 random(5);
    for (auto& c : counts)
        c = static_cast<uint32_t>(random()) & 0xFFFFFF;
    return counts;
}

// The live spectrum's channel contents are doubles.
struct Live : DppLiveSpectrum {
    std::vector<double> data;
    double total = 0;
    void ReplaceCounts(std::span<const uint32_t> counts, int, double t) override {
        data.assign(counts.begin(), counts.end());
        total = t;
    }
    void SetTimes(double, double, const std::string&) override {}
    void ClearData() override {}
    void Redraw() override {}
};

void BM_DppReadCycle8192(benchmark::State& state) {
    PreparedDriver driver(RandomCounts());
    SteadyClock clock;
    DppUsbLink link(driver, clock);
    DppDevice device;
    device.config.MCA = 5;
    device.config.channels = kChannels;
    BenchProfile profile;
    Live live;
    BenchWindow window;
    SilentPrompt prompt;
    DppController controller({link, device, profile, live, window, prompt, clock}, {});
    link.Open();
    for (auto _ : state) {
        controller.ReadData();
        benchmark::DoNotOptimize(live.total);
    }
    state.SetBytesProcessed(state.iterations() * kChannels * 3);
}
BENCHMARK(BM_DppReadCycle8192);

void BM_DppDecodeOnly8192(benchmark::State& state) {
    PreparedDriver driver(RandomCounts());
    std::vector<uint32_t> counts(kChannels);
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeSpectrum(driver.spectrum, kChannels, counts));
    state.SetBytesProcessed(state.iterations() * kChannels * 3);
}
BENCHMARK(BM_DppDecodeOnly8192);

// Limit: copying the transfer's bytes once, the least any read cycle must do.
void BM_DppReadLimitCopy(benchmark::State& state) {
    PreparedDriver driver(RandomCounts());
    std::vector<uint8_t> target(driver.spectrum.size());
    for (auto _ : state) {
        std::memcpy(target.data(), driver.spectrum.data(), target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kChannels * 3);
}
BENCHMARK(BM_DppReadLimitCopy);

} // namespace

BENCHMARK_MAIN();
