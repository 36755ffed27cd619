#pragma once
// The 64-byte binary image of a configuration record, as the DPP takes it, and back.

#include <array>
#include <cstddef>
#include <cstdint>

#include "dpp/DppConfigRecord.h"

namespace vorna {

using DppConfigImage = std::array<uint8_t, 64>;

// Builds the image on top of `image` (bytes the layout of the device type leaves alone keep
// their value; start from a zeroed image). Building corrects a Rise below 1 to 1 and clears
// AutoBaseline in the record, as the device never takes automatic baseline from the image.
void BuildImage(DppConfigRecord& record, int deviceType, bool directHighVoltage,
                DppConfigImage& image);
// The same on a zeroed image.
DppConfigImage BuildImage(DppConfigRecord& record, int deviceType, bool directHighVoltage);

// Fills the record from an image; the preset travels beside the image and is not touched.
void DecodeImage(const DppConfigImage& image, int deviceType, DppConfigRecord& record);

// The gain code as the Plover-layout image carries it: f for an Osprey comes from its table.
int OspreyGainEncoding(int code);
int OspreyGainCodeFromEncoding(int f);

} // namespace vorna
