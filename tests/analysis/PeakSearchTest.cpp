#include <random>

#include <gtest/gtest.h>

#include "AnalysisFixtures.h"
#include "analysis/PeakSearch.h"

using namespace vorna;
using vorna::test::addGaussian;

namespace {

// The filter computed position by position, without running sums: the reference for the
// incremental evaluation.
struct DirectFilter {
    std::vector<double> F, G;
    DirectFilter(const std::vector<double>& y, int a, int b, int c, int width) {
        const int L = b - a + 1;
        PeakFilterShape sh = PeakFilterFor(width, L);
        double meanL = 0, meanR = 0;
        for (int i = 0; i < c; ++i) {
            meanL += y[a + i];
            meanR += y[b - c + 1 + i];
        }
        meanL /= c;
        meanR /= c;
        double slope = (meanR - meanL) / (L - c);
        auto D = [&](int i) { return y[a + i] - (meanL - slope * c / 2 + i * slope); };
        for (int k = 1; k <= sh.positions; ++k) {
            double left = 0, centre = 0, right = 0;
            for (int i = 0; i < sh.h; ++i)
                left += D(k + i);
            for (int i = 0; i < sh.w; ++i)
                centre += D(k + sh.h + i);
            for (int i = 0; i < sh.h; ++i)
                right += D(k + sh.h + sh.w + i);
            F.push_back(sh.r * centre - left - right);
            G.push_back(sh.r * sh.r * centre + left + right);
        }
    }
};

// A plain reference scan that tests every filter position one by one on the direct filter values;
// the vectorised search must find exactly the same ROIs.
std::vector<std::pair<int, int>> referenceScan(const DirectFilter& f, int a, int width, double s) {
    PeakFilterShape sh = PeakFilterFor(width, 0);
    const int K = static_cast<int>(f.F.size());
    auto centre = [&](int k) { return a + k + sh.h + sh.w / 2; };
    std::vector<std::pair<int, int>> rois;
    double p = f.F[0];
    int j = 1;
    while (j < K) {
        if (f.F[j] > p) {
            p = f.F[j++];
            continue;
        }
        if (!(j >= 2 && p >= 0 && p * p >= s * s * sh.w * f.G[j - 1])) {
            p = f.F[j++];
            continue;
        }
        int jL = j - 2;
        double prev = p;
        while (jL >= 0 && f.F[jL] <= prev)
            prev = f.F[jL--];
        int jR = j;
        prev = p;
        while (jR < K && f.F[jR] <= prev)
            prev = f.F[jR++];
        rois.emplace_back(centre(jL + 1) + 1, centre(jR + 1) - 1);
        if (jR >= K)
            break;
        p = f.F[jR];
        j = jR + 1;
    }
    return rois;
}

std::vector<std::pair<int, int>> ranges(const CRoi& rois) {
    std::vector<std::pair<int, int>> out;
    for (const CRoiEntry& r : rois.Entries())
        out.emplace_back(r.start, r.end);
    return out;
}

int containing(const CRoi& rois, int channel) {
    int n = 0;
    for (const CRoiEntry& r : rois.Entries())
        n += r.start <= channel && channel <= r.end;
    return n;
}

} // namespace

TEST(PeakSearch, FilterShapeAndTooShortRanges) {
    PeakFilterShape sh = PeakFilterFor(5, 10);
    EXPECT_EQ(sh.w, 5);
    EXPECT_EQ(sh.h, 3);
    EXPECT_DOUBLE_EQ(sh.r, 1.2);
    EXPECT_EQ(sh.positions, -1);

    std::vector<double> y(64, 0.0);
    y[25] = 1000;
    CRoi out;
    out.Append(1, 2); // the output is emptied first
    FindPeakCandidates(y.data(), 64, {20, 29, 1, 5, 5.0}, out);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(PeakSearch, IncrementalFilterScanMatchesDirectEvaluationOnNoisySpectra) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<double> y(2048);
        // Real-valued noise: integer counts give exact ties between filter values, which
        // the rounding of any summation order then breaks its own way.
        std::poisson_distribution<int> noise(40 + trial * 5);
        std::uniform_real_distribution<double> jitter(0.0, 1.0);
        for (double& v : y)
            v = noise(rng) + jitter(rng);
        addGaussian(y, 300 + trial * 7, 3.0, 4000);
        addGaussian(y, 900, 5.0, 800 + trial * 100);
        addGaussian(y, 1500 - trial, 2.0, 300);
        const int width = 4 + trial % 5, a = 10 + trial, b = 2000 - trial;
        const double s = trial % 2 ? 3.0 : 5.0;
        const int c = 1 + trial % 3;
        CRoi out;
        FindPeakCandidates(y.data(), 2048, {a, b, c, width, s}, out);
        DirectFilter direct(y, a, b, c, width);
        auto expected = referenceScan(direct, a, width, s);
        EXPECT_EQ(ranges(out), expected) << "trial " << trial;
        EXPECT_FALSE(expected.empty());
    }
}

