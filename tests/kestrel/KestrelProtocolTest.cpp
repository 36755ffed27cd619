#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "kestrel/KestrelCommands.h"
#include "kestrel/KestrelDataBlock.h"
#include "kestrel/KestrelStatusRecord.h"
#include "kestrel/SerialDevicePath.h"
#include "sim/SimulateSetting.h"
#include "sim/kestrel/KestrelSimFactory.h"

using namespace vorna;

TEST(KestrelPacket, ChecksumWrapsAndControlTakesPeakBitFromMirror) {
    EXPECT_EQ(MakePacket({0x05, 0x01, 0x01, 0x01}), (KestrelPacket{0x05, 0x01, 0x01, 0x01, 0x08}));
    EXPECT_EQ(MakePacket({0xFF, 0xFF, 0x02, 0x00})[4], 0x00); // 0x200 modulo 256
    EXPECT_FALSE(PacketChecksumOk({0x01, 0x00, 0x00, 0x00, 0x02}));

    // The record says "First", the mirror says "Absolute": the mirror wins, and the reverse.
    EXPECT_EQ(ControlCommand(0x12, 0x0064, true), (KestrelCommand{0x01, 0x12, 0x64, 0x80}));
    EXPECT_EQ(ControlCommand(0x12, 0x8164, false), (KestrelCommand{0x01, 0x12, 0x64, 0x01}));
    EXPECT_EQ(PresetCommand(0x123456), (KestrelCommand{0x02, 0x56, 0x34, 0x12}));
    EXPECT_EQ(UnlockCommand(0xBEEF), (KestrelCommand{0x75, 0xEF, 0xBE, 0x01}));
    EXPECT_EQ(GroupCommand(64), (KestrelCommand{0x11, 0x00, 64, 0x01}));
}

TEST(KestrelPacket, ClockPacketsAndTextAreBcd) {
    std::tm t{};
    t.tm_year = 113, t.tm_mon = 3, t.tm_mday = 16, t.tm_hour = 12, t.tm_min = 23, t.tm_sec = 29;
    EXPECT_EQ(TimeCommand(t), (KestrelCommand{0x25, 0x12, 0x23, 0x29}));
    EXPECT_EQ(DateCommand(t), (KestrelCommand{0x20, 0x13, 0x04, 0x16}));
    t.tm_year = 99;
    EXPECT_EQ(DateCommand(t)[0], 0x19);

    const std::array<uint8_t, 8> arrival{0x29, 0x23, 0x12, 0x03, 0x16, 0x04, 0x13, 0x20};
    EXPECT_EQ(ClockText(arrival), "04/16/2013 12:23:29");
    EXPECT_EQ(FromBcd(0x59), 59);
    EXPECT_EQ(FromBcd(0x5A), -1);
}

TEST(KestrelStatusRecord, ArrivesReversedAndDecodesEveryField) {
    KestrelStatus s;
    s.statusByte = 0x02 | kStatusLivePreset | kStatusAcquiring | kStatusNiCd; // 4096 channels
    s.controlWord = 0x8000 | 300;
    s.liveField = TimeFieldFromTicks(75 * 12 + 30); // 12.4 s
    s.realField = TimeFieldFromTicks(75 * 13);
    s.battery = 77;
    s.preset = 0xABCDEF;
    s.group = 5;
    s.serial = 0x1234;
    const StatusRecord record = EncodeStatus(s);
    ASSERT_TRUE(StatusChecksumOk(record));

    std::array<uint8_t, 20> wire;
    for (int i = 0; i < 20; ++i)
        wire[i] = record[19 - i];
    EXPECT_EQ(wire[19], record[0]); // the checksum comes last
    const KestrelStatus back = DecodeStatus(ReverseRecord(wire));
    EXPECT_EQ(back.Channels(), 4096);
    EXPECT_TRUE(back.Acquiring() && back.LivePreset() && back.NiCd() && back.AbsolutePeak());
    EXPECT_FALSE(back.Locked());
    EXPECT_EQ(back.Threshold(), 300);
    EXPECT_NEAR(back.LiveSeconds(), 12.4, 1e-9);
    EXPECT_DOUBLE_EQ(back.RealSeconds(), 13.0);
    EXPECT_EQ(back.preset, 0xABCDEFu);
    EXPECT_EQ(back.group, 5);
    EXPECT_EQ(back.serial, 0x1234);

    // Any disagreement of the checksum byte is an error, in either direction.
    StatusRecord bad = record;
    bad[0] = static_cast<uint8_t>(bad[0] + 1);
    EXPECT_FALSE(StatusChecksumOk(bad));
    bad[0] = static_cast<uint8_t>(bad[0] - 2);
    EXPECT_FALSE(StatusChecksumOk(bad));

    EXPECT_EQ(RecordDataSum(EncodeSumRecord(s, 0xDEADBEEF)), 0xDEADBEEFu);
}

