#pragma once
// What the report window shows above its list: the title its caller gives and two caption
// lines (the spectrum's file name and start time, and the library's name).

#include <string>

namespace vorna {

class CSpectrum;
class ElementLibrary;

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

} // namespace vorna
