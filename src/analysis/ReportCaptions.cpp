#include "analysis/ReportCaptions.h"

#include <utility>

#include "analysis/ElementLibrary.h"
#include "analysis/Reports.h"
#include "analysis/RoiStatistics.h"
#include "common/NumberText.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

ReportCaptions MakeReportCaptions(const std::string& title, const CSpectrum& spectrum,
                                  const ElementLibrary* library) {
    ReportCaptions captions;
    captions.title = title;
    {
        auto s = spectrum.Lock();
        captions.spectrumLine =
            Format("%s  %s", s->m_strFileName.c_str(), s->m_szStartTime.c_str());
    }
    if (library && library->IsLoaded())
        captions.libraryLine = library->DisplayName();
    return captions;
}

RoiReport MakeRoiReport(ReportCaptions captions, const CRoi& rois, const CCalibrate& calibration,
                        const AnalysisSettings& settings, const ElementLibrary* library) {
    RoiReport report;
    report.captions = std::move(captions);
    const bool element = ReportShowsElement(settings, library);
    // The library is named only where its matches are shown: with plain channels there are none.
    if (!element)
        report.captions.libraryLine.clear();
    report.headings = ReportHeadings(settings, element);
    report.tips = ReportHeaderTips(settings, element);
    for (const CRoiEntry& roi : rois.Entries())
        report.rows.push_back(
            RoiReportCells(roi, calibration, settings, element ? library : nullptr));
    return report;
}

RoiReport SpectrumRoiReport(const std::string& title, CSpectrum& spectrum,
                            const AnalysisSettings& settings, const ElementLibrary* library) {
    RecomputeAllRoiStatistics(spectrum, settings);
    ReportCaptions captions = MakeReportCaptions(title, spectrum, library);
    auto s = spectrum.Lock();
    return MakeRoiReport(std::move(captions), s->m_roi, s->m_calibrate, settings, library);
}

} // namespace vorna
