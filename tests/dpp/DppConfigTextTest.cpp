#include <gtest/gtest.h>

#include "dpp/DppConfigFile.h"
#include "dpp/DppConfigStrings.h"
#include "dpp/DppConfigText.h"

using namespace vorna;

namespace {

DppConfigRecord fixtureRecord(const char* name, int deviceType) {
    DppConfigFile file;
    EXPECT_TRUE(file.Load(std::string(VORNA_TEST_DATA_DIR) + "/dpp/" + name, deviceType).ok);
    DppConfigRecord r;
    StringsToRecord(file.strings, r, deviceType);
    return r;
}

// The value of the line with this label, or "(missing)".
std::string valueOf(const std::string& text, const std::string& label) {
    std::string all = "\r\n" + text;
    auto at = all.find("\r\n" + label + ": ");
    if (at == std::string::npos)
        return "(missing)";
    at += label.size() + 4;
    return all.substr(at, all.find('\r', at) - at);
}

} // namespace

TEST(DppConfigText, PloverText) {
    DppConfigRecord r = fixtureRecord("plover.cfg", 2);
    EXPECT_EQ(ConfigurationText(r, DppTextContext{2, false, false}),
              "COM Port: USB\r\n"
              "Rise: 9.6uS\r\n"
              "Top: 1.6uS\r\n"
              "Fast Threshold: 20\r\n"
              "PUR Enable: PUROn\r\n"
              "RTD ON/OFF: RTDOff\r\n"
              "RTD Threshold: 3.91% FS\r\n"
              "RTD Fast HWHM: 8\r\n"
              "AutoBaseline: Off\r\n"
              "BLR: BLR:ON DN:4 UP:4 \r\n"
              "Acquisition Mode: MCA\r\n"
              "MCS Timebase: 10mS/channel\r\n"
              "MCA Channels: 1024\r\n"
              "Slow Threshold: 2.93% FS\r\n"
              "Buffer Select: Buffer B\r\n"
              "Gate Input (TTL): GateOff\r\n"
              "Preset: 30 min\r\n"
              "Coarse Gain: 20.90x\r\n"
              "Fine Gain: 1.0000\r\n"
              "Input Polarity: Negative\r\n"
              "Input Offset: 0.100V\r\n"
              "Pole Zero: 120\r\n"
              "Det Rst Lockout: 410uS\r\n"
              "TEC: 73.2K\r\n"
              "HV: 878.9V\r\n"
              "Preamp Power: 8.5V\r\n"
              "Analog Out: Shaped Pulse\r\n"
              "Offset: 0mV\r\n"
              "Aux: ONESHOT\r\n"
              "Audio: High\r\n");
}

TEST(DppConfigText, OspreyOnTheFastClock) {
    DppConfigRecord r = fixtureRecord("osprey.cfg", 4);
    std::string t = ConfigurationText(r, DppTextContext{4, false, true});
    EXPECT_EQ(valueOf(t, "Rise"), "16.0uS"); // 64 us / 4
    EXPECT_EQ(valueOf(t, "Top"), "6.4uS");
    EXPECT_EQ(valueOf(t, "RTD Ratio"), "50.0%");
    EXPECT_EQ(valueOf(t, "RTD Slow Thresh"), "25% FS");
    EXPECT_EQ(valueOf(t, "BLR"), "BLR:OFF");
    EXPECT_EQ(valueOf(t, "Acquisition Mode"), "MCS");
    EXPECT_EQ(valueOf(t, "MCS Timebase"), "2 sec/channel");
    EXPECT_EQ(valueOf(t, "MCA Channels"), "8192");
    EXPECT_EQ(valueOf(t, "Preset"), "2.5 sec");
    EXPECT_EQ(valueOf(t, "Coarse Gain"), "1.00x");
    EXPECT_EQ(valueOf(t, "Fine Gain"), "2.0000");
    EXPECT_EQ(valueOf(t, "Pole Zero"), "OFF");
    EXPECT_EQ(valueOf(t, "Det Rst Lockout"), "OFF"); // code 8 is index 10 at 80 MHz
    EXPECT_EQ(valueOf(t, "TEC"), "212.4K");
    EXPECT_EQ(valueOf(t, "Analog Out"), "Off");
    EXPECT_EQ(valueOf(t, "Offset"), "78mV");
    EXPECT_EQ(valueOf(t, "Audio"), "Off");
    EXPECT_EQ(valueOf(t, "RTD Threshold"), "(missing)");

    r.BLR = 0x14;
    r.DetReset = 7;
    r.Avg = 1;
    r.FlatTop = 0;
    r.Offset = 64; // the 7-bit offset is signed
    t = ConfigurationText(r, DppTextContext{4, false, true});
    EXPECT_EQ(valueOf(t, "BLR"), "BLR:ON DN:16 UP:16 ");
    EXPECT_EQ(valueOf(t, "Det Rst Lockout"), "25.6uS");
    EXPECT_EQ(valueOf(t, "Top"), "0.05uS");
    EXPECT_EQ(valueOf(t, "Offset"), "-500mV");
}

