#include "appcore/VersionText.h"

#include <fstream>
#include <iterator>

#include "common/NumberText.h"

namespace vorna {

std::string NormalizeVersionText(std::string_view raw) {
    std::string out;
    int points = 0;
    for (char c : raw) {
        if (c == ' ' || c == '\t')
            continue;
        if (c == ',')
            c = '.';
        if (c == '.' && ++points > 2)
            break;
        out += c;
    }
    return out;
}

std::string ProductVersionFromBytes(std::string_view bytes) {
    // The key and its value are UTF-16LE; the value starts on the next 32-bit boundary.
    static const std::string_view key("P\0r\0o\0d\0u\0c\0t\0V\0e\0r\0s\0i\0o\0n\0\0\0", 30);
    const size_t at = bytes.find(key);
    if (at == std::string_view::npos)
        return {};
    size_t pos = at + key.size();
    while (pos % 4 != 0 && pos < bytes.size() && bytes[pos] == '\0')
        ++pos;
    std::string value;
    for (; pos + 1 < bytes.size(); pos += 2) {
        const unsigned lo = static_cast<unsigned char>(bytes[pos]);
        const unsigned hi = static_cast<unsigned char>(bytes[pos + 1]);
        if (lo == 0 && hi == 0)
            break;
        value += hi == 0 && lo < 0x80 ? static_cast<char>(lo) : '?';
    }
    return value;
}

std::string FileProductVersion(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return kUnknownVersion;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string version = NormalizeVersionText(ProductVersionFromBytes(bytes));
    return version.empty() ? kUnknownVersion : version;
}

std::vector<std::string> AboutDeviceLines(const AboutDeviceFacts& f) {
    std::vector<std::string> lines;
    if (f.deviceType != 0) {
        lines.push_back(f.dppSerial != 0 ? Format("%s (s/n %7i)", f.dppName.c_str(),
                                                  static_cast<int>(f.dppSerial))
                                         : f.dppName);
        // A version byte holds the major number in its high and the minor in its low nibble.
        lines.push_back(
            Format("Firmware Version:  %d.%02d", f.dppFirmwareByte >> 4, f.dppFirmwareByte & 0x0F));
        lines.push_back(Format("FPGA Version:  %d.%02d", f.dppFpgaByte >> 4, f.dppFpgaByte & 0x0F));
        lines.push_back(Format("USB Driver Version:  %.03f", f.usbDriverVersion));
    } else if (f.kestrelModel == 2) {
        lines.push_back(
            Format(f.kestrelUsb ? "KestrelA USB S/N:  %i" : "KestrelA S/N:  %i", f.kestrelSerial));
    } else {
        lines.push_back(f.kestrelModel == 1 ? "Kestrel" : "KestrelA");
    }
    if (f.shownHasDpp) {
        lines.push_back(Format("%s (s/n %7s)", f.shownName.c_str(), f.shownSerial.c_str()));
        lines.push_back("Firmware Version:  " + f.shownFirmware);
        lines.push_back("FPGA Version:  " + f.shownFpga);
    }
    return lines;
}

} // namespace vorna
