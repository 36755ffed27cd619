#pragma once
// The DPP entries of the VORNA_SIMULATE value, and the simulated bus they describe.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/dpp/SimDppBus.h"

namespace vorna {

struct DppSimulateSetting {
    std::vector<SimDppModel> devices; // in bus order
    std::vector<std::string> unknown; // names neither side knows
};

// Comma-separated names, case and surrounding blanks ignored: "heron", "plover", "heronemul"
// and "osprey" put DPPs on the bus; Kestrel names are the Kestrel side's and are skipped.
DppSimulateSetting ParseDppSimulate(std::string_view value);

// A bus with the listed devices, serial numbers 1001, 1002, ... in order, seeded from `seed`.
std::unique_ptr<SimDppBus> MakeSimulatedDppBus(const DppSimulateSetting& setting, Clock& clock,
                                               uint64_t seed = 55);

} // namespace vorna
