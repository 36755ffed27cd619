// Choosing among several attached DPPs, and the test station's own unit.

#include <gtest/gtest.h>

#include "DppWorld.h"
#include "dpp/DppTestUnit.h"
#include "dpp/DppUpdateNotice.h"

namespace vorna::test {
namespace {

void PlugThree(DppWorld& w) {
    w.bus.Plug(SimDppModel::Heron, 3001, 1);
    w.bus.Plug(SimDppModel::Osprey, 3002, 2);
    w.bus.Plug(SimDppModel::Plover, 3003, 3);
    w.WriteDefaultConfiguration(DppConfigRecord{}, 2);
}

TEST(DppSelection, ChoosesAmongThreeDevicesByTheirLabels) {
    DppWorld w;
    PlugThree(w);
    w.window.choice = 2;
    ASSERT_TRUE(w.controller.OnConnect());
    EXPECT_EQ(w.window.shownLabels[0], "Serial Number 3001 [Heron]");
    EXPECT_EQ(w.window.shownLabels[1], "Serial Number 3002 [PLOVEREMUL]");
    EXPECT_EQ(w.window.shownLabels[2], "Serial Number 3003 [Plover]");
    EXPECT_TRUE(w.window.shownLabels[3].empty());
    EXPECT_TRUE(w.Has(w.prompt.messages, "You Selected Serial Number 3002 [PLOVEREMUL]"));
    EXPECT_EQ(w.link.deviceIndex(), 2);
    EXPECT_EQ(w.profile.type, 4);
    EXPECT_EQ(w.profile.typeName, "Osprey");
    EXPECT_EQ(w.device.status.serialNumber, 3002u);
    EXPECT_EQ(w.controller.state(), DppLinkState::Connected);
}

TEST(DppSelection, CancelAndButtonsBeyondTheSixthEndTheConnect) {
    DppWorld w;
    PlugThree(w);
    w.window.choice = 0;
    EXPECT_FALSE(w.controller.OnConnect());
    EXPECT_EQ(w.link.deviceIndex(), 1);
    EXPECT_EQ(w.controller.state(), DppLinkState::Disconnected);

    DppWorld seven;
    for (uint32_t i = 0; i < 7; ++i)
        seven.bus.Plug(SimDppModel::Plover, 100 + i, i);
    seven.window.choice = 7;
    EXPECT_FALSE(seven.controller.OnConnect());
    EXPECT_EQ(seven.window.shownLabels[6], "Serial Number 106 [Plover]");
}

TEST(DppSelection, TestStationOpensItsUnitWithoutAsking) {
    DppWorld w;
    PlugThree(w);
    writeFile(w.dir.file("VORNATST.INI"),
              "[QuorixTestUnit]\r\nTestDeviceType=Osprey\r\nTestDeviceSerialNumber=3002\r\n");
    DppController station(
        DppControllerPorts{w.link, w.device, w.profile, w.live, w.window, w.prompt, w.clock},
        DppControllerSettings{w.dir.path(), "Quorix_7", ""});
    ASSERT_TRUE(station.OnConnect());
    EXPECT_EQ(w.window.choices, 0);
    EXPECT_EQ(w.link.deviceIndex(), 2);
    EXPECT_EQ(w.profile.type, 4);
    EXPECT_EQ(w.device.status.serialNumber, 3002u);

    // An absent unit is reported and the selection follows.
    writeFile(w.dir.file("VORNATST.INI"),
              "[QuorixTestUnit]\r\nTestDeviceType=Plover\r\nTestDeviceSerialNumber=9999\r\n");
    w.window.choice = 3;
    ASSERT_TRUE(station.OnConnect());
    EXPECT_TRUE(w.Has(w.prompt.messages, "Cannot find test unit Plover 9999."));
    EXPECT_EQ(w.window.choices, 1);
    EXPECT_EQ(w.link.deviceIndex(), 3);
}

TEST(DppSelection, TestUnitFileNeedsBothValues) {
    TempDir dir;
    EXPECT_TRUE(ReadTestUnitName(dir.file("none.ini")).type.empty());
    writeFile(dir.file("t.ini"), "[QuorixTestUnit]\nTestDeviceType=Plover\n");
    EXPECT_TRUE(ReadTestUnitName(dir.file("t.ini")).type.empty());
    EXPECT_EQ(DppSelectLabel(5, 9), "Serial Number 5 [Heron]");
}

} // namespace
} // namespace vorna::test

namespace vorna::test {
namespace {

TEST(DppUpdateNotice, NamesWhatIsOutOfDate) {
    const DppUpdateNotice old = MakeUpdateNotice("VORNA\r\n0.1\r\n(c)\r\n", 1234, 0x40, 0x3F);
    EXPECT_FALSE(old.upToDate);
    EXPECT_EQ(old.headline, kUpdateNoticeHeadline);
    EXPECT_EQ(old.text, "VORNA\r\n0.1\r\n(c)\r\nPlover (s/n    1234)\r\nFirmware Version:  4.00\r\n"
                        "FPGA Version:  3.15\r\nFirmware OK\r\n"
                        "***FPGA needs update to version 4.00 or above.***");
    const DppUpdateNotice ok = MakeUpdateNotice("", 0, 0x4F, 0x40);
    EXPECT_TRUE(ok.upToDate);
    EXPECT_EQ(ok.headline, "FPGA and Firmware OK");
    EXPECT_EQ(ok.text, "Plover\r\nFirmware Version:  4.15\r\nFPGA Version:  4.00\r\n"
                       "FPGA and Firmware OK");
}

} // namespace
} // namespace vorna::test
