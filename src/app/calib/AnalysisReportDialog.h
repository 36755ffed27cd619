#pragma once
// The report window on a ROI list: "Peak Search Results" or "Regions of Interest Details" with
// the spectrum and library caption lines above a sortable list of the ROI statistics.

#include <QDialog>

#include "analysis/ReportCaptions.h"
#include "spectrum/AnalysisSettings.h"
#include "spectrum/CCalibrate.h"
#include "spectrum/CRoi.h"

namespace vorna {

class CListCtrlEx;
class ElementLibrary;

class AnalysisReportDialog : public QDialog {
    Q_OBJECT
public:
    // `library` is the loaded library or null; the Element column follows the report rule.
    AnalysisReportDialog(const ReportCaptions& captions, const CRoi& rois,
                         const CCalibrate& calibration, const AnalysisSettings& settings,
                         const ElementLibrary* library, QWidget* parent);
    CListCtrlEx& List() { return *m_list; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CListCtrlEx* m_list;
};

} // namespace vorna
