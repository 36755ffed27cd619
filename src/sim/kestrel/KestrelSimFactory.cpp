#include "sim/kestrel/KestrelSimFactory.h"

namespace vorna {

std::optional<KestrelSimModel> KestrelSimModelFrom(const SimulateSetting& setting) {
    return setting.kestrel;
}

std::unique_ptr<KestrelSimulator> MakeKestrelSimulator(const SimulateSetting& setting, Clock& clock,
                                                       KestrelSimOptions options) {
    const auto model = KestrelSimModelFrom(setting);
    if (!model)
        return nullptr;
    options.model = *model;
    options.faults = setting.kestrelFaults;
    return std::make_unique<KestrelSimulator>(clock, options);
}

} // namespace vorna
