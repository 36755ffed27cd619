#pragma once
// The simulated USB bus that the DPP names of VORNA_SIMULATE describe.

#include <cstdint>
#include <memory>

#include "common/Clock.h"
#include "sim/SimulateSetting.h"
#include "sim/dpp/SimDppBus.h"

namespace vorna {

// A bus with the setting's DPPs in order, serial numbers 1001, 1002, ..., seeded from `seed` on,
// each with the fault options given with its name.
// An empty bus when the setting names no DPP.
std::unique_ptr<SimDppBus> MakeSimulatedDppBus(const SimulateSetting& setting, Clock& clock,
                                               uint64_t seed = 55);

} // namespace vorna
