// The USB link over the simulated bus: pipes by mode, identification, retries, unplug.

#include <gtest/gtest.h>

#include "DppWorld.h"
#include "dpp/DppConfigImage.h"
#include "dpp/DppPipes.h"
#include "dpp/DppProtocol.h"
#include "sim/dpp/SimDppBusFactory.h"

namespace vorna::test {
namespace {

TEST(DppLink, OpensThePipesOfItsModeAndIdentifiesEachFamily) {
    struct Case {
        SimDppModel model;
        int type;
        const char* name;
        bool osprey;
    };
    for (const Case& c : {Case{SimDppModel::Heron, 1, "Heron", false},
                          Case{SimDppModel::Plover, 2, "Plover", false},
                          Case{SimDppModel::HeronEmulation, 3, "HERONEMUL", true},
                          Case{SimDppModel::Osprey, 4, "Osprey", true}}) {
        DppWorld w;
        w.bus.Plug(c.model, 4711, 1);
        EXPECT_EQ(w.link.Open(), 1);
        EXPECT_TRUE(w.link.isOpen());
        EXPECT_EQ(w.link.ospreyMode(), c.osprey);
        // Osprey mode reads traces on the data pipe and has no scope pipe.
        EXPECT_EQ(w.link.scopeInOpen(), !c.osprey);
        ASSERT_TRUE(w.link.Identify());
        EXPECT_EQ(w.link.deviceType(), c.type) << c.name;
        EXPECT_EQ(w.link.deviceTypeName(), c.name);
        EXPECT_EQ(w.link.serialNumber(), 4711u);
    }
}

TEST(DppLink, ShortReadsAreRetriedFiveTimesThenReportedAsTheyCame) {
    DppWorld w;
    SimDpp& sim = w.bus.Plug(SimDppModel::Plover, 1, 1);
    ASSERT_EQ(w.link.Open(), 1);
    std::vector<uint8_t> raw(1024 * 3);
    sim.shortSpectrumReads = 4; // the fifth attempt delivers all
    EXPECT_EQ(w.link.ReadSpectrum(raw), raw.size());
    sim.shortSpectrumReads = 5;
    EXPECT_EQ(w.link.ReadSpectrum(raw), raw.size() - 1);

    // A pipe that never answers costs the time-out on every attempt.
    w.bus.spectrumTimeouts = 5;
    const int64_t before = w.clock.NowMicros();
    EXPECT_EQ(w.link.ReadSpectrum(raw), 0u);
    EXPECT_EQ(w.clock.NowMicros() - before, 5 * 100'000);

    std::array<uint8_t, 512> big{};
    EXPECT_EQ(w.link.ReadData(big, true), 0u) << "no large reads outside Osprey mode";
}

TEST(DppLink, UnpluggingClosesTheLinkAtTheNextCountAndReplugReopens) {
    DppWorld w;
    EXPECT_EQ(w.link.CountDevices(), 0);
    EXPECT_EQ(w.link.StatusText(), "USB (0 detected)");
    SimDpp& sim = w.bus.Plug(SimDppModel::Plover, 1, 1);
    ASSERT_EQ(w.link.Open(), 1);
    EXPECT_EQ(w.link.StatusText(), "USB (1 detected)");
    w.bus.Unplug(1);
    EXPECT_EQ(w.link.CountDevices(), -1);
    EXPECT_FALSE(w.link.isOpen());
    EXPECT_EQ(w.link.StatusText(), "USB closed");
    w.bus.Replug(sim);
    EXPECT_TRUE(w.link.EnsureOpen());
    EXPECT_TRUE(w.link.isOpen());
}

TEST(DppLink, TimerTicksDuringATransferAreSkipped) {
    DppWorld w;
    w.bus.Plug(SimDppModel::Plover, 1, 1);
    ASSERT_TRUE(w.controller.OnConnect());
    w.controller.StartAcquisition();
    const int replaced = w.live.replaced;
    int nested = 0;
    w.bus.duringTransfer = [&] {
        if (nested++ > 0)
            return;
        EXPECT_TRUE(w.link.busy());
        DppScopeTrace trace{};
        EXPECT_EQ(w.link.ReadScope(trace), 0u);
        w.controller.OnDataTimer();
        w.controller.OnWatchTimer();
    };
    w.controller.ReadData();
    w.bus.duringTransfer = nullptr;
    EXPECT_EQ(w.live.replaced, replaced + 1) << "only the outer read reached the spectrum";
    EXPECT_FALSE(w.link.busy());
}

TEST(DppLink, DescriptorTextGoesOutInPairsAndReadsBackTrimmed) {
    DppWorld w;
    w.bus.Plug(SimDppModel::Osprey, 1, 1);
    ASSERT_EQ(w.link.Open(), 1);
    const int before = w.bus.vendorRequests;
    WriteDescriptorText(w.link, "  Lab 3 unit");
    EXPECT_EQ(w.bus.vendorRequests - before, 32);
    EXPECT_EQ(w.link.ReadDescriptorText(), "Lab 3 unit");
    EXPECT_DOUBLE_EQ(w.link.DriverVersion(), 1.0);
}

// A bus made from a VORNA_SIMULATE value with a link on it that opens the first device once the
// clock is well past zero: the timed faults count from that open.
struct SimulatedBus {
    explicit SimulatedBus(const char* value)
        : bus(MakeSimulatedDppBus(ParseSimulateSetting(value), clock)), link(*bus, clock) {
        clock.Advance(50'000'000);
        opened = clock.NowMicros();
        EXPECT_EQ(link.Open(), bus->DeviceCount());
    }
    void At(double seconds) {
        clock.Advance(opened + static_cast<int64_t>(seconds * 1e6) - clock.NowMicros());
    }
    size_t Status() {
        std::array<uint8_t, 64> buffer{};
        return link.ReadStatus(buffer);
    }
    VirtualClock clock{1'000'000};
    std::unique_ptr<SimDppBus> bus;
    DppUsbLink link;
    int64_t opened = 0;
};

TEST(DppLink, TimedUnplugAndReplugFromTheSimulateOptions) {
    SimulatedBus s("plover:unplug=20:replug=5");
    s.At(19.9);
    EXPECT_EQ(s.link.CountDevices(), 1);
    EXPECT_EQ(s.Status(), 64u);
    s.At(20);
    EXPECT_EQ(s.link.CountDevices(), -1);
    EXPECT_EQ(s.link.StatusText(), "USB closed");
    EXPECT_FALSE(s.link.EnsureOpen());
    s.At(24.9);
    EXPECT_FALSE(s.link.EnsureOpen());
    s.At(25);
    EXPECT_TRUE(s.link.EnsureOpen());
    EXPECT_EQ(s.Status(), 64u);
    s.At(1000);
    EXPECT_EQ(s.link.CountDevices(), 1) << "it goes once and stays back";

    // Each device's times start at its own first open; one never opened never goes.
    SimulatedBus two("heron,plover:unplug=3");
    two.At(1000);
    EXPECT_EQ(two.bus->DeviceCount(), 2);
    two.link.Close();
    EXPECT_EQ(two.link.SelectAndOpen(2), 2);
    two.At(1002.9);
    EXPECT_EQ(two.Status(), 64u);
    two.At(1003);
    EXPECT_EQ(two.bus->DeviceCount(), 1);
    EXPECT_EQ(two.bus->Device(1).model(), SimDppModel::Heron);
    EXPECT_EQ(two.Status(), 0u);
}

TEST(DppLink, TimedSilenceLeavesTheDeviceCountedButMute) {
    SimulatedBus s("plover:silent=10");
    s.At(9.9);
    EXPECT_EQ(s.Status(), 64u);
    s.At(10);
    EXPECT_EQ(s.Status(), 0u);
    EXPECT_FALSE(s.link.lastStatusOk());
    std::vector<uint8_t> raw(1024 * 3);
    const int64_t before = s.clock.NowMicros();
    EXPECT_EQ(s.link.ReadSpectrum(raw), 0u);
    EXPECT_EQ(s.clock.NowMicros() - before, 5 * 100'000) << "every attempt waits its time-out";
    s.At(1000);
    EXPECT_TRUE(s.link.EnsureOpen());
    EXPECT_EQ(s.Status(), 0u);
}

TEST(DppLink, EveryNthBulkReadIsShort) {
    // On the bare bus: reads 3 and 6 come one byte short.
    SimulatedBus bare("plover:short=3");
    const int pipe = bare.bus->PipeOpen(1, dpppipe::kStatus);
    std::vector<size_t> sizes;
    for (int i = 0; i < 6; ++i) {
        std::array<uint8_t, 65> buffer{};
        size_t got = 0;
        bare.bus->PipeRead(pipe, buffer, got, 100);
        sizes.push_back(got);
    }
    EXPECT_TRUE(bare.link.lastStatusOk()) << "the open read was the first of the count";
    EXPECT_EQ(sizes, (std::vector<size_t>{64, 63, 64, 64, 63, 64}));

    // Through the link a retry makes up for it; when every read is short it cannot.
    SimulatedBus link("plover:short=3");
    std::vector<uint8_t> raw(1024 * 3);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(link.link.ReadSpectrum(raw), raw.size());
    SimulatedBus always("plover:short=1");
    EXPECT_FALSE(always.link.lastStatusOk());
    EXPECT_EQ(always.link.ReadSpectrum(raw), raw.size() - 1);
}

TEST(DppLink, EveryNthConfigurationReadbackIsSpoilt) {
    DppConfigRecord record;
    const DppConfigImage image = BuildImage(record, 2, false);
    SimulatedBus s("plover:checksum=2");
    SimDpp& sim = s.bus->Device(1);
    int writes = sim.configurationWrites();
    EXPECT_TRUE(SendConfiguration(s.link, image, 10));
    EXPECT_EQ(sim.configurationWrites() - writes, 1) << "readback 1 sound";
    writes = sim.configurationWrites();
    EXPECT_TRUE(SendConfiguration(s.link, image, 10));
    EXPECT_EQ(sim.configurationWrites() - writes, 2) << "readback 2 spoilt, 3 sound";

    SimulatedBus always("plover:checksum=1");
    EXPECT_FALSE(SendConfiguration(always.link, image, 10));
}

} // namespace
} // namespace vorna::test
