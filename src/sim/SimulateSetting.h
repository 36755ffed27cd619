#pragma once
// The VORNA_SIMULATE setting: a comma-separated list of simulated device names (for example
// "kestrela" or "kestrel,heron,plover"), each optionally followed by colon-separated fault
// options ("kestrela:unplug=20:replug=5,plover:short=7"). One parse serves every device family:
// the first Kestrel name picks the simulated analyzer behind the serial ports, the DPP names fill
// the simulated USB bus in the order given, and names no family knows and options that make no
// sense are kept for a warning.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/SimFaultPlan.h"
#include "sim/dpp/SimDppModel.h"
#include "sim/kestrel/KestrelSimOptions.h"

namespace vorna {

struct SimulateSetting {
    // Lower-case device names without options or surrounding blanks, in the order given; empty
    // items dropped.
    std::vector<std::string> names;
    std::optional<KestrelSimModel> kestrel; // the first Kestrel name, if any
    SimFaultPlan kestrelFaults;             // the options given with that name
    std::vector<SimDppModel> dpps;          // every DPP name, in bus order
    std::vector<SimFaultPlan> dppFaults;    // the options of each, in the same order
    std::vector<std::string> unknown;       // names neither family knows
    std::vector<std::string> badOptions;    // one text per option that was not taken

    bool Has(std::string_view name) const;
    bool Empty() const { return names.empty(); }
    // Every unknown name and bad option as a line for the user.
    std::vector<std::string> Problems() const;
};

// "kestrel", "kestrela", "kestrela-usb" (lower case).
std::optional<KestrelSimModel> KestrelSimModelFromName(std::string_view name);
// "heron", "plover", "heronemul", "osprey" (lower case).
std::optional<SimDppModel> SimDppModelFromName(std::string_view name);

SimulateSetting ParseSimulateSetting(std::string_view value);
// Reads the environment variable VORNA_SIMULATE (unset reads as empty). The first call writes
// the setting's problems to standard error, so a mistyped option does not go unnoticed.
SimulateSetting SimulateSettingFromEnvironment();

} // namespace vorna