TEST(KestrelStatusRecord, TimeFieldCountsDownSeventyFifths) {
    // s = 9, t = 75 is exactly 9 s; t = 1 is 9 s and 74/75.
    EXPECT_DOUBLE_EQ(TimeFieldSeconds(9u << 8 | 75), 9.0);
    EXPECT_NEAR(TimeFieldSeconds(9u << 8 | 1), 9.0 + 74.0 / 75, 1e-12);
    EXPECT_DOUBLE_EQ(TimeFieldSeconds(TimeFieldFromTicks(0)), 0.0);
    EXPECT_DOUBLE_EQ(TimeFieldSeconds(TimeFieldFromTicks(75 * 3600)), 3600.0);
}

TEST(KestrelStatusRecord, BatteryTables) {
    EXPECT_EQ(BatteryPercent(0, false), 101); // external power
    EXPECT_EQ(BatteryPercent(0, true), 101);
    EXPECT_EQ(BatteryPercent(60, false), 10); // between 50 (5 %) and 63 (12.5 %)
    EXPECT_EQ(BatteryPercent(50, false), 5);
    EXPECT_EQ(BatteryPercent(1, false), 0);
    EXPECT_EQ(BatteryPercent(255, false), 100);
    EXPECT_EQ(BatteryPercent(255, true), 100);
    EXPECT_EQ(BatteryPercent(75, true), 25);  // a NiCd point
    EXPECT_EQ(BatteryPercent(75, false), 54); // the same level on Alkaline: 74 -> 50, 77 -> 62.5
    EXPECT_EQ(BatteryPercent(100, false), 88);
}

TEST(KestrelDataBlock, UsbCommandCarriesHalfAddressAndCount) {
    // Channel 300, high half, 1024 channels: count - 1 = 0x3FF spreads over two bytes.
    const KestrelCommand c = UsbDataCommand(DataAddress(300, 1), 1024);
    EXPECT_EQ(c, (KestrelCommand{0x42, 0xB3, 0x04, 0xFF}));
    UsbDataRequest r;
    ASSERT_TRUE(DecodeUsbDataCommand(c, r));
    EXPECT_EQ(r.address, DataAddress(300, 1));
    EXPECT_EQ(r.count, 1024);
    // Counts outside 1..1024 are clamped; the closing command asks for one.
    EXPECT_EQ(UsbDataCommand(0, 5000)[3], 0xFF);
    EXPECT_EQ(UsbDataCommand(0, 0)[3], 0x00);
    EXPECT_FALSE(DecodeUsbDataCommand(SerialDataCommand(8, 1), r));
    EXPECT_EQ(SerialDataCommand(DataAddress(16383, 1), 12), (KestrelCommand{0x00, 0xFE, 0xFF, 12}));
}

TEST(KestrelDataBlock, HalvesFillTheirOwnBytesAndSumEveryByte) {
    std::vector<uint32_t> counts(3, 0);
    const std::vector<uint8_t> low{0x34, 0x12, 0xFF, 0xFF, 0x01, 0x00};
    const std::vector<uint8_t> high{0x78, 0x56, 0x00, 0x00, 0x02, 0x80, 0x7F}; // odd tail
    EXPECT_EQ(StoreHalves(low, 0, counts), 0x34u + 0x12 + 0xFF + 0xFF + 0x01);
    EXPECT_EQ(StoreHalves(high, 1, counts), 0x78u + 0x56 + 0x02 + 0x80 + 0x7F);
    EXPECT_EQ(counts, (std::vector<uint32_t>{0x56781234, 0x0000FFFF, 0x80020001}));
}

TEST(SerialDevicePath, DefaultsToUsbAdaptersAndHonoursTheProfile) {
    EXPECT_EQ(SerialDeviceProfileKey(3), "serial_device_3");
    EXPECT_EQ(SerialDevicePath(1, ""), "/dev/ttyUSB0");
    EXPECT_EQ(SerialDevicePath(9, "  "), "/dev/ttyUSB8");
    EXPECT_EQ(SerialDevicePath(0, ""), ""); // no COM0 on any system we map
    EXPECT_EQ(SerialDevicePath(2, " /dev/serial/by-id/usb-Kestrel-if00 "),
              "/dev/serial/by-id/usb-Kestrel-if00");
}

