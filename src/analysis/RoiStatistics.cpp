#include "analysis/RoiStatistics.h"

#include "spectrum/CSpectrum.h"

namespace vorna {

// Placeholder until the statistics land: marks every ROI as computed without a peak.
void RecomputeAllRoiStatistics(CSpectrum& spectrum, const AnalysisSettings&) {
    for (int i = 0; i < spectrum.m_roi.GetCount(); ++i)
        spectrum.m_roi[i].status = 1;
}

} // namespace vorna
