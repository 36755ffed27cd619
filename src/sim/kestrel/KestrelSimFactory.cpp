#include "sim/kestrel/KestrelSimFactory.h"

namespace vorna {

std::optional<KestrelSimModel> KestrelSimModelFromName(std::string_view name) {
    if (name == "kestrel")
        return KestrelSimModel::Kestrel;
    if (name == "kestrela")
        return KestrelSimModel::KestrelA;
    if (name == "kestrela-usb")
        return KestrelSimModel::KestrelAUsb;
    return std::nullopt;
}

std::optional<KestrelSimModel> KestrelSimModelFrom(const SimulateSetting& setting) {
    for (const std::string& name : setting.names)
        if (auto model = KestrelSimModelFromName(name))
            return model;
    return std::nullopt;
}

std::unique_ptr<KestrelSimulator> MakeKestrelSimulator(const SimulateSetting& setting, Clock& clock,
                                                       KestrelSimOptions options) {
    const auto model = KestrelSimModelFrom(setting);
    if (!model)
        return nullptr;
    options.model = *model;
    return std::make_unique<KestrelSimulator>(clock, options);
}

} // namespace vorna
