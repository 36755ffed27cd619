#pragma once
// The inside of a simulated Kestrel: registers, channel memory, acquisition timing, wall clock
// and what each command packet does. The wire (handshake, byte timing, faults) is
// KestrelSimulator's business; this class only sees whole packets at the moment they complete.

#include <cstdint>
#include <optional>
#include <vector>

#include "kestrel/KestrelCommands.h"
#include "kestrel/KestrelDataBlock.h"
#include "kestrel/KestrelStatusRecord.h"
#include "sim/kestrel/KestrelSimOptions.h"
#include "sim/kestrel/KestrelSourceModel.h"

namespace vorna {

// Where the next byte of a data transfer comes from.
struct DataCursor {
    int channel = 0;
    int half = 0;
    int byteInHalf = 0;
    int wordsLeft = -1; // -1: as many as the host clocks out
};

// What the device does in answer to a packet.
struct DeviceReply {
    std::vector<uint8_t> wire; // bytes in the order they leave the device
    bool isRecord = false;
    bool startsData = false;
    DataCursor data;
    int64_t busyMicros = 0;
};

class KestrelDeviceModel {
public:
    static constexpr int kMemoryChannels = 32768;
    static constexpr double kDeadTimeMicros = 4.0;

    KestrelDeviceModel(const KestrelSimOptions& options, int64_t nowMicros);

    // Brings live time, real time, counts and the time preset up to `nowMicros`.
    void AdvanceTo(int64_t nowMicros);
    DeviceReply Execute(const KestrelPacket& packet, bool dtrHigh, int64_t nowMicros);
    // The record a status request gets, in wire order.
    std::vector<uint8_t> StatusWire(int64_t nowMicros);
    uint8_t NextDataByte(DataCursor& cursor);
    // Rate the device expects on its serial input and uses on its output.
    int Baud() const { return m_baud; }

    KestrelStatus Status() const;
    std::vector<uint32_t> GroupCounts() const;
    void LoadGroupCounts(const std::vector<uint32_t>& counts);
    void SetCountRate(double countsPerSecond) { m_countRate = countsPerSecond; }
    void SetBattery(uint8_t level, bool nicd);
    void LockWithCode(uint16_t code);
    // Seconds since 1970-01-01 of the device's wall clock, as civil local time.
    int64_t ClockSeconds(int64_t nowMicros) const;

private:
    bool IsKestrelA() const { return m_options.model != KestrelSimModel::Kestrel; }
    bool IsUsb() const { return m_options.model == KestrelSimModel::KestrelAUsb; }
    int Channels() const { return 16384 >> (m_statusByte & kStatusGainMask); }
    int GroupBase() const { return m_group * Channels(); }
    bool AllowedWhileLocked(uint8_t opcode) const;
    DeviceReply StartData(const DataCursor& cursor);
    DeviceReply Clear(bool data, bool time);
    void SetTime(const KestrelPacket& packet, int64_t nowMicros);
    void SetDate(const KestrelPacket& packet, int64_t nowMicros);
    std::vector<uint8_t> ClockWire(int64_t nowMicros) const;
    void Control(const KestrelPacket& packet, int64_t nowMicros);

    KestrelSimOptions m_options;
    KestrelSourceModel m_source;
    double m_countRate;
    uint8_t m_statusByte = 0;
    uint16_t m_controlWord = 0;
    double m_liveMicros = 0;
    double m_realMicros = 0;
    uint32_t m_preset = 0;
    int m_group = 0;
    uint8_t m_battery;
    std::optional<uint16_t> m_securityCode;
    int m_baud = 4800;
    int64_t m_lastAdvance;
    int64_t m_clockOffsetSeconds; // wall clock = offset + simulated seconds
    // The clock read answers the wall clock latched when an acquisition last started; before
    // the first start there is nothing latched and it answers the running clock.
    std::optional<int64_t> m_startStampSeconds;
    uint32_t m_sumSinceStart = 0;
    std::vector<uint32_t> m_memory;
};

} // namespace vorna
