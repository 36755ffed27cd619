#include "app/calib/AnalysisReportDialog.h"

namespace vorna {

AnalysisReportDialog::AnalysisReportDialog(const ReportCaptions& captions, const CRoi& rois,
                                           const CCalibrate& calibration,
                                           const AnalysisSettings& settings,
                                           const ElementLibrary* library, QWidget* parent)
    : ReportWindow(MakeRoiReport(captions, rois, calibration, settings, library), parent) {}

} // namespace vorna
