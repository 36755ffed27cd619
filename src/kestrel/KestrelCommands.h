#pragma once
// The 5-byte command packets of the Kestrel analyzers: four bytes chosen by the request and a
// checksum byte, plus the BCD helpers of the clock packets.

#include <array>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>

namespace vorna {

using KestrelCommand = std::array<uint8_t, 4>;
using KestrelPacket = std::array<uint8_t, 5>;

// b4 = (b0 + b1 + b2 + b3) modulo 256.
uint8_t PacketChecksum(std::span<const uint8_t, 4> command);
KestrelPacket MakePacket(const KestrelCommand& command);
bool PacketChecksumOk(const KestrelPacket& packet);

// First command bytes, as the device knows them.
enum class KestrelOpcode : uint8_t {
    SerialDataOrBaud = 0x00, // baud divisor with DTR raised, else data transfer start (RS-232)
    Control = 0x01,
    Preset = 0x02,
    Clear = 0x05,
    Group = 0x11,
    DateNineteen = 0x19, // date set; the opcode is the BCD century
    DateTwenty = 0x20,
    Time = 0x25,
    ClockRead = 0x30,
    UsbDataLow = 0x40,
    UsbDataHigh = 0x42,
    Unlock = 0x75,
};

KestrelCommand BaudCommand(uint8_t divisor);
// The control word's bit 15 (peak mode) always travels from the host's mirror bit.
KestrelCommand ControlCommand(uint8_t statusByte, uint16_t controlWord, bool peakModeMirror);
KestrelCommand PresetCommand(uint32_t preset);
KestrelCommand ClearCommand(bool data, bool time);
KestrelCommand GroupCommand(uint8_t group);
KestrelCommand UnlockCommand(uint16_t code);
KestrelCommand TimeCommand(const std::tm& local);
KestrelCommand DateCommand(const std::tm& local);
inline constexpr KestrelCommand kClockReadCommand{0x30, 0x01, 0x01, 0x01};

uint8_t ToBcd(int value); // 0..99
int FromBcd(uint8_t bcd); // -1 when a nibble is not a decimal digit

// The eight clock bytes in order of arrival (second, minute, hour, unused, day, month, year,
// century) as "MM/DD/CCYY hh:mm:ss".
std::string ClockText(std::span<const uint8_t, 8> arrival);

} // namespace vorna
