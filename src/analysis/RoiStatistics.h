#pragma once
// Peak statistics of the ROIs of one spectrum.

#include <vector>

#include "spectrum/CRoi.h"
#include "spectrum/AnalysisSettings.h"

namespace vorna {

class CSpectrum;

// Statistics of one ROI over the channel contents y[0..n-1] (no smoothing). With a Gaussian
// method a ROI starting at or below channel 0 is moved to start at channel 1. A ROI that does
// not lie inside the data gets status 1 and zero results.
void ComputeRoiStatistics(CRoiEntry& roi, const double* y, int n, const AnalysisSettings& settings);

// "Recompute all" over any ROI list: for each ROI in order, smooth its channels of `data` in
// place first when the FWHM method is Smoothing (every call smooths again), then compute.
void RecomputeRoiList(CRoi& rois, std::vector<double>& data, const AnalysisSettings& settings);

// "Recompute all" for the spectrum's own ROI list, under the spectrum's lock. This is the
// callable a list's owner puts into SpectrumEnvironment::recomputeRoiStatistics.
void RecomputeAllRoiStatistics(CSpectrum& spectrum, const AnalysisSettings& settings);

} // namespace vorna
