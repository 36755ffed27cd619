#include "analysis/CalibrationPlot.h"

#include <algorithm>
#include <cmath>

#include "analysis/NumberFormat.h"

namespace vorna {

namespace {

std::string caption(const char* which, double value) {
    return std::string(which) + "  " + FormatNumber(value);
}

} // namespace

CalibrationPlotData MakeCalibrationPlot(const CCalibrate& calibration, int samples) {
    CalibrationPlotData d;
    for (const CCalibrateEntry& p : calibration.Points())
        d.points.push_back({p.channel, p.value});
    if (d.points.empty()) {
        d.channelMinCaption = caption("min", d.minChannel);
        d.channelMaxCaption = caption("max", d.maxChannel);
        d.valueMinCaption = caption("min", d.minValue);
        d.valueMaxCaption = caption("max", d.maxValue);
        return d;
    }
    auto [lowX, highX] =
        std::minmax_element(d.points.begin(), d.points.end(),
                            [](const auto& a, const auto& b) { return a.channel < b.channel; });
    double x0 = lowX->channel, x1 = highX->channel;
    double y0 = d.points.front().value, y1 = y0;
    for (const auto& p : d.points) {
        y0 = std::min(y0, p.value);
        y1 = std::max(y1, p.value);
    }
    if (calibration.IsCalibrated()) {
        const int n = std::max(samples, 2);
        for (int i = 0; i < n; ++i) {
            const double x = x0 + (x1 - x0) * i / (n - 1);
            const double y = calibration.ChannelToValue(x, true);
            if (!std::isfinite(y))
                continue;
            d.curve.push_back({x, y});
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        }
    }
    d.minChannel = x0;
    d.maxChannel = x1;
    d.minValue = y0;
    d.maxValue = y1;
    d.channelMinCaption = caption("min", x0);
    d.channelMaxCaption = caption("max", x1);
    d.valueMinCaption = caption("min", y0);
    d.valueMaxCaption = caption("max", y1);
    return d;
}

} // namespace vorna
