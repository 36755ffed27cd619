#pragma once
// Product version texts of companion files for the About box: read from the file's version
// resource, commas made points, blanks removed, at most two points kept; "Unknown" when the
// file is missing or carries no version.

#include <string>
#include <string_view>
#include <vector>

namespace vorna {

inline constexpr const char* kUnknownVersion = "Unknown";
// The program's legal notice, shown in the About box.
inline constexpr const char* kLegalNotice = "Copyright (C) 2026 The VORNA developers";

// "1, 2, 3, 4" -> "1.2.3"; empty stays empty.
std::string NormalizeVersionText(std::string_view raw);

// The "ProductVersion" string of a Windows executable's version resource, found in the file's
// bytes; empty when there is none.
std::string ProductVersionFromBytes(std::string_view bytes);

// The normalised product version of the file at `path`, or "Unknown".
std::string FileProductVersion(const std::string& path);

// What the About box says about the analyzer and the spectrum shown.
struct AboutDeviceFacts {
    int deviceType = 0; // 0 the Kestrel family, 1..4 a DPP
    // Kestrel: model 0 unknown (not connected), 1 Kestrel, 2 KestrelA.
    int kestrelModel = 0;
    bool kestrelUsb = false;
    int kestrelSerial = 0;
    // DPP: its name, the serial number from its status (0 unknown) and version bytes.
    std::string dppName;
    unsigned dppSerial = 0;
    int dppFirmwareByte = 0;
    int dppFpgaByte = 0;
    double usbDriverVersion = 0;
    // The spectrum shown, when it carries DPP data: its stored texts.
    bool shownHasDpp = false;
    std::string shownName, shownSerial, shownFirmware, shownFpga;
};

// The device lines of the About box's list, in order.
std::vector<std::string> AboutDeviceLines(const AboutDeviceFacts& facts);

} // namespace vorna
