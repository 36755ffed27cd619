#include "kestrel/KestrelDataBlock.h"

#include <algorithm>

namespace vorna {

uint16_t DataAddress(int channel, int half) {
    return static_cast<uint16_t>(4 * channel + (half ? 2 : 0));
}

KestrelCommand SerialDataCommand(uint16_t address, uint8_t divisor) {
    return {0x00, static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>(address >> 8),
            divisor};
}

KestrelCommand UsbDataCommand(uint16_t address, int count) {
    int n = std::clamp(count, 1, 1024) - 1;
    return {static_cast<uint8_t>(0x40 + (address & 2)),
            static_cast<uint8_t>((address & 0xFC) + ((n >> 8) & 3)),
            static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(n & 0xFF)};
}

bool DecodeUsbDataCommand(const KestrelCommand& c, UsbDataRequest& out) {
    if (c[0] != 0x40 && c[0] != 0x42)
        return false;
    out.address = static_cast<uint16_t>(c[2] << 8 | (c[1] & 0xFC) | (c[0] & 2));
    out.count = ((c[1] & 3) << 8 | c[3]) + 1;
    return true;
}

uint32_t StoreHalves(std::span<const uint8_t> bytes, int half, std::span<uint32_t> out) {
    uint32_t sum = 0;
    for (uint8_t b : bytes)
        sum += b;
    const int shift = half ? 16 : 0;
    const uint32_t keep = half ? 0x0000FFFFu : 0xFFFF0000u;
    size_t pairs = std::min(bytes.size() / 2, out.size());
    for (size_t i = 0; i < pairs; ++i) {
        uint32_t value = uint32_t(bytes[2 * i]) | uint32_t(bytes[2 * i + 1]) << 8;
        out[i] = (out[i] & keep) | value << shift;
    }
    return sum;
}

} // namespace vorna
