#pragma once
// The report window on a ROI list: "Peak Search Results" or "Regions of Interest Details" with
// the spectrum and library caption lines above a sortable list of the ROI statistics. The one
// report window of the program (ReportWindow) built from a ROI list.

#include "analysis/ReportCaptions.h"
#include "app/roi/ReportWindow.h"
#include "spectrum/AnalysisSettings.h"
#include "spectrum/CCalibrate.h"
#include "spectrum/CRoi.h"

namespace vorna {

class CListCtrlEx;
class ElementLibrary;

class AnalysisReportDialog : public ReportWindow {
    Q_OBJECT
public:
    // `library` is the loaded library or null; the Element column follows the report rule.
    AnalysisReportDialog(const ReportCaptions& captions, const CRoi& rois,
                         const CCalibrate& calibration, const AnalysisSettings& settings,
                         const ElementLibrary* library, QWidget* parent);
    CListCtrlEx& List() { return *ReportWindow::List(); }
};

} // namespace vorna
