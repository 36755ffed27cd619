#include "dpp/DppBootFlags.h"

namespace vorna {

const std::array<DppBootFlagSetting, 10>& DppBootFlagSettings() {
    static const std::array<DppBootFlagSetting, 10> settings = {{
        {7, "Boot device mode", "Heron", "Plover"},
        {6, "Boot configuration state", "Use nonvolatile configuration", "Boot unconfigured"},
        {5, "RS232 baud rate", "115,200 baud", "57,600 baud"},
        {4, "FPGA clock", "80MHz", "20MHz"},
        {3, "HV Polarity", "Positive", "Negative"},
        {2, "ADC invert", "Non-inverting", "Inverting"},
        {1, "Spectrum offset", "Use Offset", "None"},
        {0, "Fast channel shaping", "4x Slower", "Normal"},
        {9, "MCA channel", "Fast channel", "Slow channel (normal operation)"},
        {8, "Peak detect", "Max and min", "Max only (normal operation)"},
    }};
    return settings;
}

std::string BootFlagsText(uint16_t word) {
    std::string out;
    for (const auto& s : DppBootFlagSettings()) {
        out += s.name;
        out += ": ";
        out += (word >> s.bit) & 1 ? s.textWhenSet : s.textWhenClear;
        out += "\r\n";
    }
    return out;
}

std::string BootFlagsBlock(uint16_t word) {
    return "<<OSPREY BOOT FLAGS>>\r\n" + BootFlagsText(word) + "<<OSPREY BOOT FLAGS END>>\r\n";
}

bool BootFlagsChangeNeedsPowerCycle(uint16_t deviceWord, uint16_t newWord) {
    return ((deviceWord ^ newWord) & static_cast<uint16_t>(~kBootFlagsImmediateMask)) != 0;
}

} // namespace vorna
