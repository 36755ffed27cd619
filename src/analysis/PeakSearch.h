#pragma once
// Peak search: a zero-area square-wave filter over the background-corrected channels; local
// maxima of its output that stand out of their noise become ROIs bounded by the neighbouring
// minima, and only those whose statistics show a peak are kept.

#include <string>
#include <vector>

#include "spectrum/CRoi.h"
#include "spectrum/AnalysisSettings.h"

namespace vorna {

class CSpectrum;

struct PeakSearchParams {
    int first = 0;              // a: first channel of the range
    int last = 0;               // b: last channel of the range
    int backgroundChannels = 1; // c (at least 1)
    int width = 5;              // expected FWHM in channels
    double sensitivity = 5.0;   // s
};

// The filter's shape for a width: centre w channels with weight r, lobes of h channels.
struct PeakFilterShape {
    int w, h;
    double r;
    int positions; // K for a range of `length` channels
};
PeakFilterShape PeakFilterFor(int width, int length);

// The candidate ROIs of the filter scan, before any statistics (output emptied first).
void FindPeakCandidates(const double* y, int n, const PeakSearchParams& params, CRoi& out);

// The whole search: candidates, their statistics over `data` (with the Smoothing FWHM method
// this smooths those ranges of `data`), then the BAD ones removed from the last to the first.
void SearchPeaks(std::vector<double>& data, const PeakSearchParams& params,
                 const AnalysisSettings& settings, CRoi& out);

// Search All / Search Range of the Peak Search dialog on a spectrum.
struct PeakSearchOutcome {
    CRoi peaks;
    std::string message; // "Invalid range!" or "No valid peaks are found!"; empty with results
};
PeakSearchOutcome SearchAllPeaks(CSpectrum& spectrum, const AnalysisSettings& settings);
// `startValue` and `endValue` are in displayed (calibrated) units.
PeakSearchOutcome SearchPeakRange(CSpectrum& spectrum, const AnalysisSettings& settings,
                                  double startValue, double endValue);
// The same on a channel range.
PeakSearchOutcome SearchPeakChannels(CSpectrum& spectrum, const AnalysisSettings& settings,
                                     int first, int last);

} // namespace vorna
