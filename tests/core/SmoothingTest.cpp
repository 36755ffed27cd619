#include <vector>

#include <gtest/gtest.h>

#include "analysis/Smoothing.h"

using namespace vorna;

TEST(Smoothing, KernelsSeeTheirSmoothedLeftNeighbour) {
    std::vector<double> v{0, 0, 4, 0, 0};
    SmoothSM3(v.data(), 0, 4);
    EXPECT_EQ(v, (std::vector<double>{0, 1, 2.25, 0.5625, 0.140625}));

    std::vector<double> f(8, 16.0);
    SmoothSM5(f.data(), 0, 7);
    EXPECT_EQ(f, (std::vector<double>{11, 13.75, 15.125, 15.640625, 15.85546875, 15.94140625,
                                      14.976318359375, 10.74041748046875}));
}

TEST(Smoothing, ShortRangesAreLeftAlone) {
    std::vector<double> two{3, 5};
    SmoothSM3(two.data(), 0, 1);
    EXPECT_EQ(two, (std::vector<double>{3, 5}));
    std::vector<double> four{1, 2, 3, 4};
    SmoothSM5(four.data(), 0, 3);
    EXPECT_EQ(four, (std::vector<double>{1, 2, 3, 4}));
    // A range inside a larger array touches only its own channels.
    std::vector<double> inner{9, 0, 4, 0, 9};
    SmoothRange(inner.data(), 1, 3, 0);
    EXPECT_EQ(inner[0], 9);
    EXPECT_EQ(inner[4], 9);
}
