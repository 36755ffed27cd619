#pragma once
// The 64-byte configuration packet on the wire: the image without its two header bytes, with
// the 24-bit preset time spliced in.

#include <array>
#include <cstdint>

#include "dpp/DppConfigImage.h"

namespace vorna {

using DppWirePacket = std::array<uint8_t, 64>;

// Only the low 24 bits of the preset are sent.
DppWirePacket PackWirePacket(const DppConfigImage& image, uint32_t preset);

// Unpacks a readback into `image` and returns the preset. Image bytes 29..31 never travel and
// keep what they held.
uint32_t UnpackWirePacket(const DppWirePacket& wire, DppConfigImage& image);

} // namespace vorna
