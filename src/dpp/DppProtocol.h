#pragma once
// The request layer of the DPP link: vendor request codes, the configuration write with its
// readback check, status and scope transfers, and the spectrum bytes decoded into counts.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "dpp/DppConfigImage.h"

namespace vorna {

class DppUsbLink;
struct DppDevice;
class DppStatusRecord;

// Vendor request codes; the numbers are the device's.
enum class DppRequest : uint8_t {
    WriteDescriptorPair = 127,
    ClearSpectrum = 128,
    EnableAcquisition = 130,
    DisableAcquisition = 131,
    ArmScopeTrigger = 132,
    TuneInputOffset = 134,
    TuneFastThreshold = 135,
    WriteBootFlags = 146,
    SetSpectrumOffset = 151,
    RequestScopeData = 152,
};

void SendRequest(DppUsbLink& link, DppRequest request, uint16_t value = 0);

// Writes the configuration and compares the first four bytes of the readback with what went
// out; on a mismatch writes once more and answers the second comparison.
bool SendConfiguration(DppUsbLink& link, const DppConfigImage& image, uint32_t preset);

// Reads the configuration the device holds into `image`; returns the preset. `complete` tells
// whether all 64 bytes arrived (a short readback leaves `image` untouched and returns 0).
uint32_t ReadConfiguration(DppUsbLink& link, DppConfigImage& image, bool* complete = nullptr);

// Reads the status and decodes it into the device image; false (nothing decoded) on a short read.
bool ReadStatusInto(DppUsbLink& link, DppDevice& device);

// The text goes out two characters per request, blank-padded to 64 characters.
void WriteDescriptorText(DppUsbLink& link, const std::string& text);

using DppScopeTrace = std::array<uint8_t, 512>;
// One oscilloscope trace when the device has one ready; true only when all 512 bytes arrived.
bool ReadScopeTrace(DppUsbLink& link, const DppStatusRecord& status, DppScopeTrace& trace);

// Counts of `channels` channels from 3 little-endian bytes each; returns their sum. Reads only
// whole channels that lie inside `raw` and inside `counts`.
uint64_t DecodeSpectrum(std::span<const uint8_t> raw, int channels, std::span<uint32_t> counts);

} // namespace vorna
