#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "AnalysisFixtures.h"
#include "TestSupport.h"
#include "analysis/GaussFit.h"
#include "analysis/RoiStatistics.h"
#include "analysis/Smoothing.h"

using namespace vorna;
using vorna::test::addGaussian;

namespace {

CRoiEntry compute(std::vector<double> y, int start, int end, const AnalysisSettings& s) {
    CRoiEntry roi(start, end);
    ComputeRoiStatistics(roi, y.data(), static_cast<int>(y.size()), s);
    return roi;
}

// An asymmetric peak worked through by hand: background 0 at both ends, peak channels
// 0, 10, 40, 100, 60, 10, 0.
const std::vector<double> kHandPeak = {0, 0, 10, 40, 100, 60, 10, 0, 0};

// The channel counts of a spectrum file (the lines between its DATA and END markers).
std::vector<double> countsOf(const std::string& file) {
    std::istringstream in(vorna::test::readFile(file));
    std::vector<double> y;
    std::string line;
    bool data = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "<<END>>")
            break;
        if (data)
            y.push_back(std::stod(line));
        data = data || line == "<<DATA>>";
    }
    return y;
}

} // namespace

TEST(RoiStatistics, HalfMaximumEdgesMomentAndMedianOfAHandWorkedPeak) {
    AnalysisSettings s;
    CRoiEntry roi = compute(kHandPeak, 0, 8, s);
    EXPECT_EQ(roi.status, RoiStatus::Good);
    EXPECT_DOUBLE_EQ(roi.grossArea, 220);
    EXPECT_DOUBLE_EQ(roi.netArea, 220);
    EXPECT_NEAR(roi.centroid, 4.090909090909091, 1e-12);
    EXPECT_NEAR(roi.uncertainty, 6.741998624632421, 1e-12);
    EXPECT_DOUBLE_EQ(roi.halfMaximum, 50);
    // Left crossing between peak channels 2 and 3: 2 + 10/60; right between 4 and 5: 5 - 40/50.
    EXPECT_NEAR(roi.leftPosition, 3.0 + 1.0 / 6.0, 1e-12);
    EXPECT_NEAR(roi.fwhm, 4.2 - (2.0 + 1.0 / 6.0), 1e-12);
    EXPECT_NEAR(roi.rightPosition, roi.leftPosition + roi.fwhm, 1e-12);

    s.centroidCalcMethod =
        CentroidMethod::Median; // median: the running sum passes 110 at peak channel 3
    roi = compute(kHandPeak, 0, 8, s);
    EXPECT_DOUBLE_EQ(roi.centroid, 4.0);

    s.fwhmCalcMethod = FwhmMethod::Variance; // variance width only goes with the normal centroid
    roi = compute(kHandPeak, 0, 8, s);
    EXPECT_NEAR(roi.fwhm, 4.2 - (2.0 + 1.0 / 6.0), 1e-12);
    s.centroidCalcMethod = CentroidMethod::Normal;
    roi = compute(kHandPeak, 0, 8, s);
    EXPECT_NEAR(roi.fwhm, 2.119211879703014, 1e-12);
    EXPECT_NEAR(roi.rightPosition - roi.leftPosition, roi.fwhm, 1e-12);
}

