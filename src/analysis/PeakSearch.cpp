#include "analysis/PeakSearch.h"

#include <algorithm>
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

    std::vector<double> corrected, filter, noise;
    try {
        corrected.resize(static_cast<size_t>(length));
        filter.resize(static_cast<size_t>(K));
        noise.resize(static_cast<size_t>(K));
    } catch (const std::bad_alloc&) {
        return;
    }

    double meanLeft = 0.0, meanRight = 0.0;
    for (int i = 0; i < c; ++i) {
        meanLeft += y[a + i];
        meanRight += y[params.last - c + 1 + i];
    }
    meanLeft /= c;
    meanRight /= c;
    const double slope = length > c ? (meanRight - meanLeft) / (length - c) : 0.0;
    const double line0 = meanLeft - slope * c / 2;
    for (int i = 0; i < length; ++i)
        corrected[static_cast<size_t>(i)] = y[a + i] - (line0 + i * slope);

    // Lobe and centre sums at position 1, then moved one channel per position: each step
    // costs the same whatever the width.
    const double* D = corrected.data();
    double leftSum = 0.0, centreSum = 0.0, rightSum = 0.0;
    for (int i = 1; i <= h; ++i)
        leftSum += D[i];
    for (int i = 1 + h; i < 1 + h + w; ++i)
        centreSum += D[i];
    for (int i = 1 + h + w; i < 1 + 2 * h + w; ++i)
        rightSum += D[i];
    for (int j = 0;; ++j) {
        filter[static_cast<size_t>(j)] = r * centreSum - leftSum - rightSum;
        noise[static_cast<size_t>(j)] = r * r * centreSum + leftSum + rightSum;
        if (j + 1 >= K)
            break;
        const int k = j + 1; // the position just computed; the window starts at index k
        leftSum += D[k + h] - D[k];
        centreSum += D[k + h + w] - D[k + h];
        rightSum += D[k + 2 * h + w] - D[k + h + w];
    }

    const double* F = filter.data();
    const double threshold = params.sensitivity * params.sensitivity * w;
    auto centre = [&](int position) { return a + position + h + w / 2; };
    double p = F[0];
    for (int j = 1; j < K;) {
        if (F[j] > p) {
            p = F[j];
            ++j;
            continue;
        }
        const bool peak =
            j >= 2 && p >= 0 && p * p >= threshold * noise[static_cast<size_t>(j - 1)];
        if (!peak) {
            p = F[j];
            ++j;
            continue;
        }
        int jL = j - 2;
        for (double previous = p; jL >= 0 && F[jL] <= previous; --jL)
            previous = F[jL];
        int jR = j;
        for (double previous = p; jR < K && F[jR] <= previous; ++jR)
            previous = F[jR];
        out.Append(centre(jL + 1) + 1, centre(jR + 1) - 1);
        if (jR >= K)
            break;
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