TEST(PeakSearch, FlatSpectraAndEdgePeaksGiveNothing) {
    auto flat = test::makeSpectrum(2, 100.0);
    AnalysisSettings s;
    PeakSearchOutcome none = SearchAllPeaks(*flat, s);
    EXPECT_TRUE(none.peaks.IsEmpty());
    EXPECT_EQ(none.message, "No valid peaks are found!");

    // A spike centred only in the first filter position makes F0 the maximum, which is never
    // accepted; the same spike further in is.
    PeakFilterShape sh = PeakFilterFor(5, 200);
    for (int at : {1 + sh.h, 40}) {
        std::vector<double> y(200, 0.0);
        y[static_cast<size_t>(at)] = 100000;
        CRoi out;
        FindPeakCandidates(y.data(), 200, {0, 199, 1, 5, 0.5}, out);
        EXPECT_EQ(containing(out, at), at == 40 ? 1 : 0) << "spike at " << at;
    }
}

TEST(PeakSearch, SensitivityScalesTheNoiseTermQuadratically) {
    // Filter output and noise term both grow with the peak's area over a flat background, so
    // p^2 / (w G) does too: scale the peak to p^2 = 50 w G. Then s = 5 (25 w G) and s = 7
    // (49 w G) accept it, s = 10 (100 w G, four times the s = 5 term) does not.
    auto shaped = [](double area) {
        std::vector<double> y(400, 50.0);
        addGaussian(y, 200, 2.0, area);
        return y;
    };
    DirectFilter unit(shaped(1000.0), 0, 399, 1, 5);
    size_t top = 0;
    for (size_t k = 0; k < unit.F.size(); ++k)
        if (unit.F[k] > unit.F[top])
            top = k;
    double ratio = unit.F[top] * unit.F[top] / (5 * unit.G[top]);
    std::vector<double> y = shaped(1000.0 * 50.0 / ratio);
    DirectFilter check(y, 0, 399, 1, 5);
    ASSERT_NEAR(check.F[top] * check.F[top] / (5 * check.G[top]), 50.0, 1e-6);
    for (double s : {5.0, 7.0, 10.0}) {
        CRoi out;
        FindPeakCandidates(y.data(), 400, {0, 399, 1, 5, s}, out);
        EXPECT_EQ(containing(out, 200), s < 8 ? 1 : 0) << "sensitivity " << s;
    }
}

TEST(PeakSearch, SearchKeepsOnlyPeaksAndBoundsThemAtFilterMinima) {
    auto spectrum = test::makeSpectrum(2, 30.0); // 1024 channels
    addGaussian(spectrum->m_pData, 200.0, 2.5, 5000);
    addGaussian(spectrum->m_pData, 600.0, 3.0, 3000);
    AnalysisSettings s;
    PeakSearchOutcome found = SearchAllPeaks(*spectrum, s);
    ASSERT_EQ(found.peaks.GetCount(), 2);
    EXPECT_TRUE(found.message.empty());
    EXPECT_LT(found.peaks[0].start, 200);
    EXPECT_GT(found.peaks[0].end, 200);
    EXPECT_NEAR(found.peaks[0].centroid, 200.0, 0.2);
    EXPECT_NEAR(found.peaks[1].centroid, 600.0, 0.2);
    for (const CRoiEntry& r : found.peaks.Entries())
        EXPECT_GE(r.status, RoiStatus::Marginal);
    EXPECT_TRUE(spectrum->m_roi.IsEmpty()); // the results are a separate list

    // Two peaks closer than the filter width: one ROI, or two that meet at the minimum
    // (unequal peaks, so the minimum is a single filter position).
    auto close = test::makeSpectrum(2, 30.0);
    addGaussian(close->m_pData, 400.0, 2.0, 5000);
    addGaussian(close->m_pData, 407.0, 2.0, 3000);
    PeakSearchOutcome pair = SearchAllPeaks(*close, s);
    ASSERT_GE(pair.peaks.GetCount(), 1);
    ASSERT_LE(pair.peaks.GetCount(), 2);
    if (pair.peaks.GetCount() == 2) {
        EXPECT_EQ(pair.peaks[0].end, pair.peaks[1].start);
    }

    // A range that only holds the first peak.
    PeakSearchOutcome part = SearchPeakChannels(*spectrum, s, 100, 400);
    ASSERT_EQ(part.peaks.GetCount(), 1);
    EXPECT_NEAR(part.peaks[0].centroid, 200.0, 0.2);
}

TEST(PeakSearch, RangeChecksAndCalibratedRanges) {
    auto spectrum = test::makeSpectrum(2, 30.0);
    addGaussian(spectrum->m_pData, 300.0, 2.5, 5000);
    AnalysisSettings s;
    EXPECT_EQ(SearchPeakChannels(*spectrum, s, 500, 500).message, "Invalid range!");
    EXPECT_EQ(SearchPeakChannels(*spectrum, s, 500, 100).message, "Invalid range!");

    spectrum->m_calibrate.AddPoint(0, 0.0);
    spectrum->m_calibrate.AddPoint(1000, 10.0);
    ASSERT_EQ(spectrum->m_calibrate.Fit(0), 1);
    PeakSearchOutcome calibrated = SearchPeakRange(*spectrum, s, 2.0, 4.0); // channels 200..400
    ASSERT_EQ(calibrated.peaks.GetCount(), 1);
    EXPECT_EQ(SearchPeakRange(*spectrum, s, 4.0, 2.0).message, "Invalid range!");
    s.calibrateEnable = 0; // values are channels now: 2..4 holds no peak
    EXPECT_EQ(SearchPeakRange(*spectrum, s, 2.0, 4.0).message, "No valid peaks are found!");
}
