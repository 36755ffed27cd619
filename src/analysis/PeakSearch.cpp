#include "analysis/PeakSearch.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>

#include "analysis/RoiStatistics.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

constexpr const char* kInvalidRange = "Invalid range!";
constexpr const char* kNoPeaks = "No valid peaks are found!";

} // namespace

PeakFilterShape PeakFilterFor(int width, int length) {
    PeakFilterShape shape;
    shape.w = static_cast<int>(width + 0.5);
    shape.h = static_cast<int>(width / 2.0 + 0.5);
    shape.r = shape.w > 0 ? 2.0 * shape.h / shape.w : 0.0;
    shape.positions = length - 2 * shape.h - shape.w;
    return shape;
}

void FindPeakCandidates(const double* y, int n, const PeakSearchParams& params, CRoi& out) {
    out.Clear();
    const int a = params.first;
    const int length = params.last - a + 1;
    const int c = std::max(params.backgroundChannels, 1);
    const PeakFilterShape shape = PeakFilterFor(params.width, length);
    const int w = shape.w, h = shape.h, K = shape.positions;
    const double r = shape.r;
    // The range must lie in the data and hold both background groups and one filter.
    if (K <= 0 || w <= 0 || !y || a < 0 || params.last > n - 1 || c > length)
        return;

    // The two work arrays, left uninitialised: every element is written before it is read.
    std::unique_ptr<double[]> prefix(new (std::nothrow) double[static_cast<size_t>(length) + 1]);
    std::unique_ptr<double[]> filter(new (std::nothrow) double[static_cast<size_t>(K)]);
    if (!prefix || !filter)
        return;

    double meanLeft = 0.0, meanRight = 0.0;
    for (int i = 0; i < c; ++i) {
        meanLeft += y[a + i];
        meanRight += y[params.last - c + 1 + i];
    }
    meanLeft /= c;
    meanRight /= c;
    const double slope = length > c ? (meanRight - meanLeft) / (length - c) : 0.0;
    const double line0 = meanLeft - slope * c / 2;

    // Running sums of the background-corrected contents: the sum over any window is then the
    // difference of two of them, so each filter position costs the same whatever the width.
    {
        const double* ya = y + a;
        double* P = prefix.get();
        // First the corrected contents (a loop the compiler vectorises), then their running
        // sum in place, which is all the serial work there is.
        P[0] = 0.0;
        for (int i = 0; i < length; ++i)
            P[i + 1] = ya[i] - (line0 + i * slope);
        for (int i = 1; i <= length; ++i)
            P[i] += P[i - 1];
    }
    // Filter position j + 1 (j = 0..K - 1) covers range indices j + 1 .. j + 2h + w; its value
    // is stored at j. sums[i] is the sum of the corrected contents 0..i. F is needed at every
    // position, G only at local maxima of F, so G is taken there.
    const double* sums = prefix.get() + 1;
    struct Lobes {
        double left, centre, right;
    };
    auto lobes = [sums, h, w](int j) {
        const double start = sums[j], centreStart = sums[j + h], centreEnd = sums[j + h + w],
                     end = sums[j + 2 * h + w];
        return Lobes{centreStart - start, centreEnd - centreStart, end - centreEnd};
    };
    {
        double* __restrict F = filter.get();
        for (int j = 0; j < K; ++j) {
            const Lobes s = lobes(j);
            F[j] = r * s.centre - s.left - s.right;
        }
    }
    const double r2 = r * r;
    auto noiseAt = [&](int j) {
        const Lobes s = lobes(j);
        return r2 * s.centre + s.left + s.right;
    };

    const double* F = filter.get();
    const double threshold = params.sensitivity * params.sensitivity * w;
    auto centre = [&](int position) { return a + position + h + w / 2; };
    double p = F[0];
    for (int j = 1; j < K;) {
        if (F[j] > p) {
            p = F[j];
            ++j;
            continue;
        }
        // F[j - 1] (= p) is a local maximum.
        if (!(j >= 2 && p >= 0 && p * p >= threshold * noiseAt(j - 1))) {
            p = F[j];
            ++j;
            continue;
        }
        // From j - 2 leftwards while the values do not rise; from j rightwards the same.
        int jL = j - 2;
        for (double previous = p; jL >= 0 && F[jL] <= previous; --jL)
            previous = F[jL];
        int jR = j;
        for (double previous = p; jR < K && F[jR] <= previous; ++jR)
            previous = F[jR];
        out.Append(centre(jL + 1) + 1, centre(jR + 1) - 1);
        if (jR >= K)
            break;
        // The scan goes on after the right minimum, with p = F[jR].
        p = F[jR];
        j = jR + 1;
    }
}

void SearchPeaks(std::vector<double>& data, const PeakSearchParams& params,
                 const AnalysisSettings& settings, CRoi& out) {
    FindPeakCandidates(data.data(), static_cast<int>(data.size()), params, out);
    if (out.IsEmpty())
        return;
    RecomputeRoiList(out, data, settings);
    for (int i = out.GetCount() - 1; i >= 0; --i)
        if (out[i].status == static_cast<int>(RoiStatus::Bad))
            out.Delete(i);
}

PeakSearchOutcome SearchPeakChannels(CSpectrum& spectrum, const AnalysisSettings& settings,
                                     int first, int last) {
    PeakSearchOutcome outcome;
    if (last <= first) {
        outcome.message = kInvalidRange;
        return outcome;
    }
    PeakSearchParams params;
    params.first = first;
    params.last = last;
    params.backgroundChannels = std::max(settings.backgroundChannels, 1);
    params.width = settings.peakWidth;
    params.sensitivity = settings.peakSearchSens;
    {
        std::lock_guard<std::recursive_mutex> guard(spectrum.m_lock);
        SearchPeaks(spectrum.m_pData, params, settings, outcome.peaks);
    }
    if (outcome.peaks.IsEmpty())
        outcome.message = kNoPeaks;
    return outcome;
}

PeakSearchOutcome SearchAllPeaks(CSpectrum& spectrum, const AnalysisSettings& settings) {
    return SearchPeakChannels(spectrum, settings, 0, spectrum.m_nChannels - 1);
}

PeakSearchOutcome SearchPeakRange(CSpectrum& spectrum, const AnalysisSettings& settings,
                                  double startValue, double endValue) {
    const bool use = settings.calibrateEnable != 0;
    return SearchPeakChannels(spectrum, settings, spectrum.EnergyToChannel(startValue, use),
                              spectrum.EnergyToChannel(endValue, use));
}

} // namespace vorna
