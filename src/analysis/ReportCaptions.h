#pragma once
// What the report window shows: the title its caller gives, two caption lines above its list
// (the spectrum's file name and start time, and the library's name), the column headings with
// their tips, and one row of cells per ROI.

#include <string>
#include <vector>

namespace vorna {

class CSpectrum;
class CRoi;
class CCalibrate;
class ElementLibrary;
struct AnalysisSettings;

inline constexpr const char* kPeakSearchResultsTitle = "Peak Search Results";
inline constexpr const char* kRoiDetailsTitle = "Regions of Interest Details";
inline constexpr const char* kShortRoiDetailsTitle = "ROI Details";

struct ReportCaptions {
    std::string title;
    std::string spectrumLine; // "%s  %s": file name and start time
    std::string libraryLine;  // the loaded library's display name, empty without a library
};

// The captions for a report on `spectrum` (read under its lock).
ReportCaptions MakeReportCaptions(const std::string& title, const CSpectrum& spectrum,
                                  const ElementLibrary* library);

struct RoiReport {
    ReportCaptions captions;
    std::vector<std::string> headings; // method headings; "Element" last when shown
    std::vector<std::string> tips;     // one header tip per heading
    std::vector<std::vector<std::string>> rows;
    // Index of the "Status" column, shown centred.
    static constexpr int kStatusColumn = 7;
};

// The report on `rois` (statistics as they stand): the Element column, and the library's name
// in the captions, only with a loaded library and calibrated units.
RoiReport MakeRoiReport(ReportCaptions captions, const CRoi& rois, const CCalibrate& calibration,
                        const AnalysisSettings& settings, const ElementLibrary* library);

// "ROI Details" of a spectrum's own list: its statistics recomputed over its contents first.
RoiReport SpectrumRoiReport(const std::string& title, CSpectrum& spectrum,
                            const AnalysisSettings& settings, const ElementLibrary* library);

} // namespace vorna
