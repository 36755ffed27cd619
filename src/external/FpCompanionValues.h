#pragma once
// What the companion analysis program told VORNA about itself.

#include <cstdint>
#include <string>

namespace vorna {

struct FpCompanionValues {
    std::string version; // shown as the "FP DLL Version" in the About box once told
    uint32_t methods = 0;
    std::string methodsText;
    uint16_t option = 0;
};

} // namespace vorna
