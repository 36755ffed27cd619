// The USB link over the simulated bus: pipes by mode, identification, retries, unplug.

#include <gtest/gtest.h>

#include "DppWorld.h"
#include "dpp/DppProtocol.h"

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

} // namespace
} // namespace vorna::test
