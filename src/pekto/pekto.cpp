// The four Pekto routines. Written without exceptions or the C++ library so that the Windows
// build is one self-contained DLL.

#define PEKTO_BUILDING
#include "pekto.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Double to int32 the way the x86 conversion instruction does it: truncation toward zero, and
// 0x80000000 for NaN and anything out of range. Callers compare our results bit for bit with
// values they computed and stored long ago, so the conversion must be exactly this one.
int32_t truncateToInt32(double x) {
    if (x > -2147483649.0 && x < 2147483648.0)
        return static_cast<int32_t>(x);
    return INT32_MIN;
}

// The calibration's half-widths and expected channels are 16-bit variables: keep only the low
// 16 bits of the truncated value.
int16_t wrap16(double x) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(truncateToInt32(x))));
}

int16_t abs16(int16_t v) {
    int a = v < 0 ? -v : v;
    return static_cast<int16_t>(static_cast<uint16_t>(a));
}

double centroid(const int32_t* y, int first, int last) {
    if (last >= first) {
        // A caller's first channel below 0 would read before the array; those channels do not
        // exist, so they add nothing.
        int start = first < 0 ? 0 : first;
        // Summing the running totals from the top down weights channel k by (k - start + 1)
        // without a multiplication.
        int64_t total = 0;
        double weighted = 0.0;
        for (int k = last; k >= start; --k) {
            total += y[k];
            weighted += static_cast<double>(total);
        }
        if (total != 0)
            return start - 1 + weighted / static_cast<double>(total);
    }
    return (first + last) / 2.0;
}

double findPeak(const int32_t* y, int first, int last, float fraction) {
    if (first < 0)
        first = 0;
    int top = first;
    int32_t maximum = y[first];
    for (int k = first + 1; k <= last; ++k) {
        if (y[k] > maximum) {
            maximum = y[k];
            top = k;
        }
    }
    // int × float is a float product: callers' stored thresholds were rounded to float here.
    int32_t threshold = truncateToInt32(static_cast<float>(maximum) * fraction);
    int right = top;
    while (right <= last && y[right] > threshold)
        ++right;
    // A reversed window (last < first) has no channel above the maximum: the edge is last + 1.
    if (right > last)
        right = last + 1;
    int left = top;
    while (left >= first && y[left] > threshold)
        --left;
    return centroid(y, left, right);
}

// Locates one calibration peak; false when its search window holds no channel of 1..n-2.
bool locatePeak(const int32_t* y, int n, float energy, double offsetKeV, double gainKeV,
                int16_t minHalfWidth, float widthPercent, float fraction, double& channel) {
    int16_t half = abs16(wrap16(static_cast<double>(energy * widthPercent) * 0.01 / gainKeV + 0.5));
    if (half < minHalfWidth)
        half = minHalfWidth;
    int16_t expected = wrap16((energy - offsetKeV) / gainKeV + 0.5);
    int first = expected - half;
    if (first < 1)
        first = 1;
    int last = expected + half;
    if (last >= n - 1)
        last = n - 2;
    // A peak expected beyond either end of the spectrum would make the search read outside
    // the caller's array; such a window calibrates nothing.
    if (first > last)
        return false;
    channel = findPeak(y, first, last, fraction);
    return true;
}

int32_t saturateToInt32(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

} // namespace

extern "C" {

PEKTO_API double PEKTO_CALL fCentroid(const int32_t* counts, int16_t first, int16_t last) {
    if (!counts)
        return (first + last) / 2.0;
    return centroid(counts, first, last);
}

PEKTO_API double PEKTO_CALL fFindPeak(const int32_t* counts, int16_t first, int16_t last,
                                      float peakFraction) {
    if (!counts)
        return (first + last) / 2.0;
    return findPeak(counts, first, last, peakFraction);
}

PEKTO_API int16_t PEKTO_CALL CalSpectrum(const int32_t* counts, int16_t channels, float e1,
                                         float e2, float minHalfWidth, float widthPercent,
                                         float peakFraction, float* offset, float* gain) {
    if (!counts || !offset || !gain)
        return 0;
    if (*gain < 0.01)
        return 0;
    double g = *gain * 0.001;
    double o = *offset * 0.001;
    int16_t h0 = abs16(wrap16(minHalfWidth / g + 0.5));
    double c1 = 0.0;
    double c2 = 0.0;
    if (!locatePeak(counts, channels, e1, o, g, h0, widthPercent, peakFraction, c1))
        return 0;
    if (!locatePeak(counts, channels, e2, o, g, h0, widthPercent, peakFraction, c2))
        return 0;
    if (c1 == c2)
        return 0;
    // Energies and the stored gain are floats; the mixed float/double steps below give the exact
    // gain and offset callers have on record.
    float span = (e2 - e1) * 1000;
    *gain = static_cast<float>(span / (c2 - c1));
    *offset = static_cast<float>(e1 * 1000 - c1 * *gain);
    return 1;
}

PEKTO_API int16_t PEKTO_CALL CorrectSpectrum(int32_t* counts, int16_t channels,
                                             double offsetDifference, double oldGain,
                                             double newGain) {
    // Written so that NaN arguments fail the checks too.
    if (!(oldGain > 1e-9) || channels < 1 || channels > 4096 || !(oldGain >= 1e-6) ||
        !(newGain >= 1e-6) || !counts)
        return -1;
    const int n = channels;
    int32_t* old = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * static_cast<size_t>(n)));
    if (!old)
        return 0;
    std::memcpy(old, counts, sizeof(int32_t) * static_cast<size_t>(n));
    const double scale = newGain / oldGain;
    for (int i = 0; i < n; ++i) {
        double m = (newGain * i - offsetDifference) / oldGain;
        double k = std::floor(m);
        if (!(k >= 0.0 && k < n - 1)) {
            counts[i] = 0;
            continue;
        }
        int kk = static_cast<int>(k);
        double w = kk + 1 - m;
        if (w < 0.0)
            w = 0.0;
        else if (w > 1.0)
            w = 1.0;
        counts[i] = saturateToInt32(scale * (w * old[kk] + (1.0 - w) * old[kk + 1]) + 0.5);
    }
    std::free(old);
    return 1;
}

#if !defined(_WIN32)
// The Windows build gets its aliases from the module definition file.
PEKTO_API int16_t CALSPECTRUM(const int32_t*, int16_t, float, float, float, float, float, float*,
                              float*) __attribute__((alias("CalSpectrum")));
PEKTO_API double FINDPEAK(const int32_t*, int16_t, int16_t, float)
    __attribute__((alias("fFindPeak")));
PEKTO_API double CENTROID(const int32_t*, int16_t, int16_t) __attribute__((alias("fCentroid")));
PEKTO_API int16_t CORRECTSPECTRUM(int32_t*, int16_t, double, double, double)
    __attribute__((alias("CorrectSpectrum")));
#endif

} // extern "C"