TEST(RoiStatistics, StatusRulesForSmallFlatAndNarrowRegions) {
    AnalysisSettings s;
    s.backgroundChannels = 2;
    CRoiEntry roi = compute(std::vector<double>(16, 500.0), 4, 6, s); // m = 3 - 4 <= 0
    EXPECT_EQ(roi.status, RoiStatus::Bad);
    EXPECT_STREQ(RoiStatusText(roi.status), "BAD");
    EXPECT_EQ(roi.grossArea, 0);
    EXPECT_EQ(roi.centroid, 0);

    s.backgroundChannels = 1;
    roi = compute(std::vector<double>(64, 250.0), 10, 40, s); // flat: net area 0
    EXPECT_EQ(roi.status, RoiStatus::Bad);
    EXPECT_DOUBLE_EQ(roi.grossArea, 29 * 250.0);
    EXPECT_EQ(roi.netArea, 0);

    // Net area 60 over 9 peak channels: passes above a background area of 100 (60 > 30)
    // and is a marginal peak without width; fails above a background of 900 (60 <= 90).
    auto peakOn = [](double level) {
        std::vector<double> y(32, level);
        y[14] += 15;
        y[15] += 30;
        y[16] += 15;
        return y;
    };
    roi = compute(peakOn(100.0 / 9.0), 10, 20, s);
    EXPECT_EQ(roi.status, RoiStatus::Marginal);
    EXPECT_STREQ(RoiStatusText(roi.status), "MARGINAL");
    EXPECT_NEAR(roi.netArea, 60, 1e-9);
    EXPECT_NEAR(roi.centroid, 15, 1e-9);
    EXPECT_EQ(roi.fwhm, 0);
    EXPECT_EQ(roi.rightPosition, 0);
    roi = compute(peakOn(100.0), 10, 20, s);
    EXPECT_EQ(roi.status, RoiStatus::Bad);
    EXPECT_NEAR(roi.grossArea, 960, 1e-9);
    EXPECT_EQ(roi.netArea, 0);

    // Net area 80 is below good_peak_level 100: marginal, no FWHM; with level 50 it is good.
    std::vector<double> y(32, 0.0);
    y[14] = 20;
    y[15] = 40;
    y[16] = 20;
    roi = compute(y, 10, 20, s);
    EXPECT_EQ(roi.status, RoiStatus::Marginal);
    EXPECT_EQ(roi.fwhm, 0);
    s.goodPeakLevel = 50;
    EXPECT_EQ(compute(y, 10, 20, s).status, RoiStatus::Good);

    // Still above half maximum at the first peak channel: no left edge, no FWHM.
    s.goodPeakLevel = 100;
    roi = compute({0, 100, 60, 10, 0, 0, 0}, 0, 6, s);
    EXPECT_EQ(roi.status, RoiStatus::Marginal);
    EXPECT_EQ(roi.fwhm, 0);
}

TEST(RoiStatistics, RoisOutsideTheDataAreBadAndReadNothing) {
    AnalysisSettings s;
    std::vector<double> y(64, 10.0);
    addGaussian(y, 32, 3, 5000);
    EXPECT_EQ(compute(y, -5, 40, s).status, RoiStatus::Bad);
    EXPECT_EQ(compute(y, 50, 64, s).status, RoiStatus::Bad);
    EXPECT_EQ(compute(y, 40, 30, s).status, RoiStatus::Bad);
    EXPECT_EQ(compute({}, 0, 10, s).status, RoiStatus::Bad);
    s.fwhmCalcMethod = FwhmMethod::Gauss;
    EXPECT_EQ(compute(y, 50, 200, s).status, RoiStatus::Bad);
}

TEST(RoiStatistics, GaussianMethodsTakeTheFitAndMoveAStartAtChannelZero) {
    std::vector<double> y(1024, 20.0);
    addGaussian(y, 500.3, 4.0, 20000.0);
    AnalysisSettings s;
    s.backgroundChannels = 2;
    CRoiEntry normal = compute(y, 480, 520, s);
    ASSERT_EQ(normal.status, RoiStatus::Good);
    EXPECT_NEAR(normal.centroid, 500.3, 0.02);
    EXPECT_NEAR(normal.fwhm, 2.3548 * 4.0, 0.3);

    s.fwhmCalcMethod = FwhmMethod::Gauss;
    s.centroidCalcMethod = CentroidMethod::Gauss;
    CRoiEntry gauss = compute(y, 480, 520, s);
    ASSERT_EQ(gauss.status, RoiStatus::Good);
    EXPECT_NEAR(gauss.centroid, 500.3, 0.005);
    EXPECT_NEAR(gauss.fwhm, 2.35482 * 4.0, 0.02);
    EXPECT_NEAR(gauss.netArea, 20000.0, 50.0);
    EXPECT_NE(gauss.fwhm, normal.fwhm);
    EXPECT_NEAR(gauss.rightPosition - gauss.leftPosition, gauss.fwhm, 1e-9);
    // Background area from the two channels at each end, over 37 peak channels.
    double background = ((y[480] + y[481]) / 2 + (y[519] + y[520]) / 2) / 2 * 37;
    EXPECT_NEAR(gauss.uncertainty, std::sqrt(gauss.grossArea + background) * 100 / gauss.netArea,
                1e-12);

    CRoiEntry atZero = compute(y, 0, 30, s);
    EXPECT_EQ(atZero.start, 1);
    EXPECT_EQ(atZero.end, 30);
    s.fwhmCalcMethod = FwhmMethod::Normal;
    s.centroidCalcMethod = CentroidMethod::Normal;
    EXPECT_EQ(compute(y, 0, 30, s).start, 0); // other methods leave the ROI alone
}

