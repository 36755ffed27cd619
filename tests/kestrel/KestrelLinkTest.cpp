#include <gtest/gtest.h>

#include "KestrelSimFixture.h"
#include "kestrel/KestrelError.h"

using namespace vorna;
using namespace vorna::test;

TEST(KestrelLink, ConnectsToEachModelFindingTheUsbInterfaceOnRetry) {
    SimulatedKestrel older(Model(KestrelSimModel::Kestrel));
    EXPECT_EQ(older.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    EXPECT_EQ(older.link.DeviceType(), KestrelDeviceType::Kestrel);
    EXPECT_FALSE(older.link.UsbMode());

    SimulatedKestrel serialA(Model(KestrelSimModel::KestrelA));
    EXPECT_EQ(serialA.link.Connect(1, 115200, KestrelDeviceType::KestrelA), 0);
    EXPECT_EQ(serialA.link.DeviceType(), KestrelDeviceType::KestrelA);

    // The USB interface never answers on DSR, so the first connect times out on the handshake;
    // detection finds CTS answering and the second connect runs in USB mode.
    SimulatedKestrel usb(Model(KestrelSimModel::KestrelAUsb));
    EXPECT_EQ(usb.link.Connect(1, 115200, KestrelDeviceType::Unknown),
              Code(KestrelError::HandshakeTimeout));
    EXPECT_FALSE(usb.sim.IsOpen());
    const int64_t before = usb.clock.NowMicros();
    EXPECT_EQ(usb.link.DetectUsb(1), 0);
    EXPECT_GE(usb.ElapsedMicros(before), 3800000 + 199 * 1000);
    EXPECT_TRUE(usb.link.UsbMode());
    EXPECT_EQ(usb.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    EXPECT_EQ(usb.link.DeviceType(), KestrelDeviceType::KestrelA);
    EXPECT_EQ(usb.Status().serial, 1207);

    // Detection on an RS-232 device switches USB mode off again.
    SimulatedKestrel back(Model(KestrelSimModel::KestrelA));
    back.link.DetectUsb(2);
    EXPECT_FALSE(back.link.UsbMode());
}

TEST(KestrelLink, ConnectRefusalsLeaveThePortClosed) {
    SimulatedKestrel k(Model(KestrelSimModel::Kestrel));
    EXPECT_EQ(k.link.Connect(10, 115200, KestrelDeviceType::Unknown),
              Code(KestrelError::PortOutOfRange));
    EXPECT_EQ(k.link.Connect(1, 299, KestrelDeviceType::Unknown),
              Code(KestrelError::BaudOutOfRange));
    EXPECT_EQ(k.link.DetectUsb(-1), Code(KestrelError::PortOutOfRange));
    // 115200 / 300 does not fit the divisor byte; the device would be told another rate.
    EXPECT_EQ(k.link.Connect(1, 300, KestrelDeviceType::Unknown),
              Code(KestrelError::BaudOutOfRange));
    EXPECT_FALSE(k.sim.IsOpen());

    EXPECT_EQ(k.link.Connect(1, 115200, KestrelDeviceType::KestrelA),
              Code(KestrelError::WrongDeviceType));
    EXPECT_FALSE(k.link.Connected());
    EXPECT_FALSE(k.sim.IsOpen());

    StatusRecord record{};
    EXPECT_EQ(k.link.GetStatus(record), Code(KestrelError::NotConnected));
    EXPECT_EQ(k.link.Stop(), Code(KestrelError::NotConnected));
}

TEST(KestrelLink, OlderModelRefusesKestrelAOnlyRequestsWithoutTraffic) {
    SimulatedKestrel k(Model(KestrelSimModel::Kestrel));
    ASSERT_EQ(k.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    const uint64_t packets = k.sim.PacketsExecuted();
    const int64_t before = k.clock.NowMicros();
    std::string text;
    EXPECT_EQ(k.link.ReadClock(text), Code(KestrelError::NotSupported));
    EXPECT_EQ(k.link.Unlock(1), Code(KestrelError::NotSupported));
    EXPECT_EQ(k.sim.PacketsExecuted(), packets);
    EXPECT_EQ(k.clock.NowMicros(), before);

    KestrelRequestRecord undefined;
    undefined.code = static_cast<KestrelRequest>(8);
    EXPECT_EQ(k.link.Dispatch(undefined), Code(KestrelError::UndefinedRequest));
    KestrelRequestRecord noBuffer;
    noBuffer.code = KestrelRequest::GetStatus;
    EXPECT_EQ(k.link.Dispatch(noBuffer), Code(KestrelError::MissingBuffer));
}

TEST(KestrelLink, PortLimitsAreCappedAndTheDivisorTravelsAtFourThousandEightHundred) {
    KestrelSimOptions fast = Model(KestrelSimModel::KestrelA);
    fast.port.maxBaud = 230400;
    fast.port.maxRxQueue = 4096;
    fast.port.maxTxQueue = 0;
    SimulatedKestrel a(fast);
    ASSERT_EQ(a.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    EXPECT_EQ(a.link.Port().PortMaxBaud(), 115200);
    EXPECT_EQ(a.link.Port().ReceiveChunk(), 1024);

    // A slower port runs the link at its own maximum; the device learns divisor 2 at 4800 baud
    // and both ends then agree on 57600, or no record would pass its checksum.
    KestrelSimOptions slow = Model(KestrelSimModel::KestrelA);
    slow.port.maxBaud = 57600;
    slow.port.maxRxQueue = 512;
    SimulatedKestrel b(slow);
    ASSERT_EQ(b.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    EXPECT_EQ(b.link.Port().LinkBaud(), 57600);
    EXPECT_EQ(b.link.Port().ReceiveChunk(), 512);
    const std::vector<uint32_t> pattern = BusyPattern(4096);
    b.sim.LoadDeviceCounts(pattern);
    std::vector<uint32_t> counts(1500);
    EXPECT_EQ(b.link.ReadData(counts, 100, 1500), 0); // receives split at 512 bytes
    EXPECT_EQ(counts, std::vector<uint32_t>(pattern.begin() + 100, pattern.begin() + 1600));

    KestrelSimOptions rs485 = Model(KestrelSimModel::KestrelA);
    rs485.port.rs232 = false;
    SimulatedKestrel c(rs485);
    EXPECT_EQ(c.link.Connect(1, 115200, KestrelDeviceType::Unknown), Code(KestrelError::NotRs232));
    KestrelSimOptions bare = Model(KestrelSimModel::KestrelA);
    bare.port.dtrDsr = false;
    SimulatedKestrel d(bare);
    EXPECT_EQ(d.link.Connect(1, 115200, KestrelDeviceType::Unknown),
              Code(KestrelError::NoModemControl));
    EXPECT_FALSE(d.sim.IsOpen());
}

TEST(KestrelLink, ControlWritesGroupsPresetsAndThreshold) {
    SimulatedKestrel k(Model(KestrelSimModel::KestrelA));
    ASSERT_EQ(k.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    k.link.SetPeakModeMirror(true);
    EXPECT_EQ(k.link.SetThreshold(100), 0);
    EXPECT_EQ(k.sim.DeviceStatus().controlWord, 0x8000 | 100);
    EXPECT_EQ(k.link.SetThreshold(0x8000), Code(KestrelError::ThresholdBit15));
    k.link.SetPeakModeMirror(false);
    EXPECT_EQ(k.link.SetControl(0x06 | kStatusLivePreset, 0x20, 0x81), 0);
    KestrelStatus s = k.Status();
    EXPECT_EQ(s.Channels(), 256);
    EXPECT_TRUE(s.LivePreset());
    EXPECT_EQ(s.controlWord, 0x0120); // bit 15 from the mirror, not from the caller

    // 64 x 256 = 16384 fits the 32768-channel memory; 64 x 512 does not.
    EXPECT_EQ(k.link.SetGroup(64), 0);
    EXPECT_EQ(k.Status().group, 64);
    EXPECT_EQ(k.link.SetGroup(129), Code(KestrelError::GroupOutOfRange));
    ASSERT_EQ(k.link.SetControl(0x05, 0x20, 0x01), 0);
    EXPECT_EQ(k.link.SetGroup(64), Code(KestrelError::GroupOutOfRange));
    EXPECT_EQ(k.link.SetGroup(63), 0);

    EXPECT_EQ(k.link.SetPreset(16777215), 0);
    EXPECT_EQ(k.Status().preset, 16777215u);
    EXPECT_EQ(k.link.SetPreset(16777216), Code(KestrelError::PresetOutOfRange));
    EXPECT_EQ(k.link.SetPreset(-1), Code(KestrelError::PresetOutOfRange));
}

TEST(KestrelLink, BatteryOnBothChemistriesAndExternalPower) {
    SimulatedKestrel k(Model(KestrelSimModel::KestrelA));
    ASSERT_EQ(k.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    k.sim.SetBattery(0, false);
    EXPECT_EQ(k.link.GetBattery(), 101);
    k.sim.SetBattery(255, false);
    EXPECT_EQ(k.link.GetBattery(), 100);
    k.sim.SetBattery(60, false);
    EXPECT_EQ(k.link.GetBattery(), 10);
    k.sim.SetBattery(75, true);
    EXPECT_EQ(k.link.GetBattery(), 25);
}

TEST(KestrelLink, LockedDeviceIgnoresCommandsUntilUnlockedByItsCode) {
    KestrelSimOptions o = Model(KestrelSimModel::KestrelAUsb);
    o.securityCode = 4321;
    SimulatedKestrel k(o);
    ASSERT_EQ(k.ConnectLikeController(), 0);
    EXPECT_TRUE(k.Status().Locked());
    EXPECT_EQ(k.link.Start(false), 0); // the device takes the packet and does nothing
    EXPECT_FALSE(k.Status().Acquiring());
    EXPECT_EQ(k.link.Unlock(1234), 0);
    EXPECT_TRUE(k.Status().Locked());
    EXPECT_EQ(k.link.Unlock(4321), 0);
    EXPECT_FALSE(k.Status().Locked());
    EXPECT_EQ(k.link.Start(false), 0);
    EXPECT_TRUE(k.Status().Acquiring());
}

TEST(KestrelLink, StartSetsTheClockAndTheClockReadAnswersTheLatchedStart) {
    for (auto model : {KestrelSimModel::KestrelA, KestrelSimModel::KestrelAUsb}) {
        SimulatedKestrel k(Model(model));
        ASSERT_EQ(k.ConnectLikeController(), 0);
        std::string text;
        ASSERT_EQ(k.link.ReadClock(text), 0);
        EXPECT_EQ(text, "01/15/2026 09:30:" + text.substr(17)); // the device's own clock
        ASSERT_EQ(k.link.Start(true), 0);
        ASSERT_EQ(k.link.ReadClock(text), 0);
        EXPECT_EQ(text, "04/16/2013 12:23:29"); // the host's local time, latched at the start
        EXPECT_TRUE(k.Status().Acquiring());

        // The run goes on and the device clock with it; the start time stays put.
        const int64_t clockAtStart = k.sim.DeviceClockSeconds();
        k.clock.Advance(75'000'000);
        ASSERT_EQ(k.link.ReadClock(text), 0);
        EXPECT_EQ(text, "04/16/2013 12:23:29");
        EXPECT_GE(k.sim.DeviceClockSeconds() - clockAtStart, 75);
        ASSERT_EQ(k.link.Stop(), 0);
        EXPECT_FALSE(k.Status().Acquiring());
        k.clock.Advance(10'000'000);
        ASSERT_EQ(k.link.ReadClock(text), 0);
        EXPECT_EQ(text, "04/16/2013 12:23:29");

        // A start without setting the clock latches the device's own running clock.
        ASSERT_EQ(k.link.Start(false), 0);
        ASSERT_EQ(k.link.ReadClock(text), 0);
        EXPECT_EQ(text.substr(0, 17), "04/16/2013 12:24:");
        EXPECT_GE(std::stoi(text.substr(17)), 54);
        k.clock.Advance(30'000'000);
        std::string later;
        ASSERT_EQ(k.link.ReadClock(later), 0);
        EXPECT_EQ(later, text);
    }
}

TEST(KestrelLink, ClearsWaitUntilTheDeviceListensAgain) {
    for (auto model : {KestrelSimModel::Kestrel, KestrelSimModel::KestrelA}) {
        SimulatedKestrel k(Model(model));
        ASSERT_EQ(k.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
        ASSERT_EQ(k.link.Start(false), 0);
        k.clock.Advance(5000000);
        ASSERT_EQ(k.link.Stop(), 0);
        ASSERT_GT(k.Status().RealSeconds(), 4.9);

        int64_t before = k.clock.NowMicros();
        EXPECT_EQ(k.link.ClearTime(), 0);
        const int64_t settleMs =
            model == KestrelSimModel::Kestrel ? 4096 / 2 + 1536 : 4096 / 8 + 256;
        EXPECT_GE(k.ElapsedMicros(before), settleMs * 1000);
        KestrelStatus s = k.Status();
        EXPECT_EQ(k.lastResult, 0);
        EXPECT_EQ(s.RealSeconds(), 0.0);
        EXPECT_GT(k.sim.DeviceCounts()[1179], 0u); // the Mn K-alpha line at 4096 channels

        EXPECT_EQ(k.link.ClearData(), 0);
        EXPECT_EQ(k.sim.DeviceCounts(), std::vector<uint32_t>(4096, 0));
        EXPECT_EQ(k.link.ClearAll(), 0);
    }
}
