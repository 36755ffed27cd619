#include <gtest/gtest.h>

#include "dpp/DppModels.h"
#include "dpp/DppTypes.h"

using namespace vorna;

TEST(DppModels, ChannelsAndVersions) {
    EXPECT_EQ(ChannelsFromCode(0), 4096);
    EXPECT_EQ(ChannelsFromCode(3), 512);
    EXPECT_EQ(ChannelsFromCode(4), 256);
    EXPECT_EQ(ChannelsFromCode(5), 8192);
    EXPECT_EQ(ChannelsFromCode(9), 8192);
    EXPECT_EQ(ChannelsFromCode(-1), 256);
    EXPECT_DOUBLE_EQ(DppVersionValue(0x4E), 4.14);
    EXPECT_DOUBLE_EQ(DppVersionValue(0x50), 5.0);
    EXPECT_EQ(DppDeviceTypeName(3), "HERONEMUL");
    EXPECT_EQ(DppDeviceTypeName(7), "");
}

TEST(DppModels, PeakingTimes) {
    std::vector<double> list = PeakingTimeList(false);
    ASSERT_EQ(list.size(), 24u);
    EXPECT_DOUBLE_EQ(list[0], 0.8);
    EXPECT_DOUBLE_EQ(list[7], 6.4);
    EXPECT_DOUBLE_EQ(list[8], 8.0);
    EXPECT_DOUBLE_EQ(list[12], 16.0);
    EXPECT_DOUBLE_EQ(list[23], 102.4);
    EXPECT_DOUBLE_EQ(PeakingTimeList(true)[23], 25.6);

    // Every entry maps to a (Rise, Avg) pair whose index and time are the entry again.
    for (int k = 0; k < kPeakingTimeCount; ++k) {
        DppConfigRecord r;
        ApplyPeakingTime(PeakingTimeFromIndex(k), r);
        EXPECT_EQ(PeakingTimeIndex(r.Rise, r.Avg), k);
        EXPECT_NEAR(PeakingTimeUs(r.Rise, r.Avg, false), list[static_cast<size_t>(k)], 1e-9);
    }
    DppConfigRecord r;
    ApplyPeakingTime(9.6, r);
    EXPECT_EQ(r.Avg, 2);
    EXPECT_EQ(r.Rise, 6);
    ApplyPeakingTime(7.0, r); // between the octaves: nothing changes
    EXPECT_EQ(r.Avg, 2);
    EXPECT_EQ(r.Rise, 6);
}

TEST(DppModels, FlatTops) {
    EXPECT_EQ(FlatTopText(0, 1, false), "0.2uS");
    EXPECT_EQ(FlatTopText(15, 3, false), "12.8uS");
    EXPECT_EQ(FlatTopText(0, 1, true), "0.05uS");
    EXPECT_EQ(FlatTopText(0, 2, true), "0.1uS");
    std::vector<std::string> list = FlatTopList(2, false);
    ASSERT_EQ(list.size(), 16u);
    EXPECT_EQ(list[3], "1.6uS");
}

TEST(DppModels, Gains) {
    // The Plover's 28 codes rise steadily, also across the skipped encodings after code 15.
    for (int code = 1; code <= 27; ++code)
        EXPECT_GT(PloverCoarseGain(code), PloverCoarseGain(code - 1)) << code;
    EXPECT_NEAR(PloverCoarseGain(0), 4.13, 0.005);
    EXPECT_NEAR(PloverCoarseGain(16), 76.70, 0.005);
    EXPECT_NEAR(PloverCoarseGain(27), 562.83, 0.005);
    EXPECT_DOUBLE_EQ(OspreyCoarseGain(15), 102.01);
    EXPECT_DOUBLE_EQ(CoarseGainValue(3, 2), 55.4);
    EXPECT_DOUBLE_EQ(CoarseGainValue(1, 9), 106.2); // clamped to the Heron table
    EXPECT_EQ(HighestGainCode(1), 3);
    EXPECT_EQ(HighestGainCode(2), 27);
    EXPECT_EQ(HighestGainCode(3), 3);
    EXPECT_EQ(HighestGainCode(4), 15);
    EXPECT_EQ(HeronGainCodeFromValue(15.5249), 0);
    EXPECT_EQ(HeronGainCodeFromValue(15.525), 1);
    EXPECT_EQ(HeronGainCodeFromValue(41.55), 2);
    EXPECT_EQ(HeronGainCodeFromValue(79.65), 3);

    DppConfigRecord r;
    r.CoarseGain = 15;
    r.PloverFineGain = 16384;
    DppTotalGain total = TotalGain(r, 4);
    EXPECT_EQ(total.text, "204.02");
    EXPECT_DOUBLE_EQ(total.value, 204.02);
    r.CoarseGain = 2;
    r.PloverFineGain = 8192;
    EXPECT_EQ(TotalGain(r, 1).text, "55.40");
}
