#include "sim/dpp/SimDppBusFactory.h"

namespace vorna {

std::unique_ptr<SimDppBus> MakeSimulatedDppBus(const SimulateSetting& setting, Clock& clock,
                                               uint64_t seed) {
    auto bus = std::make_unique<SimDppBus>(clock);
    uint32_t serial = 1001;
    for (size_t i = 0; i < setting.dpps.size(); ++i)
        bus->Plug(setting.dpps[i], serial++, seed++,
                  i < setting.dppFaults.size() ? setting.dppFaults[i] : SimFaultPlan{});
    return bus;
}

} // namespace vorna
