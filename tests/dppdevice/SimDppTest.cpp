// The simulated DPPs as the program sees them: status fields, vendor requests, scope traces,
// and the VORNA_SIMULATE value.

#include <gtest/gtest.h>

#include <algorithm>

#include "DppWorld.h"
#include "dpp/DppProtocol.h"
#include "sim/dpp/SimDppBusFactory.h"

namespace vorna::test {
namespace {

TEST(SimDpp, StatusCarriesEveryDecodedField) {
    DppWorld w;
    SimDpp& sim = w.bus.Plug(SimDppModel::Osprey, 0x01020304, 1);
    ASSERT_EQ(w.link.Open(), 1);
    DppConfigRecord r;
    r.HVEnabled = 1;
    r.HV = 1000;
    ASSERT_TRUE(SendConfiguration(w.link, BuildImage(r, 4, false), 0));
    SendRequest(w.link, DppRequest::SetSpectrumOffset, static_cast<uint16_t>(-12));
    SendRequest(w.link, DppRequest::EnableAcquisition);
    w.clock.SleepMillis(1234);
    ASSERT_TRUE(ReadStatusInto(w.link, w.device));
    const DppStatusRecord& s = w.device.status;
    EXPECT_EQ(s.deviceType, 4);
    EXPECT_EQ(s.serialNumber, 0x01020304u);
    EXPECT_EQ(s.firmwareVersionByte, 0x55);
    EXPECT_DOUBLE_EQ(s.fpgaVersion, 4.04);
    EXPECT_NEAR(s.accumulationTime, 1.234, 1e-9);
    EXPECT_GT(s.fastCount, 2000);
    EXPECT_LE(s.slowCount, s.fastCount);
    EXPECT_DOUBLE_EQ(s.highVoltage, 500);
    EXPECT_EQ(s.tecText, "230K");
    EXPECT_EQ(s.boardTemperature, 34);
    EXPECT_TRUE(s.AcquisitionRunning());
    EXPECT_TRUE(s.AcquisitionEnabled());
    EXPECT_EQ(s.bootFlags, 0x0008);
    EXPECT_EQ(s.SpectrumOffset(), -12);
    EXPECT_EQ(sim.spectrumOffset(), -12);
    // Bias asked positive, driven negative.
    EXPECT_EQ(s.hvText, "500V Check Polarity");
}

TEST(SimDpp, TuningRequestsSetTheirDoneFlagsAfterADelay) {
    DppWorld w;
    w.bus.Plug(SimDppModel::Plover, 1, 1);
    ASSERT_EQ(w.link.Open(), 1);
    SendRequest(w.link, DppRequest::TuneInputOffset);
    SendRequest(w.link, DppRequest::TuneFastThreshold);
    ASSERT_TRUE(ReadStatusInto(w.link, w.device));
    EXPECT_FALSE(w.device.status.InputOffsetTuned());
    EXPECT_FALSE(w.device.status.FastThresholdTuned());
    w.clock.SleepMillis(1600);
    ASSERT_TRUE(ReadStatusInto(w.link, w.device));
    EXPECT_TRUE(w.device.status.InputOffsetTuned());
    EXPECT_FALSE(w.device.status.FastThresholdTuned());
    w.clock.SleepMillis(500);
    ASSERT_TRUE(ReadStatusInto(w.link, w.device));
    EXPECT_TRUE(w.device.status.FastThresholdTuned());
}

// Spread of a trace: what separates a pulse from a bare baseline.
int Spread(const DppScopeTrace& t) {
    auto [lo, hi] = std::minmax_element(t.begin(), t.end());
    return *hi - *lo;
}

TEST(SimDpp, ScopeTraceFollowsTheAnalogOutputOnBothPaths) {
    for (SimDppModel model : {SimDppModel::Plover, SimDppModel::Osprey}) {
        DppWorld w;
        w.bus.Plug(model, 1, 1);
        ASSERT_EQ(w.link.Open(), 1);
        int spread[2] = {};
        for (int dac : {0, 3}) {
            DppConfigRecord r;
            r.DAC = dac;
            ASSERT_TRUE(SendConfiguration(
                w.link, BuildImage(r, model == SimDppModel::Osprey ? 4 : 2, false), 0));
            DppScopeTrace trace{};
            ASSERT_TRUE(ReadStatusInto(w.link, w.device));
            EXPECT_FALSE(ReadScopeTrace(w.link, w.device.status, trace)) << "not armed";
            SendRequest(w.link, DppRequest::ArmScopeTrigger);
            w.clock.SleepMillis(25);
            ASSERT_TRUE(ReadStatusInto(w.link, w.device));
            ASSERT_TRUE(ReadScopeTrace(w.link, w.device.status, trace));
            spread[dac == 0 ? 0 : 1] = Spread(trace);
        }
        EXPECT_GT(spread[0], 20) << "a shaped pulse";
        EXPECT_LT(spread[1], 6) << "the baseline alone";
    }
}

TEST(SimDpp, SimulateValueListsTheDppsInOrder) {
    const SimulateSetting s = ParseSimulateSetting(" Plover,kestrela, osprey,,heronemul,heron,zzz");
    EXPECT_EQ(s.dpps, (std::vector<SimDppModel>{SimDppModel::Plover, SimDppModel::Osprey,
                                                SimDppModel::HeronEmulation, SimDppModel::Heron}));
    EXPECT_EQ(s.unknown, std::vector<std::string>{"zzz"});
    EXPECT_TRUE(ParseSimulateSetting("kestrel,kestrela-usb").dpps.empty());

    VirtualClock clock;
    auto bus = MakeSimulatedDppBus(s, clock);
    EXPECT_EQ(bus->DeviceCount(), 4);
    EXPECT_EQ(bus->Device(2).model(), SimDppModel::Osprey);
    EXPECT_EQ(bus->Device(2).serialNumber(), 1002u);
}

TEST(SimDpp, SameSeedSameSpectrum) {
    auto run = [](uint64_t seed) {
        VirtualClock clock;
        SimDppBus bus(clock);
        SimDpp& sim = bus.Plug(SimDppModel::Plover, 1, seed);
        sim.VendorRequest(130, 0, 0);
        clock.SleepMillis(2000);
        return sim.counts();
    };
    EXPECT_EQ(run(3), run(3));
    EXPECT_NE(run(3), run(4));
}

} // namespace
} // namespace vorna::test