TEST(SimulateSetting, OneParseServesBothFamilies) {
    const SimulateSetting s = ParseSimulateSetting(" Heron , kestrela-usb,,KESTREL\t,plover,zzz ");
    EXPECT_EQ(s.names,
              (std::vector<std::string>{"heron", "kestrela-usb", "kestrel", "plover", "zzz"}));
    EXPECT_EQ(s.kestrel, KestrelSimModel::KestrelAUsb) << "the first Kestrel name wins";
    EXPECT_EQ(s.dpps, (std::vector<SimDppModel>{SimDppModel::Heron, SimDppModel::Plover}));
    EXPECT_EQ(s.unknown, std::vector<std::string>{"zzz"});
    // A blank inside a name is not dropped: "kestrel a" is no model of either family.
    const SimulateSetting inner = ParseSimulateSetting("kestrel a,heron emul");
    EXPECT_FALSE(inner.kestrel);
    EXPECT_TRUE(inner.dpps.empty());
    EXPECT_EQ(inner.unknown.size(), 2u);
    EXPECT_FALSE(KestrelSimModelFrom(ParseSimulateSetting("plover,heronemul,osprey")));
    EXPECT_TRUE(ParseSimulateSetting(" , ,").Empty());

    VirtualClock clock;
    EXPECT_EQ(MakeKestrelSimulator(ParseSimulateSetting("heron"), clock), nullptr);
    auto sim = MakeKestrelSimulator(ParseSimulateSetting("kestrel"), clock);
    ASSERT_NE(sim, nullptr);
    EXPECT_EQ(sim->Options().model, KestrelSimModel::Kestrel);
}

TEST(SimulateSetting, FaultOptionsFollowTheirDeviceName) {
    const SimulateSetting s =
        ParseSimulateSetting("kestrela:unplug=20:replug=5, Plover : SHORT = 7,heron");
    EXPECT_EQ(s.names, (std::vector<std::string>{"kestrela", "plover", "heron"}));
    EXPECT_EQ(s.kestrel, KestrelSimModel::KestrelA);
    EXPECT_EQ(s.kestrelFaults.unplugMicros, 20'000'000);
    EXPECT_EQ(s.kestrelFaults.replugMicros, 5'000'000);
    EXPECT_FALSE(s.kestrelFaults.silentMicros);
    ASSERT_EQ(s.dppFaults.size(), 2u);
    EXPECT_EQ(s.dppFaults[0].shortEvery, 7);
    EXPECT_TRUE(s.dppFaults[1].Empty());
    EXPECT_TRUE(s.Problems().empty());

    const SimulateSetting more =
        ParseSimulateSetting("kestrela-usb:silent=2.5:checksum=3,kestrel:unplug=1,osprey:unplug=0");
    EXPECT_EQ(more.kestrelFaults.silentMicros, 2'500'000);
    EXPECT_EQ(more.kestrelFaults.checksumEvery, 3);
    EXPECT_FALSE(more.kestrelFaults.unplugMicros) << "a second Kestrel's options are not merged";
    EXPECT_EQ(more.dppFaults.at(0).unplugMicros, 0);
    VirtualClock clock;
    EXPECT_EQ(MakeKestrelSimulator(more, clock)->Options().faults, more.kestrelFaults);

    // A bad option is reported and dropped; the device and its good options stay.
    const SimulateSetting bad = ParseSimulateSetting(
        "kestrela:foo=1:unplug=abc:short=3:replug=2:checksum=0:silent=-1:silent=1e3:unplug:"
        "checksum=2,zzz:unplug=1,plover:short=1.5::replug=4,:silent=1");
    EXPECT_EQ(bad.kestrel, KestrelSimModel::KestrelA);
    EXPECT_EQ(bad.kestrelFaults, (SimFaultPlan{.checksumEvery = 2}));
    EXPECT_EQ(bad.dpps, std::vector<SimDppModel>{SimDppModel::Plover});
    EXPECT_TRUE(bad.dppFaults.at(0).Empty());
    EXPECT_EQ(bad.Problems(), (std::vector<std::string>{
                                  "unknown device \"zzz\"",
                                  "kestrela: unknown option \"foo\"",
                                  "kestrela: \"unplug=abc\" is not a number of seconds (0 or more)",
                                  "kestrela: option \"short\" belongs to DPPs only",
                                  "kestrela: \"checksum=0\" is not a whole number of 1 or more",
                                  "kestrela: \"silent=-1\" is not a number of seconds (0 or more)",
                                  "kestrela: \"silent=1e3\" is not a number of seconds (0 or more)",
                                  "kestrela: option \"unplug\" needs a value, as in unplug=20",
                                  "kestrela: option \"replug\" needs \"unplug\"",
                                  "plover: \"short=1.5\" is not a whole number of 1 or more",
                                  "plover: empty option",
                                  "plover: option \"replug\" needs \"unplug\"",
                                  "\":silent=1\" has no device name",
                              }));
}
