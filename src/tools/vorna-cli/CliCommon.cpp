#include "CliCommon.h"

#include <cmath>

#include "common/Text.h"

namespace vorna::cli {

void addAnalysisOptions(CLI::App* c, AnalysisOptions& o) {
    AnalysisSettings& s = o.settings;
    c->add_option("--background-channels", s.backgroundChannels, "background_channels")
        ->capture_default_str();
    c->add_option("--good-peak-level", s.goodPeakLevel, "good_peak_level")->capture_default_str();
    c->add_option("--fwhm-method", s.fwhmCalcMethod,
                  "m_nFWHMCalcMethod: 0 Normal, 1 Smoothing, 2 Percent "
                  "(the normal width, shown as a share of the centroid), 3 Gaussian fit, "
                  "4 Variance")
        ->type_name("INT")
        ->check(CLI::Range(0, 4))
        ->capture_default_str();
    c->add_option("--fwhm-smooths", s.fwhmNoSmooths,
                  "m_nFWHMNoSmooths, with FWHM method 1: 0 three-point, 1 five-point smoothing")
        ->check(CLI::Range(0, 1))
        ->capture_default_str();
    c->add_option("--centroid-method", s.centroidCalcMethod,
                  "m_nCentroidCalcMethod: 0 Normal (first moment), 1 Median, 2 Gaussian fit")
        ->type_name("INT")
        ->check(CLI::Range(0, 2))
        ->capture_default_str();
    c->add_option("--calibrate-enable", s.calibrateEnable, "calibrate_enable (0, 1)")
        ->check(CLI::Range(0, 1))
        ->capture_default_str();
    c->add_option("--equation", s.calibEquationType, "m_nCalibEquationType (0 linear, 1 quadratic)")
        ->check(CLI::Range(0, 1))
        ->capture_default_str();
    c->add_option("--device-type", o.deviceType, "device_type (0..4)")
        ->check(CLI::Range(0, 4))
        ->capture_default_str();
    c->add_option("--library", o.library, "an element library to load");
    c->add_option("--library-sens", s.librarySens, "library_sens")->capture_default_str();
    c->add_flag("--use-profile", o.useProfile,
                "take the analysis settings from the user's profile");
}

void setRun(CLI::App* command, Runtime& rt, std::function<int()> body) {
    command->callback([&rt, body = std::move(body)] { rt.run = body; });
}

Json number(double v) {
    if (std::isnan(v))
        return "nan";
    if (std::isinf(v))
        return v > 0 ? "inf" : "-inf";
    return v;
}

Json text(const std::string& bytes) {
    return Cp1252ToUtf8(bytes);
}

Json calibrationJson(const CCalibrate& cal) {
    Json points = Json::array();
    for (const CCalibrateEntry& p : cal.Points())
        points.push_back(Json::array({number(p.channel), number(p.value)}));
    Json j;
    j["label"] = text(cal.Label());
    j["calibrated"] = cal.IsCalibrated();
    j["points"] = std::move(points);
    j["a"] = number(cal.A());
    j["b"] = number(cal.B());
    j["c"] = number(cal.C());
    return j;
}

} // namespace vorna::cli
