#pragma once
// What the Calibration Plot window draws: the calibration points, the fitted curve over their
// channel span and the axis bounds with their "min" and "max" captions.

#include <string>
#include <vector>

#include "spectrum/CCalibrate.h"

namespace vorna {

struct CalibrationPlotPoint {
    double channel;
    double value;
};

struct CalibrationPlotData {
    std::vector<CalibrationPlotPoint> points;
    std::vector<CalibrationPlotPoint> curve; // empty when not calibrated
    // The data's bounds (points and curve); the window adds its own margins.
    double minChannel = 0.0, maxChannel = 0.0;
    double minValue = 0.0, maxValue = 0.0;
    // "min  %s" / "max  %s" of each axis, the bounds in the automatic number format.
    std::string channelMinCaption, channelMaxCaption;
    std::string valueMinCaption, valueMaxCaption;
};

// `samples` curve points (at least 2) span the points' channels.
CalibrationPlotData MakeCalibrationPlot(const CCalibrate& calibration, int samples = 200);

} // namespace vorna
