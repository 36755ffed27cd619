#pragma once
// The rules of the Define Regions of Interest dialog, on the dialog's own copy of the active
// spectrum's ROI list: the Start/End field checks, the list buttons, the rows shown, Details and
// the copy back on OK. The window holds layout and wiring only.

#include <string>
#include <utility>
#include <vector>

#include "analysis/ReportCaptions.h"
#include "analysis/RoiOperations.h"
#include "spectrum/AnalysisSettings.h"
#include "spectrum/CCalibrate.h"
#include "spectrum/CRoi.h"

namespace vorna {

class CSpectrum;
class ElementLibrary;

inline constexpr const char* kInvalidStartPosition = "Invalid start position";
inline constexpr const char* kInvalidEndPosition = "Invalid end position";

// The report the Details button opens.
using RoiDetailsReport = RoiReport;

class RoiDefineEditor {
public:
    // Copies the spectrum's ROI list, calibration and channel count under its lock.
    RoiDefineEditor(const CSpectrum& spectrum, bool calibrateEnable);

    // Reads the Start and End fields: numbers between the calibrated values of channel 0 and of
    // the last channel, converted to channels. Returns the message to show ("Invalid start
    // position" / "Invalid end position"), or empty with the channels filled in.
    std::string ReadFields(const std::string& startText, const std::string& endText, int& start,
                           int& end) const;

    // "&Add": the message shown, or empty. A start channel not below the end channel adds
    // nothing; otherwise the ROI is added sorted and selected.
    std::string Add(const std::string& startText, const std::string& endText);
    // "Re&place": the selected ROI takes the fields' range (it may move in the list). Without a
    // selection nothing happens.
    std::string Replace(const std::string& startText, const std::string& endText);
    // "&Remove" of the selected ROI; "R&emove All".
    void Remove();
    void RemoveAll();
    // Selecting a row: returns the Start and End field texts it fills in ("%g", calibrated).
    std::pair<std::string, std::string> SelectRow(int row);

    // The list rows, "%g\t%g" (start and end in calibrated units).
    std::vector<std::string> Rows() const;
    int Selected() const { return m_selected; }
    // The unit the fields and rows are in: the calibration's label, or "Channel" when
    // calibrated units are off.
    std::string UnitLabel() const {
        return m_calibrateEnable ? m_calibration.Label() : std::string("Channel");
    }
    const CRoi& Rois() const { return m_copy; }

    // "&Details...": the copy's statistics over the spectrum's present contents (a copy of them,
    // so the smoothing method never touches the spectrum before OK) and the report to show.
    RoiDetailsReport Details(const CSpectrum& spectrum, const AnalysisSettings& settings,
                             const ElementLibrary* library);

    // OK: the copy replaces the spectrum's ROI list under its lock, the statistics are
    // recomputed, the plot is redrawn and, for the active spectrum, the info pane refreshed.
    void Accept(const RoiContext& ctx, const AnalysisSettings& settings) const;

private:
    double ToValue(int channel) const;

    CRoi m_copy;
    CCalibrate m_calibration;
    int m_channels;
    bool m_calibrateEnable;
    int m_selected = -1;
};

} // namespace vorna