TEST(RoiStatistics, GaussCentroidWithoutEnoughCountsKeepsTheMoment) {
    std::vector<double> y(64, 0.0);
    y[30] = 20;
    y[31] = 50;
    y[32] = 20; // 90 counts in the window: no fit
    AnalysisSettings s;
    CRoiEntry moment = compute(y, 20, 40, s);
    s.centroidCalcMethod = CentroidMethod::Gauss;
    CRoiEntry gauss = compute(y, 20, 40, s);
    EXPECT_EQ(gauss.status, RoiStatus::Marginal);
    EXPECT_DOUBLE_EQ(gauss.centroid, moment.centroid);
    EXPECT_DOUBLE_EQ(gauss.centroid, 31.0);
    GaussFitResult none = FitGaussian(y.data(), 64, 20, 40, 1);
    EXPECT_EQ(none.area, 0);
    EXPECT_EQ(none.centroid, 0);
    y[31] = 61; // 101 counts: now it fits
    EXPECT_GT(FitGaussian(y.data(), 64, 20, 40, 1).area, 0);
}

// A small bump on a level near 5e8 counts: the model starts at twice the data (raw height over
// the background) and the iteration runs off to a centroid near 1e91 while chi-square falls.
// Such a fit must count as none, so the statistics report their own centroid and width.
TEST(RoiStatistics, AWanderingFitCountsAsNoFit) {
    std::vector<double> y(256, 5e8);
    const double bump[11] = {4.8e8, 4.9e8, 5.0e8, 5.1e8, 5.2e8, 5.3e8,
                             5.2e8, 5.1e8, 5.0e8, 4.9e8, 4.8e8};
    std::copy(bump, bump + 11, y.begin() + 100);
    GaussFitResult fit = FitGaussian(y.data(), 256, 100, 110, 1);
    EXPECT_EQ(fit.centroid, 0);
    EXPECT_EQ(fit.fwhm, 0);
    EXPECT_EQ(fit.area, 0);

    AnalysisSettings s;
    CRoiEntry plain = compute(y, 100, 110, s);
    s.fwhmCalcMethod = FwhmMethod::Gauss;
    s.centroidCalcMethod = CentroidMethod::Gauss;
    CRoiEntry gauss = compute(y, 100, 110, s);
    ASSERT_EQ(gauss.status, RoiStatus::Good);
    EXPECT_DOUBLE_EQ(gauss.centroid, plain.centroid);
    EXPECT_DOUBLE_EQ(gauss.centroid, 105.0);
    EXPECT_DOUBLE_EQ(gauss.fwhm, plain.fwhm);
    EXPECT_DOUBLE_EQ(gauss.netArea, plain.netArea);

    // A sound peak of that size on a low level still fits, inside its window.
    std::vector<double> peak(256, 50.0);
    addGaussian(peak, 105.2, 1.5, 5e8);
    GaussFitResult good = FitGaussian(peak.data(), 256, 95, 115, 1);
    EXPECT_NEAR(good.centroid, 105.2, 0.01);
    EXPECT_GT(good.fwhm, 0);
    EXPECT_GT(good.area, 0);
}

