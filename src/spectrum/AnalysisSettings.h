#pragma once
// The profile values that spectrum and analysis code read at every computation. The program
// copies them from its profile; batch tools fill them from their options.

#include <memory>

#include "common/ExclusiveFlag.h"

namespace vorna {

// Codes keep the numbers the profile and the command line store.
enum class FwhmMethod : int { Normal = 0, Smoothing = 1, Percent = 2, Gauss = 3, Variance = 4 };
enum class CentroidMethod : int { Normal = 0, Median = 1, Gauss = 2 };

struct AnalysisSettings {
    int backgroundChannels = 1;                                 // background_channels
    int goodPeakLevel = 100;                                    // good_peak_level
    FwhmMethod fwhmCalcMethod = FwhmMethod::Normal;             // m_nFWHMCalcMethod
    int fwhmNoSmooths = 0;                                      // m_nFWHMNoSmooths: 0 SM3, 1 SM5
    CentroidMethod centroidCalcMethod = CentroidMethod::Normal; // m_nCentroidCalcMethod
    int calibrateEnable = 1;                                    // calibrate_enable
    int calibEquationType = 1;   // m_nCalibEquationType: 0 linear, 1 quadratic
    int peakWidth = 5;           // peak_width
    double peakSearchSens = 5.0; // peak_search_sens
    double librarySens = 10.0;   // library_sens
    int smoothKind = 0;          // smooth_kind: 0 SM3, 1 SM5
    int showRoi = 1;             // show_roi
    int showAllRoi = 1;          // show_all_roi
    // Lets one Gaussian fit run at a time. Copies share it, so the program's threads do; every
    // settings object made afresh (a tool's, a test's) has its own.
    std::shared_ptr<ExclusiveFlag> gaussFitGuard = std::make_shared<ExclusiveFlag>();
};

} // namespace vorna
