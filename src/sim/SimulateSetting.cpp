#include "sim/SimulateSetting.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace vorna {

bool SimulateSetting::Has(std::string_view name) const {
    return std::find(names.begin(), names.end(), name) != names.end();
}

SimulateSetting ParseSimulateSetting(std::string_view value) {
    SimulateSetting setting;
    size_t pos = 0;
    while (pos <= value.size()) {
        size_t comma = value.find(',', pos);
        if (comma == std::string_view::npos)
            comma = value.size();
        std::string_view item = value.substr(pos, comma - pos);
        const size_t first = item.find_first_not_of(" \t");
        if (first != std::string_view::npos) {
            const size_t last = item.find_last_not_of(" \t");
            std::string name(item.substr(first, last - first + 1));
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            setting.names.push_back(std::move(name));
        }
        pos = comma + 1;
    }
    return setting;
}

SimulateSetting SimulateSettingFromEnvironment() {
    const char* value = std::getenv("VORNA_SIMULATE");
    return ParseSimulateSetting(value ? value : "");
}

} // namespace vorna
