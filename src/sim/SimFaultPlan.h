#pragma once
// Faults a simulated device shows by itself as its clock runs, so that a person can pull the
// cable from the command line and a test can do the same on the virtual clock. Times count from
// the first connect of the host (the first connect packet of a Kestrel, the first open of a DPP).

#include <cstdint>
#include <optional>

namespace vorna {

struct SimFaultPlan {
    std::optional<int64_t> unplugMicros; // the cable or device goes away this long after connect
    std::optional<int64_t> replugMicros; // ... and comes back this long after going away, once
    std::optional<int64_t> silentMicros; // the device stops answering for good
    int checksumEvery = 0;               // every Nth record or transfer is spoilt; 0 never
    int shortEvery = 0;                  // DPP: every Nth bulk read is one byte short; 0 never

    bool Empty() const {
        return !unplugMicros && !replugMicros && !silentMicros && checksumEvery == 0 &&
               shortEvery == 0;
    }
    bool operator==(const SimFaultPlan&) const = default;
};

// "Every Nth" as a running count: true on the Nth, 2Nth, ... call; never when `every` is 0.
class EveryNth {
public:
    bool Next(int every) {
        if (every <= 0)
            return false;
        if (++m_seen < every)
            return false;
        m_seen = 0;
        return true;
    }

private:
    int m_seen = 0;
};

} // namespace vorna
