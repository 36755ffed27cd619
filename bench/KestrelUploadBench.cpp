// A full 16384-channel upload through the Kestrel link against the simulated analyzer on a
// virtual clock: the host time it costs, beside the time the same bytes need on the wire at
// 115200 baud (computed, reported as counters) and beside the cheapest host work on those bytes
// (placing the two halves of every channel, the limit benchmark).

#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "common/Clock.h"
#include "kestrel/KestrelDataBlock.h"
#include "kestrel/KestrelLink.h"
#include "sim/kestrel/KestrelSimulator.h"

namespace {

using namespace vorna;

constexpr int kChannels = 16384;
constexpr int kChunk = 1024;
constexpr double kWireBaud = 115200.0;
constexpr double kBitsPerByte = 11.0; // start, 8 data, SPACE parity, stop

std::vector<uint32_t> Pattern() {
    std::vector<uint32_t> counts(kChannels);
    for (int c = 0; c < kChannels; ++c)
        counts[c] = 0x9E3779B9u * static_cast<uint32_t>(c + 1);
    return counts;
}

// Seconds the channel bytes alone occupy the line: two 16-bit halves per channel.
double WireSeconds() {
    return 4.0 * kChannels * kBitsPerByte / kWireBaud;
}

void FullUpload(benchmark::State& state, KestrelSimModel model) {
    VirtualClock clock;
    KestrelSimOptions options;
    options.model = model;
    options.gainCode = 0;
    KestrelSimulator sim(clock, options);
    KestrelLink link(sim, clock);
    if (link.Connect(1, 115200, KestrelDeviceType::Unknown) != 0) {
        link.DetectUsb(1);
        link.Connect(1, 115200, KestrelDeviceType::Unknown);
    }
    sim.LoadDeviceCounts(Pattern());
    std::vector<uint32_t> counts(kChannels);
    int64_t simulated = 0;
    for (auto _ : state) {
        const int64_t start = clock.NowMicros();
        for (int first = 0; first < kChannels; first += kChunk) {
            if (link.ReadData(std::span<uint32_t>(counts).subspan(first, kChunk), first, kChunk))
                state.SkipWithError("upload failed");
        }
        simulated += clock.NowMicros() - start;
        benchmark::DoNotOptimize(counts.data());
    }
    if (counts != Pattern())
        state.SkipWithError("upload differs from the device memory");
    state.counters["wire_s"] = WireSeconds();
    state.counters["simulated_s"] = static_cast<double>(simulated) / 1e6 / state.iterations();
    // Host seconds per upload over wire seconds per upload; below 0.01 is the target.
    state.counters["host_per_wire"] = benchmark::Counter(
        WireSeconds(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FullUploadRs232(benchmark::State& state) {
    FullUpload(state, KestrelSimModel::KestrelA);
}
void BM_FullUploadUsb(benchmark::State& state) {
    FullUpload(state, KestrelSimModel::KestrelAUsb);
}

// The limit: the least any upload must do with the same bytes.
void BM_FullUploadLimit(benchmark::State& state) {
    const std::vector<uint32_t> pattern = Pattern();
    std::vector<uint8_t> low(2 * kChannels), high(2 * kChannels);
    for (int c = 0; c < kChannels; ++c) {
        low[2 * c] = pattern[c] & 0xFF, low[2 * c + 1] = (pattern[c] >> 8) & 0xFF;
        high[2 * c] = (pattern[c] >> 16) & 0xFF, high[2 * c + 1] = pattern[c] >> 24;
    }
    std::vector<uint32_t> counts(kChannels);
    for (auto _ : state) {
        uint32_t sum = StoreHalves(low, 0, counts) + StoreHalves(high, 1, counts);
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(counts.data());
    }
    state.counters["wire_s"] = WireSeconds();
}

BENCHMARK(BM_FullUploadRs232)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullUploadUsb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullUploadLimit)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
