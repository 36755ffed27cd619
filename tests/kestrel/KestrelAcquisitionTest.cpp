#include <gtest/gtest.h>

#include <numeric>
#include <thread>

#include "KestrelSimFixture.h"
#include "kestrel/KestrelError.h"

using namespace vorna;
using namespace vorna::test;

namespace {

// Reads all channels in pieces of at most 1024, the way the controller uploads.
int Upload(KestrelLink& link, int channels, std::vector<uint32_t>& counts) {
    counts.assign(channels, 0);
    for (int start = 0; start < channels; start += 1024) {
        const int n = std::min(1024, channels - start);
        if (int r = link.ReadData(std::span<uint32_t>(counts).subspan(start, n), start, n))
            return r;
    }
    return 0;
}

uint64_t Total(const std::vector<uint32_t>& counts) {
    return std::accumulate(counts.begin(), counts.end(), uint64_t{0});
}

} // namespace

TEST(KestrelAcquisition, UploadsEveryByteOfBothHalvesInEitherMode) {
    for (auto model : {KestrelSimModel::KestrelA, KestrelSimModel::KestrelAUsb}) {
        KestrelSimOptions o = Model(model);
        o.gainCode = 0; // 16384 channels
        SimulatedKestrel k(o);
        ASSERT_EQ(k.ConnectLikeController(), 0);
        const std::vector<uint32_t> pattern = BusyPattern(16384);
        k.sim.LoadDeviceCounts(pattern);
        std::vector<uint32_t> counts;
        ASSERT_EQ(Upload(k.link, 16384, counts), 0);
        EXPECT_EQ(counts, pattern);

        // A zoomed range reads from its own start; the last channel is reachable.
        std::vector<uint32_t> tail(1, 0);
        ASSERT_EQ(k.link.ReadData(tail, 16383, 1), 0);
        EXPECT_EQ(tail[0], pattern[16383]);
        EXPECT_EQ(k.link.ReadData(tail, 16384, 1), Code(KestrelError::StartBeyondChannels));
        std::vector<uint32_t> small(10);
        EXPECT_EQ(k.link.ReadData(small, 0, 11), Code(KestrelError::MissingBuffer));
    }
}

TEST(KestrelAcquisition, TimePresetEndsTheRunOnTheDevice) {
    for (bool live : {false, true}) {
        SimulatedKestrel k(Model(KestrelSimModel::KestrelAUsb));
        ASSERT_EQ(k.ConnectLikeController(), 0);
        ASSERT_EQ(k.link.SetControl(0x02 | (live ? kStatusLivePreset : 0), 0, 0), 0);
        ASSERT_EQ(k.link.SetPreset(60), 0);
        ASSERT_EQ(k.link.ClearAll(), 0);
        ASSERT_EQ(k.link.Start(true), 0);
        int polls = 0;
        KestrelStatus s = k.Status();
        std::vector<uint32_t> counts;
        while (s.Acquiring() && polls < 200) {
            k.clock.Advance(1000000); // the update interval
            ASSERT_EQ(Upload(k.link, 4096, counts), 0);
            s = k.Status();
            ASSERT_EQ(k.lastResult, 0);
            ++polls;
        }
        EXPECT_FALSE(s.Acquiring());
        EXPECT_GT(polls, 5); // uploads take their own wire time between the polls
        EXPECT_DOUBLE_EQ(live ? s.LiveSeconds() : s.RealSeconds(), 60.0);
        EXPECT_LT(s.LiveSeconds(), s.RealSeconds() + 1e-9); // dead time only ever takes away

        // The final upload sees exactly what the device holds, and the device keeps it.
        ASSERT_EQ(Upload(k.link, 4096, counts), 0);
        EXPECT_EQ(counts, k.sim.DeviceCounts());
        const double expected = 2500.0 * s.LiveSeconds();
        EXPECT_NEAR(static_cast<double>(Total(counts)), expected, 6 * std::sqrt(expected));
        k.clock.Advance(10000000);
        EXPECT_EQ(k.sim.DeviceCounts(), counts);
    }
}

