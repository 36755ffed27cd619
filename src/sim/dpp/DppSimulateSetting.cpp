#include "sim/dpp/DppSimulateSetting.h"

#include <algorithm>
#include <cctype>

namespace vorna {
namespace {

std::string Normalized(std::string_view item) {
    std::string name;
    for (char c : item)
        if (!std::isspace(static_cast<unsigned char>(c)))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

} // namespace

DppSimulateSetting ParseDppSimulate(std::string_view value) {
    static const std::pair<const char*, SimDppModel> kDpps[] = {
        {"heron", SimDppModel::Heron},
        {"plover", SimDppModel::Plover},
        {"heronemul", SimDppModel::HeronEmulation},
        {"osprey", SimDppModel::Osprey},
    };
    static const char* const kKestrels[] = {"kestrel", "kestrela", "kestrela-usb"};
    DppSimulateSetting setting;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = std::min(value.find(',', start), value.size());
        const std::string name = Normalized(value.substr(start, end - start));
        start = end + 1;
        if (name.empty())
            continue;
        auto dpp = std::find_if(std::begin(kDpps), std::end(kDpps),
                                [&](const auto& entry) { return name == entry.first; });
        if (dpp != std::end(kDpps))
            setting.devices.push_back(dpp->second);
        else if (std::find(std::begin(kKestrels), std::end(kKestrels), name) == std::end(kKestrels))
            setting.unknown.push_back(name);
    }
    return setting;
}

std::unique_ptr<SimDppBus> MakeSimulatedDppBus(const DppSimulateSetting& setting, Clock& clock,
                                               uint64_t seed) {
    auto bus = std::make_unique<SimDppBus>(clock);
    uint32_t serial = 1001;
    for (SimDppModel model : setting.devices)
        bus->Plug(model, serial++, seed++);
    return bus;
}

} // namespace vorna
