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

    double net(int l) const { return p[l] - (left + l * slope); }
};

} // namespace

void ComputeRoiStatistics(CRoiEntry& roi, const double* y, int n,
                          const AnalysisSettings& settings) {
    const int b = std::max(settings.backgroundChannels, 0);
    const FwhmMethod fwhmMethod = settings.fwhmCalcMethod;
    const CentroidMethod centroidMethod = settings.centroidCalcMethod;

    GaussFitResult fit;
    if (fwhmMethod == FwhmMethod::Gauss || centroidMethod == CentroidMethod::Gauss) {
        fit = FitGaussianExclusive(*settings.gaussFitGuard, y, n, std::min(roi.start, n - 1),
                                   std::min(roi.end, n - 1), b);
        if (roi.start <= 0) {
            roi.start = 1;
            roi.end = std::max(roi.end, 1);
        }
    }
    const int width = roi.end - roi.start;
    const int m = width + 1 - 2 * b;

    clearResults(roi);
    if (m <= 0)
        return;
    // Channels outside the data (a hand-edited file, an ROI from a larger spectrum) have no
    // contents to measure.
    if (!y || roi.start < 0 || roi.end > n - 1)
        return;

    const double* d = y + roi.start;
    double left = 0.0, right = 0.0;
    if (b > 0) {
        for (int i = 0; i < b; ++i)
            left += d[i];
        left /= b;
        for (int i = 0; i < b; ++i)
            right += d[width - i];
        right /= b;
    }
    const PeakRegion region{d + b, m, left, (right - left) / m};
    const double background = (left + right) / 2 * m;

    double gross = 0.0, height = 0.0, moment = 0.0;
    int lp = 0;
    for (int l = 0; l < m; ++l) {
        double net = region.net(l);
        gross += region.p[l];
        if (net > height) {
            height = net;
            lp = l;
        }
        moment += l * net;
    }
    double area = gross - background;

    if (centroidMethod == CentroidMethod::Median) {
        double running = 0.0;
        int l = 0;
        for (; l < m; ++l) {
            running += region.net(l);
            if (running >= area / 2)
                break;
        }
        moment = l; // never reaching half the area leaves m, which fails the range test below
    }

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
    if (!(height > 0))
        return;

    const double half = height / 2;
    int l = lp;
    while (l >= 0 && region.net(l) > half)
        --l;
    if (l < 0)
        return;
    double v = region.net(l);
    double slope = region.net(l + 1) - v;
    double fraction = slope < 0.1 ? 0.0 : (v - half) / slope;
    const double leftCrossing = l - fraction;
    roi.leftPosition = leftCrossing + roi.start + b;

    l = lp;
    while (l < m && region.net(l) > half)
        ++l;
    if (l >= m)
        return;
    v = region.net(l);
    slope = region.net(l - 1) - v;
    const double rightCrossing = slope > 0.1 ? l - (half - v) / slope : l;

    roi.fwhm = rightCrossing - leftCrossing;
    roi.halfMaximum = half;
    roi.status = RoiStatus::Good;

    if (fwhmMethod == FwhmMethod::Variance && centroidMethod == CentroidMethod::Normal) {
        double variance = 0.0;
        for (int k = 0; k < m; ++k)
            variance += (k - moment) * (k - moment) * region.net(k);
        if (variance > 0)
            roi.fwhm = kFwhmPerSigma * std::sqrt(variance / area);
    }
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