// Counting data on which the iteration ends with a negative sigma. The model only sees sigma
// squared, so the fit is sound: its centroid is taken. Its area keeps the sign of sigma, and
// the statistics take a fitted width only together with a positive fitted area.
TEST(RoiStatistics, AFitEndingWithANegativeSigmaKeepsItsCentroid) {
    const std::vector<double> y = countsOf(VORNA_TEST_DATA_DIR "/fit/negative-sigma-fit.mca");
    ASSERT_EQ(y.size(), 1024u);
    const GaussFitResult fit = FitGaussian(y.data(), 1024, 541, 552, 1);
    EXPECT_NEAR(fit.centroid, 546.878, 5e-4);
    EXPECT_NEAR(fit.fwhm, 3.845, 5e-4);
    EXPECT_LT(fit.area, 0);

    AnalysisSettings s;
    const CRoiEntry plain = compute(y, 541, 552, s);
    EXPECT_NEAR(plain.centroid, 546.872, 5e-4);
    EXPECT_NEAR(plain.fwhm, 3.462, 5e-4);
    for (FwhmMethod method : {FwhmMethod::Percent, FwhmMethod::Gauss}) {
        s.fwhmCalcMethod = method;
        s.centroidCalcMethod = CentroidMethod::Gauss;
        const CRoiEntry gauss = compute(y, 541, 552, s);
        ASSERT_EQ(gauss.status, RoiStatus::Good);
        EXPECT_EQ(gauss.centroid, fit.centroid);
        EXPECT_EQ(gauss.fwhm, plain.fwhm);
        EXPECT_EQ(gauss.netArea, plain.netArea);
    }
}

TEST(RoiStatistics, AFitAlreadyRunningMakesOthersSkipTheirs) {
    std::vector<double> y(256, 5.0);
    addGaussian(y, 100.0, 3.0, 8000.0);
    AnalysisSettings s;
    s.fwhmCalcMethod = FwhmMethod::Gauss;
    CRoiEntry fitted = compute(y, 85, 115, s);
    s.fwhmCalcMethod = FwhmMethod::Normal;
    CRoiEntry halfMax = compute(y, 85, 115, s);
    ASSERT_NE(fitted.fwhm, halfMax.fwhm);

    s.fwhmCalcMethod = FwhmMethod::Gauss;
    {
        ExclusiveFlag::Hold running(*s.gaussFitGuard);
        ASSERT_TRUE(running.owned());
        ExclusiveFlag::Hold second(*s.gaussFitGuard);
        EXPECT_FALSE(second.owned());
        CRoiEntry skipped = compute(y, 85, 115, s);
        EXPECT_DOUBLE_EQ(skipped.fwhm, halfMax.fwhm);
        EXPECT_DOUBLE_EQ(skipped.netArea, halfMax.netArea);
        EXPECT_EQ(FitGaussianExclusive(*s.gaussFitGuard, y.data(), 256, 85, 115, 1).fwhm, 0);
        // Settings made elsewhere (another tool, another test) have a guard of their own.
        AnalysisSettings other;
        other.fwhmCalcMethod = FwhmMethod::Gauss;
        EXPECT_DOUBLE_EQ(compute(y, 85, 115, other).fwhm, fitted.fwhm);
    }
    EXPECT_DOUBLE_EQ(compute(y, 85, 115, s).fwhm, fitted.fwhm);
}

TEST(RoiStatistics, SmoothingMethodSmoothsTheStoredRangeAtEveryRecompute) {
    auto spectrum = test::makeSpectrum(0, 3.0);
    addGaussian(spectrum->m_pData, 100.0, 2.0, 3000.0);
    spectrum->m_roi.AddSorted(90, 110);
    std::vector<double> expected = spectrum->m_pData;
    const double outside = expected[89];
    AnalysisSettings s;
    s.fwhmCalcMethod = FwhmMethod::Smoothing;
    s.fwhmNoSmooths = 1;
    for (int pass = 0; pass < 2; ++pass) {
        RecomputeAllRoiStatistics(*spectrum, s);
        SmoothSM5(expected.data(), 90, 110);
        EXPECT_EQ(spectrum->m_pData, expected) << "pass " << pass;
    }
    EXPECT_EQ(spectrum->m_pData[89], outside); // outside the ROI nothing moves
    EXPECT_EQ(spectrum->m_roi[0].status, RoiStatus::Good);

    // Other methods leave the contents alone.
    s.fwhmCalcMethod = FwhmMethod::Normal;
    RecomputeAllRoiStatistics(*spectrum, s);
    EXPECT_EQ(spectrum->m_pData, expected);
}
