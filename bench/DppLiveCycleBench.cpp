// One data-timer cycle of an 8192-channel DPP as the running program does it: the spectrum
// transfer through the link, 24-bit counts decoded, the live spectrum of the spectra list
// replaced, totals with the statistics of its ROIs, then the plot outline of the live spectrum
// on a 1920-column plot. The limit companion copies the transfer's bytes and sums the channels
// once, the least any cycle must do. The target is well under 1 ms per cycle.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "DppBenchDevice.h"
#include "analysis/RoiStatistics.h"
#include "appcore/DppLiveTarget.h"
#include "common/Clock.h"
#include "common/UserPrompt.h"
#include "display/PlotOutline.h"
#include "dpp/DppController.h"
#include "dpp/DppDevice.h"
#include "dpp/DppUsbLink.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using namespace vorna::bench;

namespace {

constexpr int kChannels = 8192;
constexpr int kRois = 10;
constexpr int kColumns = 1920;

// Counts of a few hundred per channel with a peak every 800 channels.
std::vector<uint32_t> PeakCounts() {
    std::vector<uint32_t> counts(kChannels);
    std::mt19937 random(5);
    std::poisson_distribution<int> noise(300);
    for (int c = 0; c < kChannels; ++c) {
        counts[static_cast<size_t>(c)] = static_cast<uint32_t>(noise(random));
        if (c % 800 > 390 && c % 800 < 410)
            counts[static_cast<size_t>(c)] += 20000;
    }
    return counts;
}

void BM_DppLiveCycle8192(benchmark::State& state) {
    PreparedDriver driver(PeakCounts());
    SteadyClock clock;
    DppUsbLink link(driver, clock);
    DppDevice device;
    device.config.MCA = 5;
    device.config.channels = kChannels;
    SpectrumEnvironment env;
    env.dppDeviceType = 2;
    env.recomputeRoiStatistics = RecomputeAllRoiStatistics;
    CSpectraList list(env);
    {
        auto live = std::make_unique<CSpectrum>(env.slots, 0);
        live->m_nGain = 6;
        list.Add(live, true);
    }
    std::vector<PlotPoint> outline;
    const PlotGeometry geometry{PlotView{0, 16383, 0, 30000}, kColumns, 1080};
    CSpectrum& live = *list.At(0);
    DppLiveTarget target(list, [&] {
        auto s = live.Lock();
        ComputePlotPoints({s->m_pData, s->m_nGain, kChannels - 1, geometry, ScaleType::Linear},
                          outline);
    });
    for (int r = 0; r < kRois; ++r)
        live.m_roi.AddSorted(r * 800 + 380, r * 800 + 420);
    BenchProfile profile;
    BenchWindow window;
    SilentPrompt prompt;
    DppController controller({link, device, profile, target, window, prompt, clock}, {});
    link.Open();
    for (auto _ : state) {
        controller.ReadData();
        benchmark::DoNotOptimize(outline.data());
    }
    if (live.m_roi.GetCount() != kRois || live.m_roi[0].netArea <= 0)
        state.SkipWithError("ROI statistics were not computed");
    state.SetBytesProcessed(state.iterations() * kChannels * 3);
}
BENCHMARK(BM_DppLiveCycle8192)->Unit(benchmark::kMicrosecond);

// Limit: the transfer's bytes copied once and the channels summed once.
void BM_DppLiveCycleLimit(benchmark::State& state) {
    PreparedDriver driver(PeakCounts());
    std::vector<uint8_t> target(driver.spectrum.size());
    for (auto _ : state) {
        std::memcpy(target.data(), driver.spectrum.data(), target.size());
        uint64_t sum = 0;
        for (size_t i = 0; i < target.size(); i += 3)
            sum += target[i] | (target[i + 1] << 8) | (target[i + 2] << 16);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kChannels * 3);
}
BENCHMARK(BM_DppLiveCycleLimit)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
