#include "analysis/Reports.h"

#include <mutex>
#include <new>

#include "analysis/ElementLibrary.h"
#include "analysis/NumberFormat.h"
#include "analysis/RoiStatistics.h"
#include "common/NumberText.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

constexpr int kReportFwhmDecimals = 3;
constexpr int kListFwhmDecimals = 4;

std::string joinCells(const std::vector<std::string>& cells, bool trailingTab) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        line += cells[i];
        if (trailingTab || i + 1 < cells.size())
            line += '\t';
    }
    line += '\n';
    return line;
}

std::vector<std::string> roiCells(const CRoiEntry& roi, const CCalibrate& cal, bool use,
                                  int fwhmDecimals) {
    return {FormatNumber(cal.ChannelToValue(roi.start, use)),
            FormatNumber(cal.ChannelToValue(roi.end, use)),
            RoiFwhmText(roi, cal, use, fwhmDecimals),
            FormatFixed(roi.netArea, 0),
            FormatNumber(roi.grossArea),
            FormatNumber(cal.ChannelToValue(roi.centroid, use)),
            FormatNumber(roi.uncertainty),
            RoiStatusText(roi.status)};
}

} // namespace

std::string FwhmHeading(const AnalysisSettings& s) {
    switch (s.fwhmCalcMethod) {
    case FwhmMethod::Smoothing:
        return s.fwhmNoSmooths == 1 ? "FWHM (SM5)" : "FWHM (SM3)";
    case FwhmMethod::Percent:
        return "FWHM (%)";
    case FwhmMethod::Gauss:
        return "FWHM (G)";
    case FwhmMethod::Variance:
        return "FWHM (V)";
    default:
        return "FWHM (N)";
    }
}

std::string CentroidHeading(const AnalysisSettings& s) {
    switch (s.centroidCalcMethod) {
    case CentroidMethod::Median:
        return "Centroid (M)";
    case CentroidMethod::Gauss:
        return "Centroid (G)";
    default:
        return "Centroid (N)";
    }
}

bool ReportShowsElement(const AnalysisSettings& settings, const ElementLibrary* library) {
    return library && library->IsLoaded() && settings.calibrateEnable;
}

std::vector<std::string> ReportHeadings(const AnalysisSettings& s, bool withElement) {
    std::vector<std::string> h = {"Start",       "End",        FwhmHeading(s),
                                  "Net Area",    "Gross Area", CentroidHeading(s),
                                  "Uncertainty", "Status"};
    if (withElement)
        h.push_back("Element");
    return h;
}

std::vector<std::string> ReportHeaderTips(const AnalysisSettings& s, bool withElement) {
    std::vector<std::string> t = {"Region Start Position",
                                  "Region End Position",
                                  "Full Width Half Maximum",
                                  "Net Area under Peak",
                                  "Gross Area under Peak",
                                  s.centroidCalcMethod != CentroidMethod::Normal ? "Peak Mean"
                                                                                 : "Peak Centroid",
                                  "Uncertainity",
                                  "Status"};
    if (withElement)
        t.push_back("Element and Line");
    return t;
}

std::string RoiFwhmText(const CRoiEntry& roi, const CCalibrate& cal, bool use, int decimals) {
    double width =
        cal.ChannelToValue(roi.rightPosition, use) - cal.ChannelToValue(roi.leftPosition, use);
    if (!(width > 0))
        width = 0.0;
    return FormatFixed(width, decimals);
}

std::vector<std::string> RoiReportCells(const CRoiEntry& roi, const CCalibrate& cal,
                                        const AnalysisSettings& settings,
                                        const ElementLibrary* library) {
    const bool use = settings.calibrateEnable != 0;
    std::vector<std::string> cells = roiCells(roi, cal, use, kReportFwhmDecimals);
    if (ReportShowsElement(settings, library))
        cells.push_back(ElementMatchText(*library, use, cal.ChannelToValue(roi.centroid, use),
                                         cal.WidthToValue(roi.fwhm, use), settings.librarySens));
    return cells;
}

const std::vector<std::string>& RoiListHeadings() {
    static const std::vector<std::string> kHeader = {
        "Start", "End", "FWHM", "Net Area", "Gross Area", "Centroid", "Uncertainty", "Status"};
    return kHeader;
}

