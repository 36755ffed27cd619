#include "analysis/NumberFormat.h"

#include <cmath>

#include "common/NumberText.h"

namespace vorna {

std::string FormatNumber(double value) {
    double magnitude = std::fabs(value);
    if (magnitude >= 1000000.0 || value == std::floor(value) || magnitude < 0.0001)
        return Format("%1.0f", value);
    return Format("%1.2f", value);
}

std::string FormatFixed(double value, int decimals) {
    return Format("%1.*f", decimals, value);
}

} // namespace vorna
