#include "sim/dpp/SimDppBusFactory.h"

namespace vorna {

std::unique_ptr<SimDppBus> MakeSimulatedDppBus(const SimulateSetting& setting, Clock& clock,
                                               uint64_t seed) {
    auto bus = std::make_unique<SimDppBus>(clock);
    uint32_t serial = 1001;
    for (SimDppModel model : setting.dpps)
        bus->Plug(model, serial++, seed++);
    return bus;
}

} // namespace vorna
