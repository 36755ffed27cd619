#include <gtest/gtest.h>

#include <vector>

#include "kestrel/AcqUploadMath.h"

using namespace vorna;

TEST(AcqUploadMath, TopThirtySecondOfTheChannelsIsCleared) {
    std::vector<uint32_t> counts(256, 7);
    ZeroTopChannels(counts);
    EXPECT_EQ(counts[247], 7u);
    EXPECT_EQ(counts[248], 0u);
    std::vector<uint32_t> full(16384, 1);
    ZeroTopChannels(full);
    EXPECT_EQ(full[16384 - 513], 1u);
    EXPECT_EQ(full[16384 - 512], 0u);
}

TEST(AcqUploadMath, ImplausibleValuesTakeBackThePreviousUploadWithTheirNeighbours) {
    UploadPlausibility check;
    std::vector<uint32_t> first{10, 20, 100, 30, 40, 0x1000};
    check.Apply(first);
    ASSERT_TRUE(check.Valid());

    // 256 has its low byte zero; 0 always passes; 0x1000 + 16384 is a jump too far.
    std::vector<uint32_t> second{11, 21, 256, 31, 0, 0x1000 + 16384};
    check.Apply(second);
    EXPECT_EQ(second, (std::vector<uint32_t>{11, 20, 100, 30, 40, 0x1000}));

    // The rejected channel kept its old previous value; accepted ones moved on.
    std::vector<uint32_t> third{12, 22, 0x1FF, 32, 1, 0x1000 + 16383};
    check.Apply(third);
    EXPECT_EQ(third, (std::vector<uint32_t>{12, 22, 0x1FF, 32, 1, 0x1000 + 16383}));

    // A zoomed upload checks its own range: channel 3 held 32, and 0x300 has a zero low byte.
    std::vector<uint32_t> range{0x300};
    check.Apply(range, 3);
    EXPECT_EQ(range[0], 32u);
}

TEST(AcqUploadMath, McsBinsFollowTheTotalsAndRestartEvery248Uploads) {
    McsBins mcs;
    std::vector<double> live(256, 5.0);
    std::vector<uint32_t> counts(256, 0);
    auto upload = [&](uint32_t total) {
        counts[100] = total;
        mcs.Record(counts, live);
    };
    upload(50);
    EXPECT_EQ(live[0], 0.0); // bin 0 is always 0, and the pass cleared the spectrum
    EXPECT_EQ(live[1], 0.0);
    upload(80);
    EXPECT_EQ(live[1], 30.0);
    upload(80); // nothing new: the bin repeats the last difference
    EXPECT_EQ(live[2], 30.0);
    upload(100); // the previous total grew by that repeat to 110: a wrapped difference
    EXPECT_EQ(live[3], 0.0);
    EXPECT_EQ(mcs.History(), (std::vector<uint32_t>{0, 30, 30, 0}));

    for (int i = 4; i < 248; ++i)
        upload(1000 + i);
    EXPECT_FALSE(mcs.Running());
    upload(5000);
    EXPECT_EQ(mcs.NextBin(), 1);
    EXPECT_EQ(live[1], 0.0);
}

TEST(AcqUploadMath, McsHistoryStopsAtItsSize) {
    McsBins mcs;
    std::vector<double> live(256);
    std::vector<uint32_t> counts(256, 0);
    for (uint32_t i = 0; i < 16384 + 500; ++i) {
        counts[0] = i * 3;
        mcs.Record(counts, live);
    }
    EXPECT_EQ(mcs.History().size(), McsBins::kHistorySize);
    EXPECT_EQ(McsResultGainIndex(mcs.History().size()), 6);
    EXPECT_EQ(McsResultGainIndex(257), 1);
    EXPECT_EQ(McsResultGainIndex(256), 0);
    EXPECT_EQ(McsResultGainIndex(20000), 0);
    mcs.ResetHistory();
    EXPECT_TRUE(mcs.History().empty());
}
