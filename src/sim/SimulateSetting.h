#pragma once
// The VORNA_SIMULATE setting: a comma-separated list of simulated device names (for example
// "kestrela" or "kestrel,heron,plover"). One parse serves every device family: the first Kestrel
// name picks the simulated analyzer behind the serial ports, the DPP names fill the simulated USB
// bus in the order given, and names no family knows are kept for a warning.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/dpp/SimDppModel.h"
#include "sim/kestrel/KestrelSimOptions.h"

namespace vorna {

struct SimulateSetting {
    // Lower-case names without surrounding blanks, in the order given; empty items dropped.
    std::vector<std::string> names;
    std::optional<KestrelSimModel> kestrel; // the first Kestrel name, if any
    std::vector<SimDppModel> dpps;          // every DPP name, in bus order
    std::vector<std::string> unknown;       // names neither family knows

    bool Has(std::string_view name) const;
    bool Empty() const { return names.empty(); }
};

// "kestrel", "kestrela", "kestrela-usb" (lower case).
std::optional<KestrelSimModel> KestrelSimModelFromName(std::string_view name);
// "heron", "plover", "heronemul", "osprey" (lower case).
std::optional<SimDppModel> SimDppModelFromName(std::string_view name);

SimulateSetting ParseSimulateSetting(std::string_view value);
// Reads the environment variable VORNA_SIMULATE (unset reads as empty).
SimulateSetting SimulateSettingFromEnvironment();

} // namespace vorna
