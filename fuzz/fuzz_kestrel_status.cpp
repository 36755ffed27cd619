// Kestrel device bytes decoded without the link: the 20-byte status record as it arrives, the
// battery level inside it, the eight clock bytes and a USB data command.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "kestrel/KestrelCommands.h"
#include "kestrel/KestrelDataBlock.h"
#include "kestrel/KestrelStatusRecord.h"

using namespace vorna;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::array<uint8_t, 20> arrival{};
    std::memcpy(arrival.data(), data, size < 20 ? size : 20);
    const StatusRecord record = ReverseRecord(arrival);
    const KestrelStatus status = DecodeStatus(record);
    if (status.Channels() < 128 || status.Channels() > 16384 || status.group > 1023)
        __builtin_trap();
    if (!std::isfinite(status.LiveSeconds()) || status.RealSeconds() < -3.5)
        __builtin_trap();
    const int battery = BatteryPercent(status.battery, status.NiCd());
    if (battery < 0 || battery > 101)
        __builtin_trap();
    // A record that passes its checksum and uses no spare group bits survives a round trip.
    if (StatusChecksumOk(record) && (record[17] & 0xFC) == 0 && EncodeStatus(status) != record)
        __builtin_trap();
    if (RecordDataSum(EncodeSumRecord(status, 0x01020304)) != 0x01020304)
        __builtin_trap();

    if (size >= 28) {
        std::array<uint8_t, 8> clock{};
        std::memcpy(clock.data(), data + 20, 8);
        if (ClockText(clock).size() != 19)
            __builtin_trap();
    }
    if (size >= 32) {
        const KestrelCommand command{data[28], data[29], data[30], data[31]};
        UsbDataRequest request;
        if (DecodeUsbDataCommand(command, request)) {
            if (request.count < 1 || request.count > 1024)
                __builtin_trap();
            if (UsbDataCommand(request.address, request.count) != command)
                __builtin_trap();
        }
    }
    return 0;
}
