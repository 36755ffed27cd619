#include "analysis/AutoCalibration.h"

#include <cmath>
#include <mutex>

#include "common/NumberText.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

constexpr const char* kInvalidChannel = "Invalid calibration channel!";
constexpr const char* kInvalidValue = "Invalid calibration value!";
constexpr const char* kWrongRoiCount = "Cannot AutoCal - Wrong Number of Valid ROIs";

// The value fields are free text; like the C library's atof, text without a number is 0.
double fieldValue(const std::string& text) {
    return ScanDouble(text).value_or(0.0);
}

bool validValue(double v) {
    return std::isfinite(v) && v >= -1e100 && v <= 1e100;
}

// Two decimals, by printing and reading back the text.
double roundToHundredths(double channel) {
    return ScanDouble(Format("%.2f", channel)).value_or(0.0);
}

std::string trimmed(const std::string& s) {
    const char* blanks = " \t\r\n";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    size_t last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

} // namespace

AutoCalResult AutoCalibrate(CSpectrum& spectrum, const AutoCalSettings& settings,
                            int cursorChannel) {
    auto locked = spectrum.Lock();
    const int n = spectrum.m_nChannels;
    const CRoi& rois = spectrum.m_roi;
    double channel1 = 0.0, channel2 = 0.0;
    double value1 = 0.0, value2 = fieldValue(settings.value);

    switch (static_cast<AutoCalMethod>(settings.method)) {
    case AutoCalMethod::Centroid: {
        int selected = rois.GetSelected();
        if (selected < 0 || selected >= rois.GetCount())
            return {};
        channel2 = rois[selected].centroid;
        break;
    }
    case AutoCalMethod::Cursor:
        if (cursorChannel < 0 || cursorChannel > n - 1)
            return {false, kInvalidChannel};
        channel2 = cursorChannel;
        break;
    case AutoCalMethod::TwoPeakCentroid:
        if (rois.GetCount() != 2)
            return {false, kWrongRoiCount};
        channel1 = rois[0].centroid;
        channel2 = rois[1].centroid;
        value1 = fieldValue(settings.value);
        value2 = fieldValue(settings.value2);
        // The first value always goes with the lower channel.
        if (channel2 < channel1)
            std::swap(channel1, channel2);
        break;
    default:
        return {};
    }

    if (channel1 < 0 || channel1 > n - 1 || channel2 < 0 || channel2 > n - 1)
        return {false, kInvalidChannel};
    if (settings.method != static_cast<int>(AutoCalMethod::TwoPeakCentroid) && value2 == 0.0)
        value2 = 5.89;
    if (!validValue(value1) || !validValue(value2))
        return {false, kInvalidValue};

    CCalibrate calibration;
    calibration.AddPoint(roundToHundredths(channel1), value1);
    calibration.AddPoint(roundToHundredths(channel2), value2);
    std::string label = trimmed(settings.units);
    calibration.SetLabel(label.empty() ? "keV" : label);
    // Two points on one channel cannot be fitted; keep the old calibration and say why.
    std::string failure;
    if (!calibration.Fit(static_cast<int>(CalibEquation::Linear), &failure))
        return {false, failure};
    spectrum.m_calibrate = calibration;
    return {true, {}};
}

AutoCalResult AutoCalibrate(CSpectrum& spectrum, const AutoCalSettings& settings,
                            const SpectrumEnvironment& env) {
    int cursor = 0;
    if (env.display)
        cursor = spectrum.FromAbsoluteChannel(env.display->CursorChannelAbsolute());
    AutoCalResult result = AutoCalibrate(spectrum, settings, cursor);
    if (result.changed && env.display) {
        env.display->SpectrumActivated(spectrum);
        env.display->RefreshInfoPane();
        env.display->RedrawPlot();
    }
    return result;
}

} // namespace vorna
