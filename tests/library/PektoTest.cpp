// Loads libpekto.so the way an outside program does and calls every routine by both of its
// exported names.

#include <dlfcn.h>

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pekto/pekto.h"

namespace {

class Pekto : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        handle = dlopen(PEKTO_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    static void TearDownTestSuite() {
        if (handle)
            dlclose(handle);
        handle = nullptr;
    }

    template <typename Fn> static Fn symbol(const char* name) {
        void* p = dlsym(handle, name);
        EXPECT_NE(p, nullptr) << name << " is not exported";
        return reinterpret_cast<Fn>(p);
    }

    // Each routine under its own name and its upper-case alias.
    template <typename Fn> static std::vector<Fn> both(const char* name, const char* alias) {
        return {symbol<Fn>(name), symbol<Fn>(alias)};
    }

    static void* handle;
};

void* Pekto::handle = nullptr;

TEST_F(Pekto, ExportsEachRoutineUnderBothNames) {
    for (const char* name : {"CalSpectrum", "CALSPECTRUM", "fFindPeak", "FINDPEAK", "fCentroid",
                             "CENTROID", "CorrectSpectrum", "CORRECTSPECTRUM"})
        EXPECT_NE(dlsym(handle, name), nullptr) << name;
    EXPECT_EQ(dlsym(handle, "CalSpectrum"), dlsym(handle, "CALSPECTRUM"));
    EXPECT_EQ(dlsym(handle, "fFindPeak"), dlsym(handle, "FINDPEAK"));
    EXPECT_EQ(dlsym(handle, "fCentroid"), dlsym(handle, "CENTROID"));
    EXPECT_EQ(dlsym(handle, "CorrectSpectrum"), dlsym(handle, "CORRECTSPECTRUM"));
}

TEST_F(Pekto, CentroidIsTheCountWeightedMean) {
    for (auto centroid : both<PektoCentroidFn>("fCentroid", "CENTROID")) {
        ASSERT_NE(centroid, nullptr);
        const int32_t peak[] = {0, 10, 10, 0};
        EXPECT_DOUBLE_EQ(centroid(peak, 0, 3), 1.5);
        const int32_t skewed[] = {0, 1, 2, 3, 4};
        EXPECT_DOUBLE_EQ(centroid(skewed, 1, 4), (1 + 4 + 9 + 16) / 10.0);
        const int32_t zeros[] = {0, 0, 0, 0};
        EXPECT_DOUBLE_EQ(centroid(zeros, 0, 3), 1.5); // middle of the range
        EXPECT_DOUBLE_EQ(centroid(peak, 3, 1), 2.0);  // empty range
        // Contents that cancel out count as "sum 0".
        const int32_t cancel[] = {5, -5};
        EXPECT_DOUBLE_EQ(centroid(cancel, 0, 1), 0.5);
        // Channels before the array do not exist: the large value in front of it is not read.
        const int32_t guarded[] = {1000000, 0, 10, 10, 0};
        EXPECT_DOUBLE_EQ(centroid(guarded + 1, -1, 3), 1.5);
        EXPECT_DOUBLE_EQ(centroid(nullptr, 2, 5), 3.5);
    }
}

TEST_F(Pekto, FindPeakCentresBetweenTheFractionEdges) {
    for (auto findPeak : both<PektoFindPeakFn>("fFindPeak", "FINDPEAK")) {
        ASSERT_NE(findPeak, nullptr);
        const int32_t peak[] = {0, 2, 10, 4, 0};
        // Maximum 10 at 2, threshold 5, edges 1 and 3: (2·1 + 10·2 + 4·3) / 16.
        EXPECT_DOUBLE_EQ(findPeak(peak, 0, 4, 0.5f), 2.125);
        // A lower fraction widens the edges to the first contents at or below 2.
        EXPECT_DOUBLE_EQ(findPeak(peak, 0, 4, 0.2f), 2.125);
        EXPECT_DOUBLE_EQ(findPeak(peak, 0, 4, 0.1f), 2.125);
        const int32_t wide[] = {1, 3, 10, 3, 2};
        // Threshold 1 reaches channel 0 on the left but no channel on the right (last + 1).
        EXPECT_DOUBLE_EQ(findPeak(wide, 0, 3, 0.1f), (0 * 1 + 3 + 20 + 9 + 4 * 2) / 19.0);

        // The first maximum wins a tie; with no channel at or below the threshold on the
        // left, the edge is the channel before the window, and it is included.
        const int32_t plateau[] = {5, 10, 10, 2, 0};
        EXPECT_DOUBLE_EQ(findPeak(plateau, 1, 3, 0.5f), (0 * 5 + 10 + 20 + 6) / 27.0);
        // Same on the right: last + 1 joins the centroid.
        const int32_t rising[] = {0, 1, 8, 9, 7};
        EXPECT_DOUBLE_EQ(findPeak(rising, 1, 3, 0.5f), (1 * 1 + 2 * 8 + 3 * 9 + 4 * 7) / 25.0);
        // A window starting at channel 0 never reads before the array.
        const int32_t guarded[] = {1000000, 9, 10, 1};
        EXPECT_DOUBLE_EQ(findPeak(guarded + 1, 0, 2, 0.5f), (0 * 9 + 1 * 10 + 2 * 1) / 20.0);
        // A reversed window: the maximum is channel first, the right edge last + 1 and the
        // left edge first - 1, so the centroid runs over first - 1 .. last + 1.
        const int32_t slope[] = {0, 2, 10, 4, 0, 0};
        EXPECT_DOUBLE_EQ(findPeak(slope, 3, 1, 0.5f), 2.0);
        EXPECT_DOUBLE_EQ(findPeak(slope, 4, 1, 0.5f), 3.0); // edges 4 and 2: an empty range
    }
}

// Two Gaussian lines whose true centres are the given channels, on a flat background.
std::vector<int32_t> twoPeaks(int n, double c1, double c2, double sigma = 3.0) {
    std::vector<int32_t> y(static_cast<size_t>(n), 5);
    for (int k = 0; k < n; ++k) {
        double a = (k - c1) / sigma, b = (k - c2) / sigma;
        y[static_cast<size_t>(k)] += static_cast<int32_t>(
            std::lround(5000 * std::exp(-0.5 * a * a) + 3000 * std::exp(-0.5 * b * b)));
    }
    return y;
}

TEST_F(Pekto, CalSpectrumFindsBothPeaksNearTheirExpectedChannels) {
    for (auto cal : both<PektoCalSpectrumFn>("CalSpectrum", "CALSPECTRUM")) {
        ASSERT_NE(cal, nullptr);
        // Mn Ka 5.90 keV at channel 600, Mn Kb 6.49 keV at 660; the old calibration (0 eV,
        // 10 eV/channel) expects them at 590 and 649, inside ±5 % of the energy.
        std::vector<int32_t> y = twoPeaks(1024, 600, 660);
        float offset = 0.0f, gain = 10.0f;
        ASSERT_EQ(cal(y.data(), 1024, 5.90f, 6.49f, 0.05f, 5.0f, 0.5f, &offset, &gain), 1);
        EXPECT_NEAR(gain, 590.0 / 60.0, 1e-4);
        EXPECT_NEAR(offset, 0.0, 1e-2);

        // A gain below 0.01 eV per channel changes nothing.
        offset = 123.0f;
        gain = 0.005f;
        EXPECT_EQ(cal(y.data(), 1024, 5.90f, 6.49f, 0.05f, 5.0f, 0.5f, &offset, &gain), 0);
        EXPECT_EQ(offset, 123.0f);
        EXPECT_EQ(gain, 0.005f);

        // Both energies in the same narrow window find the same peak: not calibrated.
        offset = 0.0f;
        gain = 10.0f;
        EXPECT_EQ(cal(y.data(), 1024, 5.98f, 6.02f, 0.2f, 0.0f, 0.5f, &offset, &gain), 0);
        EXPECT_EQ(gain, 10.0f);

        // A peak expected far beyond the last channel: nothing to search, nothing changes.
        EXPECT_EQ(cal(y.data(), 1024, 5.90f, 60.0f, 0.05f, 1.0f, 0.5f, &offset, &gain), 0);
        EXPECT_EQ(gain, 10.0f);
        EXPECT_EQ(offset, 0.0f);
    }
}

TEST_F(Pekto, CalSpectrumKeepsTheSixteenBitWrapOfExpectedChannels) {
    auto cal = symbol<PektoCalSpectrumFn>("CalSpectrum");
    ASSERT_NE(cal, nullptr);
    // At 0.025 eV per channel, 1.6459 keV is expected at channel 65836, which the 16-bit
    // variable holds as 300; the peak placed at 300 is found there.
    std::vector<int32_t> y = twoPeaks(1024, 300, 600, 2.0);
    float offset = 0.0f, gain = 0.025f;
    ASSERT_EQ(cal(y.data(), 1024, 1.6459f, 0.015f, 0.0f, 0.1f, 0.5f, &offset, &gain), 1);
    EXPECT_NEAR(gain, (15.0 - 1645.9) / 300.0, 1e-3);
    EXPECT_NEAR(offset, 1645.9 - 300.0 * gain, 1e-2);
}

TEST_F(Pekto, CorrectSpectrumRebinsInPlace) {
    for (auto correct : both<PektoCorrectSpectrumFn>("CorrectSpectrum", "CORRECTSPECTRUM")) {
        ASSERT_NE(correct, nullptr);
        const std::vector<int32_t> original = {3, 8, 15, 40, 22, 9, 4, 1};
        std::vector<int32_t> y = original;

        // Same scale: unchanged except the last channel, which has no right neighbour.
        ASSERT_EQ(correct(y.data(), 8, 0.0, 10.0, 10.0), 1);
        std::vector<int32_t> expected = original;
        expected.back() = 0;
        EXPECT_EQ(y, expected);

        // The new offset two channels lower: every channel takes the one two above it.
        y = original;
        ASSERT_EQ(correct(y.data(), 8, -20.0, 10.0, 10.0), 1);
        EXPECT_EQ(y, (std::vector<int32_t>{15, 40, 22, 9, 4, 0, 0, 0}));

        // Half a channel: the mean of neighbours, rounded half up.
        y = original;
        ASSERT_EQ(correct(y.data(), 8, -5.0, 10.0, 10.0), 1);
        EXPECT_EQ(y, (std::vector<int32_t>{6, 12, 28, 31, 16, 7, 3, 0}));

        // Double gain: channel i reads 2i and the contents double so that areas stay.
        y = original;
        ASSERT_EQ(correct(y.data(), 8, 0.0, 10.0, 20.0), 1);
        EXPECT_EQ(y, (std::vector<int32_t>{6, 30, 44, 8, 0, 0, 0, 0}));

        // Bad arguments leave the spectrum alone.
        y = original;
        EXPECT_EQ(correct(y.data(), 5000, 0.0, 10.0, 10.0), -1);
        EXPECT_EQ(correct(y.data(), 0, 0.0, 10.0, 10.0), -1);
        EXPECT_EQ(correct(y.data(), -3, 0.0, 10.0, 10.0), -1);
        EXPECT_EQ(correct(y.data(), 8, 0.0, 1e-7, 10.0), -1);
        EXPECT_EQ(correct(y.data(), 8, 0.0, 10.0, 1e-7), -1);
        EXPECT_EQ(correct(y.data(), 8, 0.0, std::nan(""), 10.0), -1);
        EXPECT_EQ(correct(nullptr, 8, 0.0, 10.0, 10.0), -1);
        EXPECT_EQ(y, original);

        // A scale so steep that the contents leave 32 bits saturates instead of wrapping.
        std::vector<int32_t> big = {2000000000, 2000000000, 2000000000};
        ASSERT_EQ(correct(big.data(), 3, 0.0, 1e-6, 1.0), 1);
        EXPECT_EQ(big[0], INT32_MAX);
        EXPECT_EQ(big[1], 0); // source position 1e6 lies beyond the spectrum
    }
}

} // namespace
