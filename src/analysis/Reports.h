#pragma once
// The text forms of the analysis results: the ROI list view's text, the report window's
// headings and cells, and the spectrum data text copied by "Copy Spectrum Data".

#include <string>
#include <vector>

#include "spectrum/AnalysisSettings.h"
#include "spectrum/CCalibrate.h"
#include "spectrum/CRoi.h"

namespace vorna {

class CSpectrum;
class ElementLibrary;

// Column headings that name the method in force: "FWHM (N)" … and "Centroid (N)" ….
std::string FwhmHeading(const AnalysisSettings& settings);
std::string CentroidHeading(const AnalysisSettings& settings);

// The Element column is shown only with a loaded library and calibrated units.
bool ReportShowsElement(const AnalysisSettings& settings, const ElementLibrary* library);

// The report window's column headings and header tips, Element last when shown.
std::vector<std::string> ReportHeadings(const AnalysisSettings& settings, bool withElement);
std::vector<std::string> ReportHeaderTips(const AnalysisSettings& settings, bool withElement);

// The FWHM cell: energy of the right minus energy of the left half-maximum position, 0 when
// not positive, with `decimals` decimals.
std::string RoiFwhmText(const CRoiEntry& roi, const CCalibrate& calibration, bool calibrateEnable,
                        int decimals);

// One report row: Start, End, FWHM (3 decimals), Net Area, Gross Area, Centroid, Uncertainty,
// Status, and Element when `library` is given and the column is shown.
std::vector<std::string> RoiReportCells(const CRoiEntry& roi, const CCalibrate& calibration,
                                        const AnalysisSettings& settings,
                                        const ElementLibrary* library);

// The ROI list view's header row ("Start" … "Status") and the cells of one ROI (FWHM with 4
// decimals).
const std::vector<std::string>& RoiListHeadings();
std::vector<std::string> RoiListCells(const CRoiEntry& roi, const CCalibrate& calibration,
                                      const AnalysisSettings& settings);

// The ROI list view as text: header line and one line per ROI, every cell followed by a TAB,
// every line ending with LF; FWHM with 4 decimals.
std::string RoiListText(const CRoi& rois, const CCalibrate& calibration,
                        const AnalysisSettings& settings);

// The spectrum data text. Recomputes the ROI statistics first (as "Recompute all").
std::string SpectrumDataText(CSpectrum& spectrum, const AnalysisSettings& settings,
                             const ElementLibrary* library);

// The system clipboard as the text copies use it.
class TextClipboard {
public:
    virtual ~TextClipboard() = default;
    virtual bool Open() = 0;
    virtual bool Empty() = 0;
    virtual bool SetText(const std::string& text) = 0; // takes the text on success
    virtual void Close() = 0;
};

// Clipboard result codes of the text copies.
enum ClipboardResult : int {
    kClipboardDone = 0,
    kClipboardNothing = -1, // nothing to copy, or no memory for the block
    kClipboardNotOpened = -2,
    kClipboardNotEmptied = -3,
    kClipboardNotSet = -4,
};

// Opens, empties, sets the text and closes again once opened; returns a ClipboardResult.
int PutTextOnClipboard(TextClipboard& clipboard, const std::string& text);

// "Copy Spectrum Data": the spectrum data text onto the clipboard; a ClipboardResult.
int CopySpectrumData(CSpectrum& spectrum, const AnalysisSettings& settings,
                     const ElementLibrary* library, TextClipboard& clipboard);
// The status pane text for that result.
const char* SpectrumDataCopyStatus(int result);

// The ROI list view's copy; -1 when there are no ROIs.
int CopyRoiList(const CRoi& rois, const CCalibrate& calibration, const AnalysisSettings& settings,
                TextClipboard& clipboard);
// The message box text for a failed ROI list copy; empty for other results.
const char* RoiListCopyMessage(int result);

} // namespace vorna
