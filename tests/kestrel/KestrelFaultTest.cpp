#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

#include "KestrelSimFixture.h"
#include "kestrel/KestrelError.h"

using namespace vorna;
using namespace vorna::test;

namespace {

constexpr int64_t kHandshake = KestrelPort::kHandshakeTimeoutMicros;

} // namespace

TEST(KestrelFaults, MissingHandshakeFailsAUsbPacketAtOnceAndIsRetriedOnRs232) {
    SimulatedKestrel usb(Model(KestrelSimModel::KestrelAUsb));
    ASSERT_EQ(usb.ConnectLikeController(), 0);
    usb.sim.InjectFault(KestrelSimFault::MissingHandshake, 1);
    int64_t before = usb.clock.NowMicros();
    EXPECT_EQ(usb.link.SetPreset(10), Code(KestrelError::HandshakeTimeout));
    EXPECT_LT(usb.ElapsedMicros(before), 2 * kHandshake); // one wait, no second attempt
    EXPECT_EQ(usb.Status().preset, 0u);
    EXPECT_EQ(usb.lastResult, 0);

    SimulatedKestrel rs232(Model(KestrelSimModel::KestrelA));
    ASSERT_EQ(rs232.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    rs232.sim.InjectFault(KestrelSimFault::MissingHandshake, 1);
    EXPECT_EQ(rs232.link.SetPreset(10), 0);
    EXPECT_EQ(rs232.Status().preset, 10u);

    rs232.sim.InjectFault(KestrelSimFault::MissingHandshake, -1);
    before = rs232.clock.NowMicros();
    EXPECT_EQ(rs232.link.SetPreset(20), Code(KestrelError::HandshakeTimeout));
    EXPECT_GE(rs232.ElapsedMicros(before), 5 * kHandshake + 4 * 20000);
    rs232.sim.ClearFaults();
    EXPECT_EQ(rs232.Status().preset, 10u);
}

TEST(KestrelFaults, StatusChecksumIsRetriedFiveTimesThenReported) {
    SimulatedKestrel k(Model(KestrelSimModel::KestrelA));
    ASSERT_EQ(k.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    k.sim.InjectFault(KestrelSimFault::StatusChecksum, 4);
    k.Status();
    EXPECT_EQ(k.lastResult, 0);
    k.sim.InjectFault(KestrelSimFault::StatusChecksum, 5);
    k.Status();
    EXPECT_EQ(k.lastResult, Code(KestrelError::StatusChecksum));
    k.Status();
    EXPECT_EQ(k.lastResult, 0);
}

TEST(KestrelFaults, DataChecksumRetriesTheHalfThenFailsWithMinus23) {
    for (auto model : {KestrelSimModel::KestrelA, KestrelSimModel::KestrelAUsb}) {
        SimulatedKestrel k(Model(model));
        ASSERT_EQ(k.ConnectLikeController(), 0);
        const std::vector<uint32_t> pattern = BusyPattern(4096);
        k.sim.LoadDeviceCounts(pattern);
        std::vector<uint32_t> counts(1024);
        k.sim.InjectFault(KestrelSimFault::DataChecksum, 4);
        EXPECT_EQ(k.link.ReadData(counts, 0, 1024), 0);
        EXPECT_TRUE(std::equal(counts.begin(), counts.end(), pattern.begin()));
        k.sim.InjectFault(KestrelSimFault::DataChecksum, 5);
        EXPECT_EQ(k.link.ReadData(counts, 0, 1024), Code(KestrelError::DataChecksum));
        k.sim.ClearFaults();
        EXPECT_EQ(k.link.ReadData(counts, 0, 1024), 0);
        EXPECT_TRUE(std::equal(counts.begin(), counts.end(), pattern.begin()));
    }
}

TEST(KestrelFaults, SilentDeviceEndsInReceiveTimeout) {
    for (auto model : {KestrelSimModel::KestrelA, KestrelSimModel::KestrelAUsb}) {
        SimulatedKestrel k(Model(model));
        ASSERT_EQ(k.ConnectLikeController(), 0);
        k.sim.InjectFault(KestrelSimFault::ReceiveTimeout, 1);
        k.Status();
        EXPECT_EQ(k.lastResult, 0); // asked again and answered
        k.sim.InjectFault(KestrelSimFault::ReceiveTimeout, -1);
        k.Status();
        EXPECT_EQ(k.lastResult, Code(KestrelError::ReceiveTimeout));
        std::string text;
        EXPECT_EQ(k.link.ReadClock(text), Code(KestrelError::ReceiveTimeout));
        k.sim.ClearFaults();
        EXPECT_EQ(k.link.ReadClock(text), 0);
    }
}

TEST(KestrelFaults, PulledCable) {
    // RS-232: the lines stop answering.
    SimulatedKestrel rs232(Model(KestrelSimModel::KestrelA));
    ASSERT_EQ(rs232.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    rs232.sim.InjectFault(KestrelSimFault::PulledCable);
    rs232.Status();
    EXPECT_EQ(rs232.lastResult, Code(KestrelError::HandshakeTimeout));
    rs232.sim.ClearFaults();
    rs232.Status();
    EXPECT_EQ(rs232.lastResult, 0);

    // USB: the port itself goes; the system error comes up, and only a new connect recovers.
    SimulatedKestrel usb(Model(KestrelSimModel::KestrelAUsb));
    ASSERT_EQ(usb.ConnectLikeController(), 0);
    usb.sim.InjectFault(KestrelSimFault::PulledCable);
    usb.Status();
    EXPECT_EQ(usb.lastResult, EIO);
    EXPECT_EQ(usb.link.Connect(1, 115200, KestrelDeviceType::Unknown), ENOENT);
    EXPECT_FALSE(usb.link.Connected());
    usb.sim.ClearFaults();
    EXPECT_EQ(usb.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    usb.Status();
    EXPECT_EQ(usb.lastResult, 0);
}

namespace {

// A port whose driver throws part-way, as a broken backend might.
class ThrowingLine : public KestrelSimulator {
public:
    using KestrelSimulator::KestrelSimulator;
    bool armed = false;
    int ReadModemStatus(uint32_t& bits) override {
        if (armed)
            throw std::runtime_error("driver fault");
        return KestrelSimulator::ReadModemStatus(bits);
    }
};

} // namespace

TEST(KestrelFaults, UnexpectedFailureIsCaughtAndTheLockReleased) {
    VirtualClock clock;
    ThrowingLine line(clock, Model(KestrelSimModel::KestrelA));
    KestrelLink link(line, clock, FixedLocalTime);
    ASSERT_EQ(link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    line.armed = true;
    StatusRecord record{};
    EXPECT_EQ(link.GetStatus(record), Code(KestrelError::Unexpected));
    line.armed = false;
    EXPECT_EQ(link.GetStatus(record), 0); // would deadlock if the lock had stayed taken
}
