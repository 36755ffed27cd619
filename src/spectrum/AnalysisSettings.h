#pragma once
// The profile values that spectrum and analysis code read at every computation. The program
// copies them from its profile; batch tools fill them from their options.

#include <memory>

#include "common/ExclusiveFlag.h"

namespace vorna {

struct AnalysisSettings {
    int backgroundChannels = 1;  // background_channels
    int goodPeakLevel = 100;     // good_peak_level
    int fwhmCalcMethod = 0;      // m_nFWHMCalcMethod: 0 N, 1 SM, 2 %, 3 G, 4 V
    int fwhmNoSmooths = 0;       // m_nFWHMNoSmooths: 0 SM3, 1 SM5
    int centroidCalcMethod = 0;  // m_nCentroidCalcMethod: 0 N, 1 M, 2 G
    int calibrateEnable = 1;     // calibrate_enable
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
