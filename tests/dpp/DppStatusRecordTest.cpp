#include <gtest/gtest.h>

#include <array>

#include "dpp/DppDevice.h"
#include "dpp/DppStatusRecord.h"

using namespace vorna;

namespace {

using Packet = std::array<uint8_t, 64>;

Packet packet(uint8_t flags, uint8_t firmware) {
    Packet p{};
    p[23] = flags;
    p[13] = firmware;
    return p;
}

DppStatusRecord decode(const Packet& p) {
    DppStatusRecord s;
    s.Decode(p);
    return s;
}

} // namespace

TEST(DppStatusRecord, DecodesFieldsAndUnits) {
    Packet p = packet(0x80, 0x4E);
    p[0] = 0x10, p[1] = 0x27;  // fast count 10000
    p[4] = 0x88, p[5] = 0x13;  // slow count 5000
    p[9] = 0x05, p[10] = 0x0A; // 1.005 s
    p[14] = 0x78, p[15] = 0x56, p[16] = 0x34, p[17] = 0x12;
    p[18] = 0x0F, p[19] = 0xFE; // 4094 / 2 V
    p[20] = 0x0B, p[21] = 0xB8; // 3000 / 10 K
    p[22] = 0xFB;               // -5 degrees
    p[29] = 0x00, p[30] = 0xF8; // only the low 12 bits count: 0x800
    p[8] = 0x34;
    DppStatusRecord s = decode(p);
    EXPECT_DOUBLE_EQ(s.fastCount, 10000);
    EXPECT_DOUBLE_EQ(s.slowCount, 5000);
    EXPECT_DOUBLE_EQ(s.accumulationTime, 1.005);
    EXPECT_EQ(s.serialNumber, 0x12345678u);
    EXPECT_DOUBLE_EQ(s.highVoltage, 2047);
    EXPECT_EQ(s.hvText, "2047V");
    EXPECT_DOUBLE_EQ(s.tecTemperature, 300);
    EXPECT_EQ(s.tecText, "300K");
    EXPECT_EQ(s.boardTemperature, -5);
    EXPECT_EQ(s.boardTempText, "-5\xB0"
                               "C");
    EXPECT_DOUBLE_EQ(s.monitorVoltage, 1.5);
    EXPECT_DOUBLE_EQ(s.fpgaVersion, 3.04);
    EXPECT_DOUBLE_EQ(s.firmwareVersion, 4.14);
    EXPECT_TRUE(s.directHighVoltage);
    EXPECT_FALSE(s.firmwareAtLeast50);

    // The high nibble of the voltage byte is not part of the value.
    p[18] = 0xF3;
    EXPECT_DOUBLE_EQ(decode(p).highVoltage, (0x3 * 256 + 0xFE) / 2.0);
}

TEST(DppStatusRecord, DeviceTypeAndOspreyFields) {
    EXPECT_EQ(decode(packet(0x80, 0x4E)).deviceType, 2);
    EXPECT_EQ(decode(packet(0x80, 0x50)).deviceType, 4);
    EXPECT_EQ(decode(packet(0x00, 0x50)).deviceType, 3);
    EXPECT_EQ(decode(packet(0x00, 0x4F)).deviceType, 1);

    Packet p = packet(0x80, 0x50);
    p[52] = 0x12, p[53] = 0x03;
    p[62] = 0xF6, p[63] = 0xFF; // spectrum offset -10
    p[47] = 1;
    DppStatusRecord osprey = decode(p);
    EXPECT_EQ(osprey.bootFlags, 0x0312);
    EXPECT_TRUE(osprey.FastClock());
    EXPECT_EQ(osprey.SpectrumOffset(), -10);
    EXPECT_DOUBLE_EQ(osprey.extendedCount, 1);

    // A Plover reports none of these, whatever the bytes hold.
    p[13] = 0x4E;
    DppStatusRecord plover = decode(p);
    EXPECT_EQ(plover.bootFlags, 0);
    EXPECT_EQ(plover.SpectrumOffset(), 0);
    EXPECT_DOUBLE_EQ(plover.extendedCount, 0);
}