std::vector<std::string> RoiListCells(const CRoiEntry& roi, const CCalibrate& cal,
                                      const AnalysisSettings& settings) {
    return roiCells(roi, cal, settings.calibrateEnable != 0, kListFwhmDecimals);
}

std::string RoiListText(const CRoi& rois, const CCalibrate& cal, const AnalysisSettings& settings) {
    std::string text = joinCells(RoiListHeadings(), true);
    for (const CRoiEntry& roi : rois.Entries())
        text += joinCells(RoiListCells(roi, cal, settings), true);
    return text;
}

std::string SpectrumDataText(CSpectrum& spectrum, const AnalysisSettings& settings,
                             const ElementLibrary* library) {
    auto locked = spectrum.Lock();
    std::string text;
    AppendFormat(text, "Filename:  %s\n", spectrum.m_strFileName.c_str());
    AppendFormat(text, "Description:  %s\n", spectrum.m_strDescription.c_str());
    AppendFormat(text, "TimeStamp:  %s\n", spectrum.m_szStartTime.c_str());

    const CCalibrate& cal = spectrum.m_calibrate;
    if (cal.IsCalibrated()) {
        text += "\nCalibration Information\n";
        AppendFormat(text, "Label:  %s\n", cal.Label().c_str());
        text += "Channel\tValue\n";
        for (const CCalibrateEntry& p : cal.Points())
            AppendFormat(text, "%g\t%g\n", p.channel, p.value);
        text += "A\tB\tC\n";
        AppendFormat(text, "%g\t%g\t%g\n", cal.A(), cal.B(), cal.C());
    }

    if (!spectrum.m_roi.IsEmpty()) {
        RecomputeAllRoiStatistics(spectrum, settings);
        const bool element = ReportShowsElement(settings, library);
        text += "\nROI Information\n";
        text += joinCells(ReportHeadings(settings, element), false);
        for (const CRoiEntry& roi : spectrum.m_roi.Entries())
            text += joinCells(RoiReportCells(roi, cal, settings, library), false);
    }

    text += "\nSpectral Data Information\nChannel\tData\n";
    for (size_t i = 0; i < spectrum.m_pData.size(); ++i)
        AppendFormat(text, "%d\t%g\n", static_cast<int>(i), spectrum.m_pData[i]);
    return text;
}

int PutTextOnClipboard(TextClipboard& clipboard, const std::string& text) {
    if (!clipboard.Open())
        return kClipboardNotOpened;
    int result = kClipboardDone;
    if (!clipboard.Empty())
        result = kClipboardNotEmptied;
    else if (!clipboard.SetText(text))
        result = kClipboardNotSet;
    clipboard.Close();
    return result;
}

int CopySpectrumData(CSpectrum& spectrum, const AnalysisSettings& settings,
                     const ElementLibrary* library, TextClipboard& clipboard) {
    std::string text;
    try {
        text = SpectrumDataText(spectrum, settings, library);
    } catch (const std::bad_alloc&) {
        return kClipboardNothing;
    }
    return PutTextOnClipboard(clipboard, text);
}

const char* SpectrumDataCopyStatus(int result) {
    return result == kClipboardDone ? "Copying of Spectrum information to clipboard was successful."
                                    : "Copying of Spectrum information to clipboard failed.";
}

int CopyRoiList(const CRoi& rois, const CCalibrate& calibration, const AnalysisSettings& settings,
                TextClipboard& clipboard) {
    if (rois.IsEmpty())
        return kClipboardNothing;
    std::string text;
    try {
        text = RoiListText(rois, calibration, settings);
    } catch (const std::bad_alloc&) {
        return kClipboardNothing;
    }
    return PutTextOnClipboard(clipboard, text);
}

const char* RoiListCopyMessage(int result) {
    switch (result) {
    case kClipboardNotOpened:
        return "Unable to open clipboard!";
    case kClipboardNotEmptied:
        return "Unable to empty clipboard!";
    case kClipboardNotSet:
        return "Unable to move data to clipboard!";
    default:
        return "";
    }
}

} // namespace vorna
