#pragma once
// A Kestrel link wired to a simulated analyzer on a virtual clock.

#include <ctime>
#include <vector>

#include "common/Clock.h"
#include "kestrel/KestrelLink.h"
#include "sim/kestrel/KestrelSimulator.h"

namespace vorna::test {

inline std::tm FixedLocalTime() {
    std::tm t{};
    t.tm_year = 113, t.tm_mon = 3, t.tm_mday = 16, t.tm_hour = 12, t.tm_min = 23, t.tm_sec = 29;
    return t;
}

inline KestrelSimOptions Model(KestrelSimModel model) {
    KestrelSimOptions o;
    o.model = model;
    return o;
}

struct SimulatedKestrel {
    explicit SimulatedKestrel(KestrelSimOptions options = {})
        : sim(clock, options), link(sim, clock, FixedLocalTime) {}

    // What the controller does: connect, and on failure look for the USB interface and retry.
    int ConnectLikeController(int port = 1, int baud = 115200,
                              KestrelDeviceType expected = KestrelDeviceType::Unknown) {
        int r = link.Connect(port, baud, expected);
        if (r == 0)
            return 0;
        if (int d = link.DetectUsb(port))
            return d;
        return link.Connect(port, baud, expected);
    }

    KestrelStatus Status() {
        StatusRecord record{};
        lastResult = link.GetStatus(record);
        return DecodeStatus(record);
    }

    int64_t ElapsedMicros(int64_t since) const { return clock.NowMicros() - since; }

    VirtualClock clock{1000000};
    KestrelSimulator sim;
    KestrelLink link;
    int lastResult = 0;
};

// Counts with every byte of both halves busy, so a misplaced byte cannot go unnoticed.
inline std::vector<uint32_t> BusyPattern(int channels) {
    std::vector<uint32_t> counts(channels);
    for (int c = 0; c < channels; ++c)
        counts[c] = 0x9E3779B9u * static_cast<uint32_t>(c + 1);
    return counts;
}

} // namespace vorna::test
