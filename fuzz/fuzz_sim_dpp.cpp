// The simulated DPP taking any configuration packet and request: what it answers must stay
// within the sizes the device promises.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/Clock.h"
#include "sim/dpp/SimDpp.h"

using namespace vorna;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VirtualClock clock;
    SimDpp sim(size > 0 && data[0] < 128 ? SimDppModel::Plover : SimDppModel::Osprey, 1, clock, 1);
    sim.source.ratePerSecond = 20000;
    // Each step: 64 configuration bytes, a request, its value, and a pause.
    for (size_t at = 1; at + 68 <= size; at += 68) {
        sim.Write(0, std::span<const uint8_t>(data + at, 64));
        const uint8_t request = data[at + 64];
        const uint16_t value = static_cast<uint16_t>(data[at + 65] | data[at + 66] << 8);
        sim.VendorRequest(request, value, static_cast<uint16_t>(data[at + 65] & 63));
        clock.SleepMillis(data[at + 67] * 40);
        std::vector<uint8_t> out;
        for (int pipe = 1; pipe <= 6; ++pipe) {
            const size_t room = pipe == 2 ? SimDpp::kMaxChannels * 3 + 1 : 513;
            if (sim.Read(pipe, room, out) && out.size() > room)
                __builtin_trap();
        }
        if (sim.Read(2, 100000, out) &&
            out.size() != static_cast<size_t>(sim.config().channels) * 3)
            __builtin_trap();
    }
    return 0;
}
