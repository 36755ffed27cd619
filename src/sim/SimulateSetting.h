#pragma once
// The VORNA_SIMULATE setting: a comma-separated list of simulated device names (for example
// "kestrela" or "kestrel,heron"). Each device family picks the names it knows and ignores the rest.

#include <string>
#include <string_view>
#include <vector>

namespace vorna {

struct SimulateSetting {
    // Lower-case names without surrounding blanks, in the order given; empty items dropped.
    std::vector<std::string> names;

    bool Has(std::string_view name) const;
    bool Empty() const { return names.empty(); }
};

SimulateSetting ParseSimulateSetting(std::string_view value);
// Reads the environment variable VORNA_SIMULATE (unset reads as empty).
SimulateSetting SimulateSettingFromEnvironment();

} // namespace vorna