TEST(DppStatusRecord, DeadTime) {
    // 100000 counts/s in, 90000 out, 400 ns: corrected input 104166.7/s.
    EXPECT_NEAR(DppStatusRecord::DeadTime(100000, 1.0, false, 90000), 13.6, 1e-9);
    EXPECT_NEAR(DppStatusRecord::DeadTime(100000, 1.0, true, 90000), 10.9, 1e-9);
    EXPECT_EQ(DppStatusRecord::DeadTime(0, 1.0, false, 0), -1);
    EXPECT_EQ(DppStatusRecord::DeadTime(500, 0.0, false, 400), -1);
    EXPECT_EQ(DppStatusRecord::DeadTime(1000, 1.0, false, 2000), -1); // more out than in
    EXPECT_EQ(DppStatusRecord::DeadTimeText(13.6), "13.60%");
    EXPECT_EQ(DppStatusRecord::DeadTimeText(0), "      ");
    EXPECT_EQ(DppStatusRecord::DeadTimeText(-1), "      ");

    Packet p = packet(0x80, 0x4E);
    EXPECT_EQ(decode(p).deadTimeText, "      "); // no counts, no time
    p[0] = 0xA0, p[1] = 0x86, p[2] = 0x01;       // 100000
    p[4] = 0x90, p[5] = 0x5F, p[6] = 0x01;       // 90000
    p[10] = 10;                                  // 1 s
    EXPECT_EQ(decode(p).deadTimeText, "13.60%");
    // An Osprey on the 80 MHz clock uses the shorter period.
    p[13] = 0x50, p[52] = 0x10;
    EXPECT_EQ(decode(p).deadTimeText, "10.90%");
}

TEST(DppStatusRecord, PolarityTexts) {
    Packet p = packet(0x80, 0x45);
    p[18] = 0x07, p[19] = 0xD0; // 1000 V
    DppStatusRecord plover = decode(p);
    EXPECT_FALSE(plover.polarityPositive);
    EXPECT_EQ(plover.hvText, "-1000V");
    p[13] = 0x46;
    EXPECT_EQ(decode(p).hvText, "1000V");

    p[13] = 0x53; // too old to report its polarity
    p[43] = 0xC0;
    EXPECT_EQ(decode(p).hvText, "1000V");
    p[13] = 0x54;
    DppStatusRecord mismatch = decode(p); // drives positive, boot flags ask for negative
    EXPECT_TRUE(mismatch.polarityPositive);
    EXPECT_EQ(mismatch.hvText, "-1000V Check Polarity");
    p[52] = 0x08;
    EXPECT_EQ(decode(p).hvText, "1000V");
    p[43] = 0x80;
    DppStatusRecord wrongWay = decode(p);
    EXPECT_FALSE(wrongWay.polarityPositive);
    EXPECT_EQ(wrongWay.hvText, "1000V Check Polarity");
    p[43] = 0x40; // readback not valid
    EXPECT_EQ(decode(p).hvText, "1000V");
}

TEST(DppStatusRecord, StatusBlockText) {
    Packet p = packet(0x80, 0x4E);
    p[0] = 0xA0, p[1] = 0x86, p[2] = 0x01;
    p[4] = 0x90, p[5] = 0x5F, p[6] = 0x01;
    p[10] = 0x64, p[9] = 0x90; // 10.144 s
    p[14] = 0x39, p[15] = 0x30;
    p[8] = 0x35;
    p[18] = 0x07, p[19] = 0xD0;
    p[20] = 0x0B, p[21] = 0xB8;
    p[22] = 0x21;
    EXPECT_EQ(decode(p).StatusBlockText(), "Device Type: Plover\r\n"
                                           "Serial Number: 12345\r\n"
                                           "Firmware: 4.14\r\n"
                                           "FPGA: 3.05\r\n"
                                           "Fast Count: 100000\r\n"
                                           "Slow Count: 90000\r\n"
                                           "Accumulation Time: 10\r\n"
                                           "Dead Time: 10.35%\r\n"
                                           "HV Volt: 1000V\r\n"
                                           "TEC Temp: 300K\r\n"
                                           "Board Temp: 33\xB0"
                                           "C\r\n");
    // A Heron has no high voltage or cooler of its own to report.
    p[23] = 0;
    std::string heron = decode(p).StatusBlockText();
    EXPECT_EQ(heron.rfind("Device Type: Heron\r\n", 0), 0u);
    EXPECT_EQ(heron.find("HV Volt"), std::string::npos);
    EXPECT_EQ(heron.find("TEC Temp"), std::string::npos);
}

TEST(DppStatusRecord, DeviceFollowsAcquisitionEnable) {
    DppDevice device;
    device.DecodeStatus(packet(0x20, 0x4E));
    EXPECT_EQ(device.config.MCAEnable, 1);
    device.DecodeStatus(packet(0x00, 0x4E));
    EXPECT_EQ(device.config.MCAEnable, 0);
}
