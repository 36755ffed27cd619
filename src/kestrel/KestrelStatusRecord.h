#pragma once
// The analyzer's 20-byte status record. It travels last byte first; once reversed, byte 0 is a
// checksum over bytes 1..19 and the fields are little-endian.

#include <array>
#include <cstdint>
#include <span>

namespace vorna {

using StatusRecord = std::array<uint8_t, 20>;

// Status byte (record byte 1).
inline constexpr uint8_t kStatusGainMask = 0x07;
inline constexpr uint8_t kStatusLivePreset = 0x08;
inline constexpr uint8_t kStatusAcquiring = 0x10;
inline constexpr uint8_t kStatusLocked = 0x20;
inline constexpr uint8_t kStatusNiCd = 0x40;
// Control word (record bytes 2-3).
inline constexpr uint16_t kControlThresholdMask = 0x7FFF;
inline constexpr uint16_t kControlAbsolutePeak = 0x8000;

// Time fields count ticks of 1/75 s.
inline constexpr int kTicksPerSecond = 75;

struct KestrelStatus {
    uint8_t statusByte = 0;
    uint16_t controlWord = 0;
    uint32_t liveField = 0;
    uint32_t realField = 0;
    uint8_t battery = 0;
    uint32_t preset = 0; // 24 bits
    uint16_t group = 0;  // 10 bits
    uint16_t serial = 0;

    int GainCode() const { return statusByte & kStatusGainMask; }
    int Channels() const { return 16384 >> GainCode(); }
    bool Acquiring() const { return (statusByte & kStatusAcquiring) != 0; }
    bool Locked() const { return (statusByte & kStatusLocked) != 0; }
    bool LivePreset() const { return (statusByte & kStatusLivePreset) != 0; }
    bool NiCd() const { return (statusByte & kStatusNiCd) != 0; }
    int Threshold() const { return controlWord & kControlThresholdMask; }
    bool AbsolutePeak() const { return (controlWord & kControlAbsolutePeak) != 0; }
    double LiveSeconds() const;
    double RealSeconds() const;
};

// Record byte i is the byte that arrived at position 19 - i; the same reversal sends it.
StatusRecord ReverseRecord(std::span<const uint8_t, 20> bytes);
uint8_t StatusChecksum(const StatusRecord& record);
bool StatusChecksumOk(const StatusRecord& record);

KestrelStatus DecodeStatus(const StatusRecord& record);
// A record with a valid checksum; bytes 16-19 carry group and serial number.
StatusRecord EncodeStatus(const KestrelStatus& status);
// The record that follows a data transfer carries the byte sum in bytes 16-19 instead.
StatusRecord EncodeSumRecord(const KestrelStatus& status, uint32_t dataSum);
uint32_t RecordDataSum(const StatusRecord& record);

// Seconds = (s + 1) - t / 75, with s in bits 8-31 and the countdown t in bits 0-7.
double TimeFieldSeconds(uint32_t field);
uint32_t TimeFieldFromTicks(uint64_t ticks);

// Battery charge in percent from the raw level, 101 for external power (raw 0).
int BatteryPercent(uint8_t raw, bool nicd);

} // namespace vorna
