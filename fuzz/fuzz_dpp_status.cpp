// Device packets: a 64-byte status packet and a 64-byte configuration readback.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "dpp/DppConfigImage.h"
#include "dpp/DppConfigText.h"
#include "dpp/DppStatusRecord.h"
#include "dpp/DppWirePacket.h"

using namespace vorna;

namespace {

// A decoded readback built again and decoded once more must give the same record: the device
// echoes what it was sent, and a drift here would change its settings on every connect. The
// Heron emulation is left out, it reads its gain in a different layout on purpose.
void checkStable(const DppConfigImage& image, int type) {
    DppConfigRecord first;
    DecodeImage(image, type, first);
    DppConfigRecord rebuilt = first;
    DppConfigImage again = image;
    BuildImage(rebuilt, type, false, again);
    DppConfigRecord second;
    DecodeImage(again, type, second);
    second.AutoBaseline = first.AutoBaseline; // never sent
    if (!(second == first))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DppStatusRecord record;
    record.Decode({data, size < 64 ? size : 64});
    (void)record.StatusBlockText();

    DppWirePacket wire{};
    if (size > 64)
        std::memcpy(wire.data(), data + 64, size - 64 < 64 ? size - 64 : 64);
    DppConfigImage image{};
    uint32_t preset = UnpackWirePacket(wire, image);
    // Bytes 30 and 31 never carry anything; everything else survives a round trip.
    DppWirePacket expected = wire;
    expected[30] = expected[31] = 0;
    if (PackWirePacket(image, preset) != expected)
        __builtin_trap();
    for (int type = 1; type <= 4; ++type) {
        DppConfigRecord config;
        DecodeImage(image, type, config);
        config.Preset = preset;
        (void)ConfigurationAndStatusBlock(config, record);
        if (type != 3)
            checkStable(image, type);
    }
    return 0;
}