TEST(KestrelAcquisition, CountsFormTheFe55PairAtTheirEnergies) {
    KestrelSimOptions o = Model(KestrelSimModel::KestrelA);
    o.gainCode = 3; // 2048 channels, 10 eV each
    o.countRate = 20000;
    SimulatedKestrel k(o);
    ASSERT_EQ(k.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    ASSERT_EQ(k.link.Start(false), 0);
    k.clock.Advance(30000000);
    ASSERT_EQ(k.link.Stop(), 0);
    std::vector<uint32_t> counts;
    ASSERT_EQ(Upload(k.link, 2048, counts), 0);
    auto peakIn = [&](int from, int to) {
        return static_cast<int>(std::max_element(counts.begin() + from, counts.begin() + to) -
                                counts.begin());
    };
    EXPECT_NEAR(peakIn(500, 620), 589, 2); // 5.895 keV
    EXPECT_NEAR(peakIn(620, 700), 649, 2); // 6.490 keV
    EXPECT_GT(counts[589], 5 * counts[649]);
    // Below the threshold the device counts nothing.
    ASSERT_EQ(k.link.ClearAll(), 0);
    ASSERT_EQ(k.link.SetThreshold(400), 0);
    ASSERT_EQ(k.link.Start(false), 0);
    k.clock.Advance(5000000);
    ASSERT_EQ(Upload(k.link, 2048, counts), 0);
    EXPECT_EQ(Total(std::vector<uint32_t>(counts.begin(), counts.begin() + 400)), 0u);
    EXPECT_GT(Total(counts), 50000u);
}

TEST(KestrelAcquisition, SameSeedSameSpectrum) {
    auto run = [](uint64_t seed) {
        KestrelSimOptions o = Model(KestrelSimModel::KestrelA);
        o.seed = seed;
        SimulatedKestrel k(o);
        k.link.Connect(1, 115200, KestrelDeviceType::Unknown);
        k.link.Start(false);
        k.clock.Advance(2000000);
        k.link.Stop();
        return k.sim.DeviceCounts();
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

TEST(KestrelAcquisition, ConcurrentCallersTakeTurnsOnTheLink) {
    SimulatedKestrel k(Model(KestrelSimModel::KestrelAUsb));
    ASSERT_EQ(k.ConnectLikeController(), 0);
    k.sim.LoadDeviceCounts(BusyPattern(4096));
    int uploadFailures = 0;
    int statusFailures = 0;
    std::thread uploader([&] {
        std::vector<uint32_t> counts;
        for (int i = 0; i < 5; ++i)
            uploadFailures += Upload(k.link, 4096, counts) != 0 || counts != BusyPattern(4096);
    });
    std::thread battery([&] {
        for (int i = 0; i < 40; ++i)
            statusFailures += k.link.GetBattery() != BatteryPercent(80, false);
    });
    uploader.join();
    battery.join();
    EXPECT_EQ(uploadFailures, 0);
    EXPECT_EQ(statusFailures, 0);
}

TEST(KestrelAcquisition, RunsOnTheSteadyClockAsInTheProgram) {
    // No timing is asserted: the same exchanges must simply work when time really passes.
    SteadyClock clock;
    KestrelSimOptions o = Model(KestrelSimModel::KestrelA);
    o.gainCode = 6;
    KestrelSimulator sim(clock, o);
    KestrelLink link(sim, clock, FixedLocalTime);
    sim.LoadDeviceCounts(BusyPattern(256));
    ASSERT_EQ(link.Connect(1, 115200, KestrelDeviceType::KestrelA), 0);
    std::vector<uint32_t> counts;
    ASSERT_EQ(Upload(link, 256, counts), 0);
    EXPECT_EQ(counts, BusyPattern(256));
}
