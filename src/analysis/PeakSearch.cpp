#include "analysis/PeakSearch.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Running sums of the background-corrected contents d(i) = y[i] - (line0 + i * slope),
// i = 0..n-1, into P[1..n] with P[0] = 0. The range is summed as two halves side by side, so
// that each addition need not wait for the one before it; the second half is then shifted by the
// total of the first.
void correctedRunningSums(const double* y, int n, double line0, double slope, double* P) {
    P[0] = 0.0;
    const int m = (n / 2) & ~1; // first half, an even count
    int i = 0;
#if defined(__SSE2__)
    {
        const __m128d zero = _mm_setzero_pd(), two = _mm_set1_pd(2.0);
        const __m128d lineStart = _mm_set1_pd(line0), slopeV = _mm_set1_pd(slope);
        __m128d xA = _mm_set_pd(1.0, 0.0), xB = _mm_set_pd(m + 1.0, m);
        __m128d carryA = zero, carryB = zero;
        for (; i < m; i += 2) {
            __m128d dA =
                _mm_sub_pd(_mm_loadu_pd(y + i), _mm_add_pd(lineStart, _mm_mul_pd(xA, slopeV)));
            __m128d dB =
                _mm_sub_pd(_mm_loadu_pd(y + m + i), _mm_add_pd(lineStart, _mm_mul_pd(xB, slopeV)));
            // (d0, d1) -> (d0, d0 + d1), then the sum so far.
            dA = _mm_add_pd(_mm_add_pd(dA, _mm_unpacklo_pd(zero, dA)), carryA);
            dB = _mm_add_pd(_mm_add_pd(dB, _mm_unpacklo_pd(zero, dB)), carryB);
            _mm_storeu_pd(P + 1 + i, dA);
            _mm_storeu_pd(P + 1 + m + i, dB);
            carryA = _mm_unpackhi_pd(dA, dA);
            carryB = _mm_unpackhi_pd(dB, dB);
            xA = _mm_add_pd(xA, two);
            xB = _mm_add_pd(xB, two);
        }
    }
#else
    {
        double sA = 0.0, sB = 0.0;
        for (; i < m; ++i) {
            sA += y[i] - (line0 + i * slope);
            sB += y[m + i] - (line0 + (m + i) * slope);
            P[1 + i] = sA;
            P[1 + m + i] = sB;
        }
    }
#endif
    // The rest of the second half, then its shift by the first half's total.
    double sB = P[2 * m];
    for (int k = 2 * m; k < n; ++k) {
        sB += y[k] - (line0 + k * slope);
        P[1 + k] = sB;
    }
    const double offset = P[m];
    for (int k = m; k < n; ++k)
        P[1 + k] += offset;
}

#if !defined(__SSE2__)
// Bit j is set when the scan, arriving at position j, would take F[j - 1] as a peak: F does
// not rise at j, j >= 2, F[j - 1] >= 0 and F[j - 1]^2 >= threshold * G[j - 1].
void acceptanceBits(const double* F, const double* G, int K, double threshold, uint64_t* bits) {
    for (int j = 2; j < K; ++j) {
        const double p = F[j - 1];
        if (!(F[j] > p) && p >= 0 && p * p >= threshold * G[j - 1])
            bits[j >> 6] |= uint64_t{1} << (j & 63);
    }
}
#endif

// The first set bit at or after `from`, or -1.
int nextSetBit(const uint64_t* bits, int words, int from) {
    int w = from >> 6;
    if (w >= words)
        return -1;
    uint64_t x = bits[w] & (~uint64_t{0} << (from & 63));
    while (x == 0) {
        if (++w >= words)
            return -1;
        x = bits[w];
    }
    return w * 64 + __builtin_ctzll(x);
}

} // namespace

namespace {

// The straight background through the means of the first and the last c channels of the range.
struct BackgroundLine {
    double line0, slope;
};

BackgroundLine backgroundLine(const double* y, int a, int last, int c) {
    const int length = last - a + 1;
    double meanLeft = 0.0, meanRight = 0.0;
    for (int i = 0; i < c; ++i) {
        meanLeft += y[a + i];
        meanRight += y[last - c + 1 + i];
    }
    meanLeft /= c;
    meanRight /= c;
    const double slope = length > c ? (meanRight - meanLeft) / (length - c) : 0.0;
    return {meanLeft - slope * c / 2, slope};
}

// Filter position j + 1 (j = 0..K - 1) covers range indices j + 1 .. j + 2h + w; its values
// are stored at j. sums[i] is the sum of the corrected contents 0..i.
struct FilterGeometry {
    const double* sums;
    int K, h, w;
    double r, r2, threshold;

