// Outlines of twenty 16384-channel spectra on a 1920-column plot beside their limit: one pass
// that sums every channel of the same spectra (the least any outline must do).

#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "display/PlotOutline.h"

namespace {

using namespace vorna;

constexpr int kSpectra = 20;
constexpr int kChannels = 16384;
constexpr int kColumns = 1920;
constexpr int kHeight = 1080;

const std::vector<std::vector<double>>& spectra() {
    static const std::vector<std::vector<double>> data = [] {
        std::mt19937 rng(99);
        std::vector<std::vector<double>> all(kSpectra, std::vector<double>(kChannels));
        for (auto& s : all) {
            std::poisson_distribution<int> counts(200.0);
            for (double& v : s)
                v = counts(rng);
        }
        return all;
    }();
    return data;
}

void BM_ComputePlotPoints(benchmark::State& state) {
    const auto scale = static_cast<ScaleType>(state.range(0));
    const auto& all = spectra();
    std::vector<std::vector<PlotPoint>> outlines(kSpectra);
    const PlotGeometry g{PlotView{0, 16383, 0, 1000}, kColumns, kHeight};
    for (auto _ : state) {
        for (int i = 0; i < kSpectra; ++i)
            ComputePlotPoints({all[i], 6, kChannels - 1, g, scale}, outlines[i]);
        benchmark::DoNotOptimize(outlines.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputePlotPoints)->Arg(0)->Arg(1)->Arg(2)->ArgName("scale");

void BM_PlotPointsLimit(benchmark::State& state) {
    const auto& all = spectra();
    for (auto _ : state) {
        double sum = 0;
        for (const auto& s : all)
            for (double v : s)
                sum += v;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PlotPointsLimit);

} // namespace

BENCHMARK_MAIN();
