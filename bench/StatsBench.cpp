// Peak search and ROI statistics with the Gaussian fit, each beside its limit: the cheapest work
// on the same data (running sums over the channels; one moment pass over each ROI window).

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "analysis/PeakSearch.h"
#include "analysis/RoiStatistics.h"
#include "spectrum/CRoi.h"

namespace {

using namespace vorna;

constexpr int kChannels = 16384;
constexpr int kPeaks = 100;
constexpr int kRoiWidth = 30; // channels per ROI: a peak of sigma 3 with its background

// 100 Gaussian peaks of sigma 3 channels and 2 000 to 50 000 counts, `spacing` channels apart.
void addPeaks(std::vector<double>& y, std::mt19937& rng, double spacing) {
    std::uniform_real_distribution<double> area(2000.0, 50000.0);
    for (int p = 0; p < kPeaks; ++p) {
        const double centre = 100.0 + p * spacing + 0.37 * (p % 7);
        const double a = area(rng), sigma = 3.0;
        const double height = a / (sigma * std::sqrt(2.0 * std::numbers::pi));
        for (int k = static_cast<int>(centre) - 20; k <= static_cast<int>(centre) + 20; ++k) {
            double d = k - centre;
            y[static_cast<size_t>(k)] +=
                std::round(height * std::exp(-d * d / (2 * sigma * sigma)));
        }
    }
}

// Counting noise on a sloping background with 100 peaks of sigma 3, fixed seed.
const std::vector<double>& spectrum() {
    static const std::vector<double> data = [] {
        std::mt19937 rng(1234);
        std::vector<double> y(kChannels);
        for (int k = 0; k < kChannels; ++k) {
            std::poisson_distribution<int> counts(80.0 - k * 0.003);
            y[static_cast<size_t>(k)] = counts(rng);
        }
        addPeaks(y, rng, 162.0);
        return y;
    }();
    return data;
}

// What an MCA records: nothing below the threshold (the first 64 channels) and nothing in the
// top 1/32 of the channels, a continuum falling from about 400 to 5 counts per channel with
// counting noise, and the same 100 peaks. Fixed seed.
const std::vector<double>& measuredSpectrum() {
    static const std::vector<double> data = [] {
        std::mt19937 rng(4321);
        std::vector<double> y(kChannels, 0.0);
        const int lastUsed = kChannels - kChannels / 32 - 1;
        for (int k = 64; k <= lastUsed; ++k) {
            std::poisson_distribution<int> counts(5.0 + 400.0 * std::exp(-k / 3000.0));
            y[static_cast<size_t>(k)] = counts(rng);
        }
        addPeaks(y, rng, 155.0);
        return y;
    }();
    return data;
}

// Argument 0: the measured-like spectrum; 1: counting noise everywhere (the worst case).
const std::vector<double>& dataset(int64_t which) {
    return which == 0 ? measuredSpectrum() : spectrum();
}

CRoi peakRois() {
    CRoi rois;
    for (int p = 0; p < kPeaks; ++p) {
        const int centre = 100 + p * 162;
        rois.Append(centre - kRoiWidth / 2, centre + kRoiWidth / 2 - 1);
    }
    return rois;
}

void BM_PeakSearch(benchmark::State& state) {
    const std::vector<double>& y = dataset(state.range(0));
    PeakSearchParams params;
    params.first = 0;
    params.last = kChannels - 1;
    CRoi out;
    for (auto _ : state) {
        FindPeakCandidates(y.data(), kChannels, params, out);
        benchmark::DoNotOptimize(out.GetCount());
    }
    state.counters["candidates"] = out.GetCount();
    state.SetItemsProcessed(state.iterations() * kChannels);
}
BENCHMARK(BM_PeakSearch)->ArgName("noise_only")->Arg(0)->Arg(1);

// One pass of running sums over the same channels into an array: the least any filter that
// looks at every channel and keeps its output must do.
void BM_PeakSearchLimit(benchmark::State& state) {
    const std::vector<double>& y = dataset(state.range(0));
    std::vector<double> sums(y.size());
    for (auto _ : state) {
        double s = 0.0;
        for (size_t i = 0; i < y.size(); ++i) {
            s += y[i];
            sums[i] = s;
        }
        benchmark::DoNotOptimize(sums.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kChannels);
}
BENCHMARK(BM_PeakSearchLimit)->ArgName("noise_only")->Arg(0)->Arg(1);

// The whole Search All: filter, scan, statistics of every candidate and removal of BAD ones.
void BM_PeakSearchWithStatistics(benchmark::State& state) {
    std::vector<double> y = dataset(state.range(0));
    PeakSearchParams params;
    params.first = 0;
    params.last = kChannels - 1;
    AnalysisSettings settings;
    CRoi out;
    for (auto _ : state) {
        SearchPeaks(y, params, settings, out);
        benchmark::DoNotOptimize(out.GetCount());
    }
    state.counters["peaks"] = out.GetCount();
}
BENCHMARK(BM_PeakSearchWithStatistics)->ArgName("noise_only")->Arg(0)->Arg(1);

// Statistics of 100 ROIs with the Gauss FWHM and centroid methods, each ROI timed on its own;
// reports the median and the largest time of one ROI (almost all of it the fit).
void BM_GaussStatistics100Rois(benchmark::State& state) {
    const std::vector<double>& y = spectrum();
    AnalysisSettings settings;
    settings.fwhmCalcMethod = FwhmMethod::Gauss;
    settings.centroidCalcMethod = CentroidMethod::Gauss;
    const CRoi initial = peakRois();
    std::vector<double> perRoi;
    int good = 0;
    for (auto _ : state) {
        CRoi rois = initial;
        good = 0;
        for (int i = 0; i < rois.GetCount(); ++i) {
            auto t0 = std::chrono::steady_clock::now();
            ComputeRoiStatistics(rois[i], y.data(), kChannels, settings);
            auto t1 = std::chrono::steady_clock::now();
            perRoi.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            good += rois[i].status == RoiStatus::Good;
        }
        benchmark::DoNotOptimize(rois[0].fwhm);
    }
    std::sort(perRoi.begin(), perRoi.end());
    state.counters["median_fit_us"] = perRoi[perRoi.size() / 2];
    state.counters["p99_fit_us"] = perRoi[perRoi.size() * 99 / 100];
    state.counters["good"] = good;
    state.SetItemsProcessed(state.iterations() * kPeaks);
}
BENCHMARK(BM_GaussStatistics100Rois)->Unit(benchmark::kMicrosecond);

// The same 100 windows with one pass each for the zeroth and first moments.
void BM_GaussStatisticsLimit(benchmark::State& state) {
    const std::vector<double>& y = spectrum();
    const CRoi rois = peakRois();
    for (auto _ : state) {
        double total = 0.0;
        for (const CRoiEntry& r : rois.Entries()) {
            double s = 0.0, sk = 0.0;
            for (int k = r.start; k <= r.end; ++k) {
                s += y[static_cast<size_t>(k)];
                sk += k * y[static_cast<size_t>(k)];
            }
            total += sk / s;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kPeaks);
}
BENCHMARK(BM_GaussStatisticsLimit)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