    void at(int j, double& f, double& g) const {
        const double start = sums[j], centreStart = sums[j + h], centreEnd = sums[j + h + w],
                     end = sums[j + 2 * h + w];
        const double left = centreStart - start, centre = centreEnd - centreStart,
                     right = end - centreEnd;
        f = r * centre - left - right;
        g = r2 * centre + left + right;
    }
};

// The scan arrives at every j with p = F[j - 1]; where F does not rise, F[j - 1] ends a local
// maximum and is a peak when it passes the sensitivity test. Those positions are found together
// with the filter values F and kept as bits, so the scan only visits them. `G` is scratch space
// for K values (unused on SSE2).
void filterValuesAndAcceptance(const FilterGeometry& geo, double* F, [[maybe_unused]] double* G,
                               uint64_t* bits) {
    const int K = geo.K;
#if defined(__SSE2__)
    // Two positions per step; the same operations in the same order as FilterGeometry::at.
    const double* sums = geo.sums;
    const int h = geo.h, w = geo.w;
    const double threshold = geo.threshold;
    const __m128d rv = _mm_set1_pd(geo.r), r2v = _mm_set1_pd(geo.r2), zero = _mm_setzero_pd(),
                  thr = _mm_set1_pd(threshold);
    __m128d lastF = zero, lastG = zero;
    uint64_t word = 0;
    int j = 0;
    for (; j + 1 < K; j += 2) {
        const __m128d start = _mm_loadu_pd(sums + j), centreStart = _mm_loadu_pd(sums + j + h),
                      centreEnd = _mm_loadu_pd(sums + j + h + w),
                      end = _mm_loadu_pd(sums + j + 2 * h + w);
        const __m128d left = _mm_sub_pd(centreStart, start),
                      centre = _mm_sub_pd(centreEnd, centreStart),
                      right = _mm_sub_pd(end, centreEnd);
        const __m128d f = _mm_sub_pd(_mm_sub_pd(_mm_mul_pd(rv, centre), left), right);
        const __m128d g = _mm_add_pd(_mm_add_pd(_mm_mul_pd(r2v, centre), left), right);
        _mm_storeu_pd(F + j, f);
        if (j >= 2) {
            // (F[j - 1], F[j]) and (G[j - 1], G[j]).
            const __m128d prevF = _mm_shuffle_pd(lastF, f, 1);
            const __m128d prevG = _mm_shuffle_pd(lastG, g, 1);
            __m128d m = _mm_and_pd(_mm_cmpngt_pd(f, prevF), _mm_cmpge_pd(prevF, zero));
            m = _mm_and_pd(m, _mm_cmpge_pd(_mm_mul_pd(prevF, prevF), _mm_mul_pd(thr, prevG)));
            // j is even, so both bits land in the same word.
            word |= static_cast<uint64_t>(_mm_movemask_pd(m)) << (j & 63);
            if ((j & 63) == 62) {
                bits[j >> 6] = word;
                word = 0;
            }
        }
        lastF = f;
        lastG = g;
    }
    if (j >= 4)
        bits[(j - 2) >> 6] |= word;
    if (j < K) { // one position left over
        double g = 0.0, prevG = 0.0, unusedF = 0.0;
        geo.at(j, F[j], g);
        if (j >= 2) {
            geo.at(j - 1, unusedF, prevG);
            const double p = F[j - 1];
            if (!(F[j] > p) && p >= 0 && p * p >= threshold * prevG)
                bits[j >> 6] |= uint64_t{1} << (j & 63);
        }
    }
#else
    for (int j = 0; j < K; ++j)
        geo.at(j, F[j], G[j]);
    acceptanceBits(F, G, K, geo.threshold, bits);
#endif
}

// One ROI per accepted maximum, bounded by the neighbouring minima of F. Position j's centre
// channel is firstCentre + j.
void appendCandidates(const double* F, int K, const uint64_t* bits, int words, int firstCentre,
                      CRoi& out) {
    for (int from = 2;;) {
        const int j = nextSetBit(bits, words, from);
        if (j < 0 || j >= K)
            break;
        const double p = F[j - 1];
        // From j - 2 leftwards while the values do not rise; from j rightwards the same.
        int jL = j - 2;
        for (double previous = p; jL >= 0 && F[jL] <= previous; --jL)
            previous = F[jL];
        int jR = j;
        for (double previous = p; jR < K && F[jR] <= previous; ++jR)
            previous = F[jR];
        out.Append(firstCentre + jL + 1 + 1, firstCentre + jR + 1 - 1);
        if (jR >= K)
            break;
        // The scan goes on after the right minimum, where p = F[jR].
        from = jR + 1;
    }
}

} // namespace

void FindPeakCandidates(const double* y, int n, const PeakSearchParams& params, CRoi& out) {
    out.Clear();
    const int a = params.first;
    const int length = params.last - a + 1;
    const int c = std::max(params.backgroundChannels, 1);
    const PeakFilterShape shape = PeakFilterFor(params.width, length);
    const int w = shape.w, h = shape.h, K = shape.positions;
    // The range must lie in the data and hold both background groups and one filter.
    if (K <= 0 || w <= 0 || !y || a < 0 || params.last > n - 1 || c > length)
        return;

    // One work block: running sums (length + 1), F (K) and G (K), left uninitialised (every
    // element is written before it is read), and the acceptance bits.
    const size_t sumsSize = static_cast<size_t>(length) + 1;
    std::unique_ptr<double[]> work(
        new (std::nothrow) double[sumsSize + 2 * static_cast<size_t>(K)]);
    const int words = K / 64 + 1;
    std::unique_ptr<uint64_t[]> bits(new (std::nothrow) uint64_t[static_cast<size_t>(words)]());
    if (!work || !bits)
        return;
    double* prefix = work.get();
    double* F = prefix + sumsSize;

    // With running sums the sum over any window is the difference of two of them, so each
    // filter position costs the same whatever the width.
    const BackgroundLine line = backgroundLine(y, a, params.last, c);
    correctedRunningSums(y + a, length, line.line0, line.slope, prefix);

    const FilterGeometry geo{prefix + 1,
                             K,
                             h,
                             w,
                             shape.r,
                             shape.r * shape.r,
                             params.sensitivity * params.sensitivity * w};
    filterValuesAndAcceptance(geo, F, F + K, bits.get());
    appendCandidates(F, K, bits.get(), words, a + h + w / 2, out);
}

void SearchPeaks(std::vector<double>& data, const PeakSearchParams& params,
                 const AnalysisSettings& settings, CRoi& out) {
    FindPeakCandidates(data.data(), static_cast<int>(data.size()), params, out);
    if (out.IsEmpty())
        return;
    RecomputeRoiList(out, data, settings);
    for (int i = out.GetCount() - 1; i >= 0; --i)
        if (out[i].status == RoiStatus::Bad)
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
        auto locked = spectrum.Lock();
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
