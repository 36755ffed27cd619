#pragma once
// The configuration as short text lines, one per setting: what configuration files hold and
// what the property pages start from.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "dpp/DppConfigRecord.h"
#include "dpp/DppModels.h"

namespace vorna {

class DppConfigStrings {
public:
    static constexpr int kSlotCount = 47;
    // Slots 4..46 are the lines 1..43 of a configuration file; slots 0..3 carry nothing.
    static constexpr int kFirstSlot = 4;
    static constexpr int kLastSlot = 46;
    static constexpr int kLineCount = kLastSlot - kFirstSlot + 1;

    std::string& Slot(int slot) { return m_slots.at(static_cast<size_t>(slot)); }
    const std::string& Slot(int slot) const { return m_slots.at(static_cast<size_t>(slot)); }
    // Line n = 1..43 of a configuration file.
    std::string& Line(int line) { return Slot(line + kFirstSlot - 1); }
    const std::string& Line(int line) const { return Slot(line + kFirstSlot - 1); }

    bool operator==(const DppConfigStrings&) const = default;

private:
    std::array<std::string, kSlotCount> m_slots;
};

// Fills every configuration slot from the record. TECEnabled, PwrCtrl5VA, FINCH and PwrCtrl9V
// are set to 1 in the record first (the hardware has them always on).
DppConfigStrings RecordToStrings(DppConfigRecord& record, int deviceType, bool fastClock);

// Fills the record from the slots (Port always becomes USB) and returns the total gain of the
// device type's gain model.
DppTotalGain StringsToRecord(const DppConfigStrings& strings, DppConfigRecord& record,
                             int deviceType);

// Preset time in tenths of a second as text: "None", "1 sec", ... "24 hr", else "%.1f sec".
std::string PresetText(uint32_t preset);
// The gate setting as both the configuration line and the configuration text show it.
std::string GateText(uint8_t gate);
// The words back to their values; any other text is its leading number of seconds.
uint32_t PresetFromText(std::string_view text);

} // namespace vorna