TEST(DppConfigText, HeronLinesAndOddValues) {
    DppConfigRecord r = fixtureRecord("heron-41.cfg", 1);
    r.HV = 2048;
    std::string t = ConfigurationText(r, DppTextContext{1, true, false});
    EXPECT_EQ(valueOf(t, "Coarse Gain"), "55x");
    EXPECT_EQ(valueOf(t, "HV"), "900.0V");
    EXPECT_EQ(valueOf(t, "RTD Fast HWHM"), "6");
    EXPECT_EQ(valueOf(t, "Det Rst Lockout"), "1.64mS");
    EXPECT_EQ(valueOf(t, "Input Polarity"), "(missing)");
    EXPECT_EQ(valueOf(t, "Audio"), "(missing)");
    EXPECT_EQ(valueOf(ConfigurationText(r, DppTextContext{1, false, false}), "HV"), "(missing)");

    r.Port = 3;
    r.Rise = -1;
    r.MCSTimebase = 16;
    r.AcqMode = 2;
    r.DetReset = 9;
    r.BufferSelect = 0x30;
    r.Gate = 0x40;
    t = ConfigurationText(r, DppTextContext{1, false, false});
    EXPECT_EQ(valueOf(t, "COM Port"), "COM3");
    EXPECT_EQ(valueOf(t, "Rise"), "Rise Value Not Set");
    EXPECT_EQ(valueOf(t, "MCS Timebase"), "1 sec/channel");
    EXPECT_EQ(valueOf(t, "Acquisition Mode"), "Unknown");
    EXPECT_EQ(valueOf(t, "Det Rst Lockout"), "Unknown");
    EXPECT_EQ(valueOf(t, "Buffer Select"), "Buffer None");
    EXPECT_EQ(valueOf(t, "Gate Input (TTL)"), "Gate not selected");
    r.Port = -1;
    EXPECT_EQ(valueOf(ConfigurationText(r, DppTextContext{1, false, false}), "COM Port"),
              "Port Not Set");
}

TEST(DppConfigText, FramedBlocks) {
    DppConfigRecord r = fixtureRecord("plover.cfg", 2);
    std::array<uint8_t, 64> packet{};
    packet[23] = 0x80;
    packet[13] = 0x4E;
    DppStatusRecord status;
    status.Decode(packet);
    std::string block = ConfigurationAndStatusBlock(r, status);
    EXPECT_EQ(block, "<<DPP CONFIGURATION>>\r\n" + ConfigurationText(r, status) +
                         "<<DPP CONFIGURATION END>>\r\n<<DPP STATUS>>\r\n" +
                         status.StatusBlockText() + "<<DPP STATUS END>>\r\n");
    EXPECT_EQ(ConfigurationText(r, status), ConfigurationText(r, DppTextContext{2, false, false}));
    EXPECT_EQ(CurrentConfigurationMessage(r, status),
              "Current Configuration \r\n_____________________ \r\n" +
                  ConfigurationText(r, status));
}
