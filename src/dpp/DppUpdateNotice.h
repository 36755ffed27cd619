#pragma once
// What the "Update DPP Notice" dialog says about a Plover's firmware and FPGA.

#include <cstdint>
#include <string>

namespace vorna {

struct DppUpdateNotice {
    std::string headline;
    std::string text;
    bool upToDate = false; // the dialog closes at once
};

constexpr const char* kUpdateNoticeHeadline =
    "Your device FPGA or firmware is out of date. \nSee below for details.";
constexpr const char* kUpdateNoticeCheckBox =
    "Don't show this dialog again. (Turn on in DPP Properties - Misc Tab.)";
// Both must be at least 4.00.
constexpr double kRequiredFirmware = 4.00;
constexpr double kRequiredFpga = 4.00;

// `programLines` are the three lines of the program's version (description, version, legal).
DppUpdateNotice MakeUpdateNotice(const std::string& programLines, uint32_t serialNumber,
                                 uint8_t firmwareByte, uint8_t fpgaByte);

} // namespace vorna
