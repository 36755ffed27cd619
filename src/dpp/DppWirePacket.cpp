#include "dpp/DppWirePacket.h"

#include <cstddef>

namespace vorna {

DppWirePacket PackWirePacket(const DppConfigImage& image, uint32_t preset) {
    DppWirePacket wire{};
    for (size_t i = 0; i <= 10; ++i)
        wire[i] = image[i + 2];
    wire[11] = static_cast<uint8_t>(preset);
    wire[12] = static_cast<uint8_t>(preset >> 8);
    wire[13] = static_cast<uint8_t>(preset >> 16);
    for (size_t i = 14; i <= 29; ++i)
        wire[i] = image[i - 1];
    wire[30] = 0;
    wire[31] = 0;
    for (size_t i = 32; i < 64; ++i)
        wire[i] = image[i];
    return wire;
}

uint32_t UnpackWirePacket(const DppWirePacket& wire, DppConfigImage& image) {
    image[0] = 0;
    image[1] = 0xFD;
    for (size_t i = 0; i <= 10; ++i)
        image[i + 2] = wire[i];
    uint32_t preset = wire[11] + 256u * wire[12] + 65536u * wire[13];
    for (size_t i = 14; i <= 29; ++i)
        image[i - 1] = wire[i];
    for (size_t i = 32; i < 64; ++i)
        image[i] = wire[i];
    return preset;
}

} // namespace vorna
