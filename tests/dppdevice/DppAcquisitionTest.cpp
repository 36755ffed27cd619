// Acquiring from a simulated Plover on the virtual clock: timed preset, count preset, dropouts,
// DELTA mode, delete, and a device that goes away.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "DppWorld.h"
#include "dpp/DppModels.h"

namespace vorna::test {
namespace {

// A connected Plover with `record` as its configuration.
void Connect(DppWorld& w, const DppConfigRecord& record) {
    w.WriteDefaultConfiguration(record, 2);
    w.bus.Plug(SimDppModel::Plover, 2001, 7);
    ASSERT_TRUE(w.controller.OnConnect());
    ASSERT_EQ(w.controller.state(), DppLinkState::Connected);
}

DppConfigRecord Timed(uint32_t tenths) {
    DppConfigRecord r;
    r.MCA = 2; // 1024 channels
    r.channels = 1024;
    r.CoarseGain = 0;
    r.Preset = tenths;
    return r;
}

int PeakChannel(const std::vector<uint32_t>& counts) {
    return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

TEST(DppAcquisition, TimedPresetEndsTheAcquisitionWithTheFe55Spectrum) {
    DppWorld w;
    w.profile.refreshMs = 499; // out of range: becomes 1000 and is stored back
    Connect(w, Timed(100));
    w.controller.OnStartStop();
    EXPECT_EQ(w.controller.state(), DppLinkState::Acquiring);
    EXPECT_EQ(w.profile.refreshMs, 1000);
    EXPECT_EQ(w.window.intervalMs, 1000);
    EXPECT_EQ(w.live.startTime, "12/10/2026 09:30:00");

    w.RunDataTimer(30);
    EXPECT_FALSE(w.window.timerRunning) << "the preset stopped the data timer";
    EXPECT_EQ(w.controller.state(), DppLinkState::Connected);
    EXPECT_FALSE(w.bus.Device(1).running());
    EXPECT_DOUBLE_EQ(w.live.realTime, 10.0);
    EXPECT_LT(w.live.liveTime, w.live.realTime);
    EXPECT_GT(w.live.liveTime, 0.9 * w.live.realTime);
    ASSERT_EQ(w.live.channels, 1024);
    const double total = std::accumulate(w.live.counts.begin(), w.live.counts.end(), 0.0);
    EXPECT_DOUBLE_EQ(w.live.total, total);
    EXPECT_NEAR(total, 10 * 2500 * 0.95, 10 * 2500 * 0.1);
    // K-alpha at 5.90 keV on the gain's scale.
    const double gain = TotalGain(w.device.config, 2).value;
    const double keVPerChannel = SimDpp::kFullScaleKeVAtGain1 / gain / 1024;
    EXPECT_NEAR(PeakChannel(w.live.counts) * keVPerChannel, 5.90, 0.1);
}

TEST(DppAcquisition, CountPresetInTheSca8WindowAndNoPresetAtAll) {
    DppWorld w;
    DppConfigRecord r = Timed(0);
    r.PresetCount = 500;
    r.Sca[7] = 0u | 1023u << 16 | 1u << 31;
    Connect(w, r);
    w.controller.StartAcquisition();
    w.RunDataTimer(30);
    EXPECT_FALSE(w.window.timerRunning);
    EXPECT_GE(w.live.total, 500);
    EXPECT_LT(w.live.realTime, 1.0);

    // Without a preset the status never ends an acquisition.
    DppWorld open;
    Connect(open, Timed(0));
    open.controller.StartAcquisition();
    open.RunDataTimer(40);
    EXPECT_TRUE(open.window.timerRunning);
    EXPECT_EQ(open.controller.state(), DppLinkState::Acquiring);
    open.controller.OnStartStop();
    EXPECT_FALSE(open.window.timerRunning);
    EXPECT_FALSE(open.bus.Device(1).running());
}

TEST(DppAcquisition, McsPassEndsTheAcquisition) {
    DppWorld w;
    DppConfigRecord r = Timed(0);
    r.AcqMode = 1;
    r.MCA = 4; // 256 bins of 10 ms
    r.channels = 256;
    r.MCSTimebase = 0;
    Connect(w, r);
    w.controller.StartAcquisition();
    w.RunDataTimer(2);
    EXPECT_TRUE(w.window.timerRunning);
    w.RunDataTimer(5);
    EXPECT_FALSE(w.window.timerRunning) << "2.56 s pass done";
    ASSERT_EQ(w.live.channels, 256);
    EXPECT_NEAR(w.live.counts[100], 25, 25) << "each bin holds one dwell's counts";
}

TEST(DppAcquisition, ConnectingToARunningDeviceContinuesTheAcquisition) {
    DppWorld w;
    w.WriteDefaultConfiguration(Timed(0), 2);
    SimDpp& sim = w.bus.Plug(SimDppModel::Plover, 2002, 1);
    sim.VendorRequest(130, 0, 0);
    ASSERT_TRUE(w.controller.OnConnect());
    EXPECT_TRUE(w.window.timerRunning);
    EXPECT_EQ(w.controller.state(), DppLinkState::Acquiring);
}

TEST(DppAcquisition, FiveShortReadsKeepTheLinkTheSixthDisconnects) {
    DppWorld w;
    Connect(w, Timed(0));
    w.controller.StartAcquisition();
    w.RunDataTimer(2);
    const std::vector<uint32_t> before = w.live.counts;
    const int replaced = w.live.replaced;
    SimDpp& sim = w.bus.Device(1);
    // 3071 of 3072 bytes, on every attempt of five reads.
    sim.shortSpectrumReads = 5 * 5;
    w.RunDataTimer(5);
    EXPECT_EQ(w.link.dropouts, 5);
    EXPECT_EQ(w.live.replaced, replaced) << "short reads leave the live spectrum alone";
    EXPECT_EQ(w.live.counts, before);
    EXPECT_EQ(w.controller.state(), DppLinkState::Acquiring);
    sim.shortSpectrumReads = 5;
    w.RunDataTimer(1);
    EXPECT_EQ(w.controller.state(), DppLinkState::Disconnected);
    EXPECT_FALSE(w.window.timerRunning);
    EXPECT_EQ(w.prompt.statuses.back(), "");
    EXPECT_TRUE(w.Has(w.prompt.statuses, "USB (1 detected)"));

    // A good read in between starts the count again.
    DppWorld v;
    Connect(v, Timed(0));
    v.controller.StartAcquisition();
    v.bus.Device(1).shortSpectrumReads = 5 * 5;
    v.RunDataTimer(6);
    EXPECT_EQ(v.link.dropouts, 0);
    EXPECT_EQ(v.controller.state(), DppLinkState::Acquiring);
}

TEST(DppAcquisition, DeltaModeShowsOnlyTheLastIntervalAndDeleteClearsTheDevice) {
    DppWorld w;
    Connect(w, Timed(0));
    w.controller.StartAcquisition();
    w.RunDataTimer(3);
    const double cumulative = w.live.total;
    w.controller.OnToggleDeltaMode();
    ASSERT_TRUE(w.controller.deltaMode());
    w.RunDataTimer(1); // this read still holds everything, then clears the device
    EXPECT_GT(w.live.total, cumulative);
    for (int i = 0; i < 3; ++i) {
        w.RunDataTimer(1);
        EXPECT_NEAR(w.live.total, 2500 * 0.95, 400) << "one second's worth";
    }
    w.controller.OnToggleDeltaMode();
    w.RunDataTimer(2);
    EXPECT_NEAR(w.live.total, 2 * 2500 * 0.95, 600) << "adds up again";

    w.controller.OnDeleteData();
    EXPECT_EQ(w.live.cleared, 1);
    const auto& counts = w.bus.Device(1).counts();
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0.0), 0.0);
}

TEST(DppAcquisition, WatchTimerNoticesAnUnpluggedDevice) {
    DppWorld w;
    Connect(w, Timed(0));
    w.controller.StartAcquisition();
    w.RunDataTimer(2);
    w.controller.OnWatchTimer();
    EXPECT_EQ(w.controller.state(), DppLinkState::Acquiring) << "nothing happens while present";
    w.bus.Unplug(1);
    w.controller.OnWatchTimer();
    EXPECT_EQ(w.controller.state(), DppLinkState::Disconnected);
    EXPECT_FALSE(w.window.timerRunning);
    EXPECT_TRUE(w.Has(w.prompt.statuses, "USB closed"));
    EXPECT_EQ(DppController::WatchIntervalMs(999), 10010);
    EXPECT_EQ(DppController::WatchIntervalMs(32000), 32000);

    // A read on a vanished device says so.
    w.controller.ReadData();
    EXPECT_EQ(w.prompt.statuses.back(), "Device Not Ready");
}

TEST(DppAcquisition, DataTimerFailureAndComPortAreReported) {
    DppWorld w;
    Connect(w, Timed(0));
    w.window.timerFails = true;
    w.controller.StartAcquisition();
    EXPECT_TRUE(w.Has(w.prompt.messages, "Data Timer Error"));
    w.window.timerFails = false;
    w.device.config.Port = 3;
    w.controller.OnDataTimer();
    EXPECT_EQ(w.prompt.statuses.back(), "device: 2 port 3 is bDPPUSB: 0");
}

} // namespace
} // namespace vorna::test
