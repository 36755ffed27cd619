#include "analysis/RoiStatistics.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "analysis/GaussFit.h"
#include "analysis/Smoothing.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

constexpr double kFwhmPerSigma = 2.3548;

void clearResults(CRoiEntry& roi) {
    roi.grossArea = roi.netArea = roi.centroid = roi.uncertainty = 0.0;
    roi.fwhm = roi.halfMaximum = roi.leftPosition = roi.rightPosition = 0.0;
    roi.status = RoiStatus::Bad;
}

// The peak region of a ROI: channels after the left background, with the straight background
// between the two background means.
struct PeakRegion {
    const double* p; // p[0] is the first peak channel
    int m;           // number of peak channels
    double left, slope;
    double right; // the right background mean

    double net(int l) const { return p[l] - (left + l * slope); }
};

// The Gaussian fit a method asks for (all zero otherwise). A fitted ROI starting at or below
// channel 0 is moved to start at channel 1.
GaussFitResult fitWhenAsked(CRoiEntry& roi, const double* y, int n, int b,
                            const AnalysisSettings& settings) {
    GaussFitResult fit;
    if (settings.fwhmCalcMethod == FwhmMethod::Gauss ||
        settings.centroidCalcMethod == CentroidMethod::Gauss) {
        fit = FitGaussianExclusive(*settings.gaussFitGuard, y, n, std::min(roi.start, n - 1),
                                   std::min(roi.end, n - 1), b);
        if (roi.start <= 0) {
            roi.start = 1;
            roi.end = std::max(roi.end, 1);
        }
    }
    return fit;
}

// The ROI's channels d[0..width] with b background channels at each end.
PeakRegion peakRegion(const double* d, int width, int b, int m) {
    double left = 0.0, right = 0.0;
    if (b > 0) {
        for (int i = 0; i < b; ++i)
            left += d[i];
        left /= b;
        for (int i = 0; i < b; ++i)
            right += d[width - i];
        right /= b;
    }
    return PeakRegion{d + b, m, left, (right - left) / m, right};
}

// One pass over the peak channels: gross counts, the highest net channel and the first moment
// of the net counts.
struct PeakSums {
    double gross = 0.0, height = 0.0, moment = 0.0;
    int top = 0; // index of the highest net channel
};

PeakSums peakSums(const PeakRegion& region) {
    PeakSums s;
    for (int l = 0; l < region.m; ++l) {
        double net = region.net(l);
        s.gross += region.p[l];
        if (net > s.height) {
            s.height = net;
            s.top = l;
        }
        s.moment += l * net;
    }
    return s;
}

// The median channel: where the running net sum first reaches half the area (m when never).
double medianPosition(const PeakRegion& region, double area) {
    double running = 0.0;
    int l = 0;
    for (; l < region.m; ++l) {
        running += region.net(l);
        if (running >= area / 2)
            break;
    }
    return l;
}

// Where the net counts cross half the height left of the top, interpolated between channels.
// False when they never come down to half.
bool leftHalfCrossing(const PeakRegion& region, int top, double half, double& crossing) {
    int l = top;
    while (l >= 0 && region.net(l) > half)
        --l;
    if (l < 0)
        return false;
    double v = region.net(l);
    double slope = region.net(l + 1) - v;
    double fraction = slope < 0.1 ? 0.0 : (v - half) / slope;
    crossing = l - fraction;
    return true;
}

// The same right of the top.
bool rightHalfCrossing(const PeakRegion& region, int top, double half, double& crossing) {
    int l = top;
    while (l < region.m && region.net(l) > half)
        ++l;
    if (l >= region.m)
        return false;
    const double v = region.net(l);
    const double slope = region.net(l - 1) - v;
    crossing = slope > 0.1 ? l - (half - v) / slope : l;
    return true;
}

// The width from the net counts' variance around the centroid; `fwhm` is left alone when there
// is no variance.
void applyVarianceWidth(const PeakRegion& region, double moment, double area, double& fwhm) {
    double variance = 0.0;
    for (int k = 0; k < region.m; ++k)
        variance += (k - moment) * (k - moment) * region.net(k);
    if (variance > 0)
        fwhm = kFwhmPerSigma * std::sqrt(variance / area);
}

} // namespace

