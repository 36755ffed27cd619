#pragma once
// The Osprey boot flags word: what each bit selects, the text block stored with spectra, and
// which changes only take effect after a power cycle.

#include <array>
#include <cstdint>
#include <string>

namespace vorna {

struct DppBootFlagSetting {
    int bit;
    const char* name;
    const char* textWhenSet;
    const char* textWhenClear;
};

// The ten settings in the order of the stored block (boot device mode first).
const std::array<DppBootFlagSetting, 10>& DppBootFlagSettings();

// One "name: state" line per setting, each ending CR LF.
std::string BootFlagsText(uint16_t word);
// The text framed by "<<OSPREY BOOT FLAGS>>" and "<<OSPREY BOOT FLAGS END>>".
std::string BootFlagsBlock(uint16_t word);

// Spectrum offset (bit 1), fast channel shaping (bit 0), FPGA clock (bit 4) and the upper byte
// apply at once; any other change waits for the next power cycle.
constexpr uint16_t kBootFlagsImmediateMask = 0xFF13;
constexpr uint16_t kBootFlagFastClock = 0x0010;
constexpr uint16_t kBootFlagModeChangePending = 0x0080;
bool BootFlagsChangeNeedsPowerCycle(uint16_t deviceWord, uint16_t newWord);

constexpr const char* kBootOptionChangeCaption = "Osprey Boot Option Change";
constexpr const char* kBootOptionChangeText =
    "Osprey boot settings take effect \n after the next power cycle.";
constexpr const char* kOspreyModeChangeCaption = "Osprey Mode Change";
constexpr const char* kOspreyModeChangeText =
    "Setting Osprey mode for VORNA operation. \n Osprey boot settings take effect after \n "
    "the next power cycle.";

} // namespace vorna
