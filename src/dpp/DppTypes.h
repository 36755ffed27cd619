#pragma once
// Device families of the DPP link and the small helpers every DPP record needs.

#include <cstdint>
#include <string>

namespace vorna {

// Numbers are stored in the profile and in spectrum files; keep them.
enum class DppDeviceType : int {
    None = 0,
    Heron = 1,
    Plover = 2,
    HeronEmulation = 3, // an Osprey running as a Heron
    Osprey = 4,
};

// "Heron", "Plover", "HERONEMUL", "Osprey"; empty for any other number.
std::string DppDeviceTypeName(int deviceType);

// Plover-class hardware: Plover and Osprey.
inline bool IsPloverClass(int deviceType) {
    return deviceType == 2 || deviceType == 4;
}
// Osprey-class hardware: Heron emulation and Osprey.
inline bool IsOspreyClass(int deviceType) {
    return deviceType == 3 || deviceType == 4;
}

// A version byte holds the major number in its high nibble and the minor number in its low
// nibble: 0x50 is 5.00, 0x4E is 4.14 (the minor is not a decimal digit).
double DppVersionValue(uint8_t versionByte);
// "5.00", "4.14".
std::string DppVersionText(uint8_t versionByte);

// Firmware bytes from this one on run the Osprey family (80 MHz clock option, boot flags).
constexpr uint8_t kOspreyFirmwareByte = 0x50;
// Heron firmware that takes the high-voltage setting in the configuration image.
constexpr uint8_t kDirectHighVoltageFirmwareByte = 0x4E;

} // namespace vorna
