#include "sim/SimulateSetting.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace vorna {
namespace {

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string Normalized(std::string_view item) {
    while (!item.empty() && IsBlank(item.front()))
        item.remove_prefix(1);
    while (!item.empty() && IsBlank(item.back()))
        item.remove_suffix(1);
    std::string name(item);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

void Classify(SimulateSetting& setting, const std::string& name) {
    if (auto model = KestrelSimModelFromName(name)) {
        if (!setting.kestrel)
            setting.kestrel = model;
    } else if (auto dpp = SimDppModelFromName(name)) {
        setting.dpps.push_back(*dpp);
    } else {
        setting.unknown.push_back(name);
    }
}

} // namespace

bool SimulateSetting::Has(std::string_view name) const {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::optional<KestrelSimModel> KestrelSimModelFromName(std::string_view name) {
    if (name == "kestrel")
        return KestrelSimModel::Kestrel;
    if (name == "kestrela")
        return KestrelSimModel::KestrelA;
    if (name == "kestrela-usb")
        return KestrelSimModel::KestrelAUsb;
    return std::nullopt;
}

std::optional<SimDppModel> SimDppModelFromName(std::string_view name) {
    if (name == "heron")
        return SimDppModel::Heron;
    if (name == "plover")
        return SimDppModel::Plover;
    if (name == "heronemul")
        return SimDppModel::HeronEmulation;
    if (name == "osprey")
        return SimDppModel::Osprey;
    return std::nullopt;
}

SimulateSetting ParseSimulateSetting(std::string_view value) {
    SimulateSetting setting;
    size_t pos = 0;
    while (pos <= value.size()) {
        const size_t comma = std::min(value.find(',', pos), value.size());
        std::string name = Normalized(value.substr(pos, comma - pos));
        pos = comma + 1;
        if (name.empty())
            continue;
        Classify(setting, name);
        setting.names.push_back(std::move(name));
    }
    return setting;
}

SimulateSetting SimulateSettingFromEnvironment() {
    const char* value = std::getenv("VORNA_SIMULATE");
    return ParseSimulateSetting(value ? value : "");
}

} // namespace vorna
