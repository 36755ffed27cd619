// Companion calibration texts: a parsed request holds exactly the points it announced, all of
// them finite, and never more points than the text has entries.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "external/FpText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto request = vorna::ParseCalibrationRequest(text);
    if (!request)
        return 0;
    const size_t expected = request->count > 0 ? static_cast<size_t>(request->count) : 0;
    if (request->points.size() != expected || request->points.size() > size)
        std::abort();
    for (const auto& p : request->points)
        if (!std::isfinite(p.channel) || !std::isfinite(p.energy))
            std::abort();
    return 0;
}
