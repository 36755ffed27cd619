#include "kestrel/SerialDevicePath.h"

namespace vorna {

std::string SerialDeviceProfileKey(int comNumber) {
    return "serial_device_" + std::to_string(comNumber);
}

std::string DefaultSerialDevicePath(int comNumber) {
    if (comNumber < 1 || comNumber > 9)
        return {};
    return "/dev/ttyUSB" + std::to_string(comNumber - 1);
}

std::string SerialDevicePath(int comNumber, std::string_view configured) {
    // Leading and trailing blanks are typing accidents, never part of a device path.
    const auto first = configured.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return DefaultSerialDevicePath(comNumber);
    const auto last = configured.find_last_not_of(" \t");
    return std::string(configured.substr(first, last - first + 1));
}

} // namespace vorna
