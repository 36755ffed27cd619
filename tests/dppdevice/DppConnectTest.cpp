// Connecting: which configuration a connect sends (rules a to d), the Osprey mode change, the
// readback check, and the words the user sees.

#include <gtest/gtest.h>

#include "DppWorld.h"
#include "dpp/DppBootFlags.h"
#include "dpp/DppConfigImage.h"
#include "dpp/DppProtocol.h"

namespace vorna::test {
namespace {

DppConfigRecord FileRecord() {
    DppConfigRecord r;
    r.MCA = 1; // 2048 channels
    r.channels = 2048;
    r.Preset = 300;
    r.CoarseGain = 5;
    return r;
}

TEST(DppConnect, HeronAlwaysSendsTheDefaultFile) {
    DppWorld w;
    w.profile.type = 1;
    w.WriteDefaultConfiguration(FileRecord(), 1);
    SimDpp& sim = w.bus.Plug(SimDppModel::Heron, 1201, 1);
    w.device.configurationLoaded = true; // a Heron reloads the file even so
    w.device.config.MCA = 3;
    ASSERT_TRUE(w.controller.OnConnect());
    EXPECT_EQ(sim.config().channels, 2048);
    EXPECT_EQ(sim.config().Preset, 300u);
    EXPECT_EQ(w.profile.type, 1);
    EXPECT_EQ(w.controller.state(), DppLinkState::Connected);
    EXPECT_TRUE(w.Has(w.prompt.statuses, "Heron connected..."));
    EXPECT_TRUE(w.prompt.messages.empty());
}

TEST(DppConnect, PendingSendGoesOutOnceAndClearsTheFlag) {
    DppWorld w;
    w.WriteDefaultConfiguration(FileRecord(), 2);
    SimDpp& sim = w.bus.Plug(SimDppModel::Plover, 1202, 1);
    w.device.config.MCA = 0; // 4096 channels, edited before connecting
    w.device.config.channels = 4096;
    w.device.pendingSend = true;
    w.controller.Connect();
    EXPECT_FALSE(w.device.pendingSend);
    EXPECT_EQ(sim.config().channels, 4096);
    EXPECT_FALSE(w.device.configurationLoaded) << "the file was not read";
}

TEST(DppConnect, DeviceWithItsOwnConfigurationKeepsIt) {
    DppWorld w;
    w.WriteDefaultConfiguration(FileRecord(), 2);
    SimDpp& sim = w.bus.Plug(SimDppModel::Plover, 1203, 1);
    // Give the unit a configuration of its own: 512 channels and a 12 s preset.
    {
        DppConfigRecord own;
        own.MCA = 3;
        own.channels = 512;
        ASSERT_EQ(w.link.Open(), 1);
        ASSERT_TRUE(SendConfiguration(w.link, BuildImage(own, 2, false), 120));
        w.link.Close();
    }
    sim.holdsOwnConfiguration = true;
    const int writes = sim.configurationWrites();
    w.controller.Connect();
    EXPECT_EQ(w.device.config.channels, 512);
    EXPECT_EQ(w.device.config.Preset, 120u);
    EXPECT_TRUE(w.device.configurationLoaded);
    EXPECT_EQ(w.device.strings.Line(1).empty(), false);
    EXPECT_EQ(sim.configurationWrites(), writes + 1) << "sent back unchanged";
    EXPECT_EQ(sim.config().channels, 512);

    // The startup option does the same for a unit that does not ask for it.
    DppWorld v;
    v.profile.useHardwareConfiguration = true;
    v.bus.Plug(SimDppModel::Plover, 1, 1);
    v.controller.Connect();
    EXPECT_TRUE(v.device.configurationLoaded);
    // A unit never configured reads back its factory settings, not an all-zero image.
    EXPECT_GT(v.device.config.FastChThreshold, 0);
    EXPECT_GT(v.device.config.channels, 0);
    EXPECT_EQ(v.device.config.channels, v.bus.Device(1).config().channels);
}

// The window's connect: the same passes and reads, one step per timer tick, with the pauses
// the blocking connect sleeps.
TEST(DppConnect, TimedStepsPauseLikeTheBlockingConnectAndAFailedOneEndsDisconnected) {
    DppWorld w;
    w.bus.Plug(SimDppModel::Plover, 1301, 1);
    ASSERT_TRUE(w.controller.BeginConnect());
    std::vector<int> pauses;
    for (int p = w.controller.ConnectStep(); p >= 0; p = w.controller.ConnectStep()) {
        pauses.push_back(p);
        w.clock.Advance(p * 1000);
    }
    EXPECT_EQ(pauses, (std::vector<int>{200, 200, 200, 500, 500}));
    EXPECT_FALSE(w.controller.connecting());
    EXPECT_EQ(w.controller.state(), DppLinkState::Connected);
    EXPECT_EQ(w.live.replaced, 3);

    // Unplugged after the passes: the status never names a serial number.
    DppWorld f;
    f.bus.Plug(SimDppModel::Plover, 1302, 1);
    ASSERT_TRUE(f.controller.BeginConnect());
    for (int i = 0; i < 3; ++i)
        f.controller.ConnectStep();
    EXPECT_EQ(f.controller.state(), DppLinkState::Connected) << "the passes found it";
    f.bus.Unplug(1);
    while (f.controller.ConnectStep() >= 0) {
    }
    EXPECT_EQ(f.controller.state(), DppLinkState::Disconnected);
    EXPECT_FALSE(f.controller.connected());
    EXPECT_NE(f.prompt.statuses.back().find(" not connected please reset Plover"),
              std::string::npos);
}

TEST(DppConnect, OtherwiseTheDefaultFileIsLoadedOnlyOnceAndAMissingOneIsReported) {
    DppWorld w;
    w.WriteDefaultConfiguration(FileRecord(), 2);
    SimDpp& sim = w.bus.Plug(SimDppModel::Plover, 1204, 1);
    w.controller.Connect();
    EXPECT_TRUE(w.device.configurationLoaded);
    EXPECT_EQ(sim.config().channels, 2048);
    // Edits in memory survive the next connect.
    w.device.config.MCA = 4;
    w.device.config.channels = 256;
    w.controller.Connect();
    EXPECT_EQ(sim.config().channels, 256);

    DppWorld missing;
    missing.bus.Plug(SimDppModel::Plover, 1, 1);
    missing.controller.Connect();
    ASSERT_EQ(missing.prompt.messages.size(), 1u);
    EXPECT_NE(missing.prompt.messages[0].find("cannot be found."), std::string::npos);
    EXPECT_EQ(missing.prompt.captions, std::vector<std::string>{"Configuration File Error"});
    EXPECT_FALSE(missing.device.configurationLoaded);
}

TEST(DppConnect, NoDeviceEndsTheConnectWithItsWords) {
    DppWorld w;
    w.controller.Connect();
    EXPECT_TRUE(w.Has(w.prompt.statuses, "No USB devices found"));
    EXPECT_EQ(w.controller.state(), DppLinkState::Disconnected);
    w.controller.OnSendHardwareConfiguration();
    EXPECT_EQ(w.prompt.statuses.back(), "No USB devices found");
}

TEST(DppConnect, OspreyModeChangeIsAnnouncedAndTheBootFlagCleared) {
    DppWorld w;
    w.profile.type = 4;
    w.WriteDefaultConfiguration(FileRecord(), 4);
    SimDpp& sim = w.bus.Plug(SimDppModel::Osprey, 1205, 1);
    sim.modeChangePending = true;
    w.controller.Connect();
    ASSERT_EQ(w.prompt.messages.size(), 1u);
    EXPECT_NE(w.prompt.messages[0].find(kOspreyModeChangeText), std::string::npos);
    EXPECT_EQ(w.prompt.captions, std::vector<std::string>{"Osprey Mode Change"});
    EXPECT_FALSE(sim.modeChangePending);
    EXPECT_EQ(sim.bootFlags() & 0x80, 0);
    EXPECT_EQ(sim.bootFlags() & 0x08, 0x08) << "the other boot flags are kept";
    w.controller.Connect();
    EXPECT_EQ(w.prompt.messages.size(), 1u) << "announced once";
}

TEST(DppConnect, ReadbackThatDiffersIsResentOnceThenReportedAsFailed) {
    DppWorld w;
    SimDpp& sim = w.bus.Plug(SimDppModel::Plover, 1, 1);
    ASSERT_EQ(w.link.Open(), 1);
    DppConfigRecord r;
    const DppConfigImage image = BuildImage(r, 2, false);

    sim.corruptReadbacks = 1;
    int writes = sim.configurationWrites();
    EXPECT_TRUE(SendConfiguration(w.link, image, 10));
    EXPECT_EQ(sim.configurationWrites() - writes, 2);

    sim.corruptReadbacks = 2;
    writes = sim.configurationWrites();
    EXPECT_FALSE(SendConfiguration(w.link, image, 10));
    EXPECT_EQ(sim.configurationWrites() - writes, 2) << "one resend, no more";

    // Only the first four bytes are compared.
    sim.corruptReadbacks = 1;
    sim.corruptReadbackAt = 20;
    writes = sim.configurationWrites();
    EXPECT_TRUE(SendConfiguration(w.link, image, 10));
    EXPECT_EQ(sim.configurationWrites() - writes, 1);
    EXPECT_TRUE(w.prompt.messages.empty()) << "a failed send shows nothing";
}

} // namespace
} // namespace vorna::test
