#pragma once
// Peak statistics of the ROIs of one spectrum.

#include "spectrum/AnalysisSettings.h"

namespace vorna {

class CSpectrum;

// "Recompute all": for each ROI in order (smoothing its channels first with the Smoothing
// method), compute its statistics over the spectrum's contents.
void RecomputeAllRoiStatistics(CSpectrum& spectrum, const AnalysisSettings& settings);

} // namespace vorna
