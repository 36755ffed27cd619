#pragma once
// Which device file stands behind COM number n on this system. The profile may name one per COM
// number under "serial_device_<n>"; without it COMn (1..9) is /dev/ttyUSB<n-1>, where USB serial
// adapters and the KestrelA's USB interface appear. COM0 has no default.

#include <string>
#include <string_view>

namespace vorna {

std::string SerialDeviceProfileKey(int comNumber);
std::string DefaultSerialDevicePath(int comNumber);
// `configured` is the profile value for this COM number (empty when unset).
std::string SerialDevicePath(int comNumber, std::string_view configured);

} // namespace vorna
