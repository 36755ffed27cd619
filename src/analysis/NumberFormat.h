#pragma once
// Number text of the ROI views, reports and dialogs. Always locale-free.

#include <string>

namespace vorna {

// The automatic format: "%1.0f" for whole values, magnitudes of a million or more and
// magnitudes below 0.0001; "%1.2f" otherwise.
std::string FormatNumber(double value);

// "%1.<decimals>f".
std::string FormatFixed(double value, int decimals);

} // namespace vorna
