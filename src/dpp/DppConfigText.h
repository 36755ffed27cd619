#pragma once
// The human-readable configuration: "label: value" lines stored with every DPP spectrum and
// shown by "Display Settings" and "Show Current Configuration".

#include <cstdint>
#include <string>

#include "dpp/DppConfigRecord.h"
#include "dpp/DppStatusRecord.h"

namespace vorna {

// What the texts need to know about the device besides the record.
struct DppTextContext {
    int deviceType = 0;             // DppDeviceType
    bool directHighVoltage = false; // Heron firmware that takes HV in the image
    bool fastClock = false;         // 80 MHz FPGA clock
    static DppTextContext FromStatus(const DppStatusRecord& status);
};

// "BLR:OFF", or "BLR:ON DN:%d UP:%d " of the correction rates (four times faster with the
// 80 MHz clock).
std::string BlrText(uint8_t blr, bool fastClock);

// MCS dwell code 0..15 as text ("10mS/channel" .. "300 sec/channel"); others read as 6.
const char* McsTimebaseText(int code);

// The configuration block (lines ending CR LF, without the markers).
std::string ConfigurationText(const DppConfigRecord& record, const DppTextContext& context);
std::string ConfigurationText(const DppConfigRecord& record, const DppStatusRecord& status);

// Both framed blocks, as stored with spectra: configuration, then status.
std::string ConfigurationAndStatusBlock(const DppConfigRecord& record,
                                        const DppStatusRecord& status);

// "Current Configuration" message: heading, rule and the configuration text.
std::string CurrentConfigurationMessage(const DppConfigRecord& record,
                                        const DppStatusRecord& status);

} // namespace vorna
