#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

#include "KestrelSimFixture.h"
#include "kestrel/KestrelError.h"
#include "sim/SimulateSetting.h"

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

namespace {

// A simulated analyzer with the faults of a VORNA_SIMULATE item, connected at once. `connected`
// is the clock right after the connect; the timed faults count from just before it.
struct FaultyKestrel : SimulatedKestrel {
    FaultyKestrel(KestrelSimModel model, const char* options)
        : SimulatedKestrel(WithFaults(model, options)) {
        clock.Advance(30'000'000); // the plan's times run from the connect, not from power-up
        EXPECT_EQ(ConnectLikeController(), 0);
        connected = clock.NowMicros();
    }
    static KestrelSimOptions WithFaults(KestrelSimModel model, const char* options) {
        KestrelSimOptions o = Model(model);
        o.faults = ParseSimulateSetting(std::string("kestrela:") + options).kestrelFaults;
        return o;
    }
    // Moves the clock to `seconds` after the connect and reads the status.
    int StatusAt(double seconds) {
        clock.Advance(connected + static_cast<int64_t>(seconds * 1e6) - clock.NowMicros());
        Status();
        return lastResult;
    }
    int64_t connected = 0;
};

} // namespace

TEST(KestrelFaults, TimedUnplugAndReplugOfTheCable) {
    // RS-232: the lines go dead at 20 s and answer again from 25 s on, without a new connect.
    FaultyKestrel rs232(KestrelSimModel::KestrelA, "unplug=20:replug=5");
    EXPECT_EQ(rs232.StatusAt(19.9), 0);
    EXPECT_EQ(rs232.StatusAt(20.0), Code(KestrelError::HandshakeTimeout));
    uint32_t lines = 0xFF;
    EXPECT_EQ(rs232.sim.ReadModemStatus(lines), 0);
    EXPECT_EQ(lines, 0u) << "a pulled cable reads as all lines low";
    EXPECT_EQ(rs232.StatusAt(23.5), Code(KestrelError::HandshakeTimeout));
    EXPECT_EQ(rs232.StatusAt(25.1), 0);
    EXPECT_EQ(rs232.StatusAt(1000), 0) << "back for good: the cable goes only once";

    // USB: the port disappears; the old handle stays dead, a connect works once it is back.
    FaultyKestrel usb(KestrelSimModel::KestrelAUsb, "unplug=20:replug=5");
    EXPECT_EQ(usb.StatusAt(19.9), 0);
    EXPECT_EQ(usb.StatusAt(20.0), EIO);
    EXPECT_EQ(usb.link.Connect(1, 115200, KestrelDeviceType::Unknown), ENOENT);
    EXPECT_EQ(usb.StatusAt(25.1), Code(KestrelError::NotConnected));
    EXPECT_EQ(usb.link.Connect(1, 115200, KestrelDeviceType::Unknown), 0);
    EXPECT_EQ(usb.StatusAt(1000), 0);

    // Without replug it stays away.
    FaultyKestrel gone(KestrelSimModel::KestrelA, "unplug=2");
    EXPECT_EQ(gone.StatusAt(1.9), 0);
    EXPECT_EQ(gone.StatusAt(1000), Code(KestrelError::HandshakeTimeout));
}

TEST(KestrelFaults, TimedSilenceLastsThroughReconnects) {
    for (auto model : {KestrelSimModel::KestrelA, KestrelSimModel::KestrelAUsb}) {
        FaultyKestrel k(model, "silent=10");
        EXPECT_EQ(k.StatusAt(9.9), 0);
        EXPECT_EQ(k.StatusAt(10.0), Code(KestrelError::ReceiveTimeout));
        std::string text;
        EXPECT_EQ(k.link.ReadClock(text), Code(KestrelError::ReceiveTimeout));
        EXPECT_EQ(k.link.Connect(1, 115200, KestrelDeviceType::Unknown),
                  Code(KestrelError::ReceiveTimeout));
        k.link.DetectUsb(1);
        EXPECT_NE(k.ConnectLikeController(), 0);
    }
}

TEST(KestrelFaults, EveryNthRecordAndTransferIsSpoilt) {
    // Counted on the bare port: records 3 and 6 of six carry a wrong checksum byte.
    {
        KestrelSimOptions o = Model(KestrelSimModel::KestrelA);
        o.faults.checksumEvery = 3;
        VirtualClock clock;
        KestrelSimulator sim(clock, o);
        KestrelPort port(sim, clock);
        ASSERT_EQ(port.OpenPort(1), 0);
        ASSERT_EQ(port.SetBaud(4800), 0); // the device's rate before any connect
        port.SetConnected(true);
        std::vector<int> results;
        for (int i = 0; i < 6; ++i) {
            StatusRecord record{};
            ASSERT_EQ(port.RequestStatus(), 0);
            results.push_back(port.ReceiveStatus(record));
        }
        const int bad = Code(KestrelError::StatusChecksum);
        EXPECT_EQ(results, (std::vector<int>{0, 0, bad, 0, 0, bad}));
    }
    // Through the link the retries hide every third spoilt record and transfer.
    for (auto model : {KestrelSimModel::KestrelA, KestrelSimModel::KestrelAUsb}) {
        FaultyKestrel k(model, "checksum=3");
        const std::vector<uint32_t> pattern = BusyPattern(4096);
        k.sim.LoadDeviceCounts(pattern);
        std::vector<uint32_t> counts(1024);
        for (int start = 0; start < 4096; start += 1024) {
            ASSERT_EQ(k.link.ReadData(counts, start, 1024), 0);
            EXPECT_TRUE(std::equal(counts.begin(), counts.end(), pattern.begin() + start));
            k.Status();
            EXPECT_EQ(k.lastResult, 0);
        }
    }
    // Every record spoilt: no connect gets through.
    SimulatedKestrel never(FaultyKestrel::WithFaults(KestrelSimModel::KestrelA, "checksum=1"));
    EXPECT_EQ(never.link.Connect(1, 115200, KestrelDeviceType::Unknown),
              Code(KestrelError::StatusChecksum));
}
