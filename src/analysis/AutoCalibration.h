#pragma once
// Auto Calibration: a two-point linear calibration from the selected ROI, the cursor or the
// first two ROIs, in one keystroke.

#include <string>

#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

class CSpectrum;

enum class AutoCalMethod : int { Centroid = 0, Cursor = 1, TwoPeakCentroid = 2 };

// The profile's Auto Calibration fields (texts as the dialog stores them).
struct AutoCalSettings {
    int method = 0;              // AutoCalMethod
    std::string units = "keV";   // AutoCalUnits
    std::string value = "5.89";  // AutoCalValue
    std::string value2 = "6.49"; // AutoCalValue2
};

struct AutoCalResult {
    bool changed = false; // the spectrum has the new calibration
    std::string message;  // the text to show when something was refused; empty otherwise
};

// Calibrates `spectrum` (the active one). `cursorChannel` is the plot cursor in the
// spectrum's own channels. Input errors leave the calibration unchanged.
AutoCalResult AutoCalibrate(CSpectrum& spectrum, const AutoCalSettings& settings,
                            int cursorChannel);

// As above, then refreshes the navigation fields, info pane and plot when it changed.
AutoCalResult AutoCalibrate(CSpectrum& spectrum, const AutoCalSettings& settings,
                            const SpectrumEnvironment& env);

} // namespace vorna
