#pragma once
// Channel data transfers. The device keeps each 32-bit channel as two 16-bit halves and sends
// one half of a run of channels at a time; the record after the run carries the byte sum.

#include <cstdint>
#include <span>

#include "kestrel/KestrelCommands.h"

namespace vorna {

// Channel c's low half lives at device address 4c, its high half at 4c + 2.
uint16_t DataAddress(int channel, int half);

// RS-232: 00, address low, address high, baud divisor; the host then clocks out as many bytes
// as it wants.
KestrelCommand SerialDataCommand(uint16_t address, uint8_t divisor);
// USB: the half selector moves into the opcode, bits 8-9 of count - 1 into the address's low two
// bits; the count is clamped to 1..1024.
KestrelCommand UsbDataCommand(uint16_t address, int count);

struct UsbDataRequest {
    uint16_t address = 0;
    int count = 0;
};
// What a USB data command asks for; false when the opcode is not a USB data opcode.
bool DecodeUsbDataCommand(const KestrelCommand& command, UsbDataRequest& out);

// Stores byte pairs (first byte low) into `half` (0 low, 1 high) of consecutive elements of
// `out`, leaving the other half alone. Stops at the shorter of the two; an odd trailing byte is
// summed but not stored. Returns the 32-bit sum of all bytes.
uint32_t StoreHalves(std::span<const uint8_t> bytes, int half, std::span<uint32_t> out);

} // namespace vorna