void ComputeRoiStatistics(CRoiEntry& roi, const double* y, int n,
                          const AnalysisSettings& settings) {
    const int b = std::max(settings.backgroundChannels, 0);
    const FwhmMethod fwhmMethod = settings.fwhmCalcMethod;
    const CentroidMethod centroidMethod = settings.centroidCalcMethod;

    const GaussFitResult fit = fitWhenAsked(roi, y, n, b, settings);
    const int width = roi.end - roi.start;
    const int m = width + 1 - 2 * b;

    clearResults(roi);
    if (m <= 0)
        return;
    // Channels outside the data (a hand-edited file, an ROI from a larger spectrum) have no
    // contents to measure.
    if (!y || roi.start < 0 || roi.end > n - 1)
        return;

    const PeakRegion region = peakRegion(y + roi.start, width, b, m);
    const double background = (region.left + region.right) / 2 * m;
    const PeakSums sums = peakSums(region);
    const double gross = sums.gross;
    double area = gross - background;
    double moment =
        centroidMethod == CentroidMethod::Median ? medianPosition(region, area) : sums.moment;

    roi.grossArea = gross;
    if (area < 50)
        return;
    if (area <= 3 * std::sqrt(background))
        return;
    if (centroidMethod != CentroidMethod::Median)
        moment = moment / area;
    if (!(moment > 0 && moment < m))
        return;

    roi.status = RoiStatus::Marginal;
    roi.centroid = roi.start + moment + b;
    if (centroidMethod == CentroidMethod::Gauss && fit.centroid > 0)
        roi.centroid = fit.centroid;
    roi.uncertainty = std::sqrt(gross + background) * 100 / area;
    roi.netArea = area;
    if (fwhmMethod == FwhmMethod::Gauss && fit.area > 0 && fit.fwhm > 0) {
        area = fit.area;
        roi.netArea = area;
        roi.uncertainty = std::sqrt(gross + background) * 100 / area;
    }
    if (area < settings.goodPeakLevel)
        return;
    // Without any channel above the background there is no maximum to take half of.
    if (!(sums.height > 0))
        return;

    const double half = sums.height / 2;
    double leftCrossing = 0.0, rightCrossing = 0.0;
    if (!leftHalfCrossing(region, sums.top, half, leftCrossing))
        return;
    roi.leftPosition = leftCrossing + roi.start + b;
    if (!rightHalfCrossing(region, sums.top, half, rightCrossing))
        return;
    roi.fwhm = rightCrossing - leftCrossing;
    roi.halfMaximum = half;
    roi.status = RoiStatus::Good;

    if (fwhmMethod == FwhmMethod::Variance && centroidMethod == CentroidMethod::Normal)
        applyVarianceWidth(region, moment, area, roi.fwhm);
    if (fwhmMethod == FwhmMethod::Gauss && fit.centroid > 0 && fit.fwhm > 0 && fit.area > 0)
        roi.fwhm = fit.fwhm;
    // The reports show right minus left position, so the right edge follows the method's
    // width.
    roi.rightPosition = roi.leftPosition + roi.fwhm;
}

void RecomputeRoiList(CRoi& rois, std::vector<double>& data, const AnalysisSettings& settings) {
    const int n = static_cast<int>(data.size());
    for (int i = 0; i < rois.GetCount(); ++i) {
        CRoiEntry& roi = rois[i];
        if (settings.fwhmCalcMethod == FwhmMethod::Smoothing) {
            int s = std::max(roi.start, 0), e = std::min(roi.end, n - 1);
            if (s < e)
                SmoothRange(data.data(), s, e, settings.fwhmNoSmooths);
        }
        ComputeRoiStatistics(roi, data.data(), n, settings);
    }
}

void RecomputeAllRoiStatistics(CSpectrum& spectrum, const AnalysisSettings& settings) {
    auto locked = spectrum.Lock();
    RecomputeRoiList(spectrum.m_roi, spectrum.m_pData, settings);
}

} // namespace vorna
