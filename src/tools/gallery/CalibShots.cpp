// Windows of calibration and peak search.

#include <QLineEdit>
#include <QTimer>

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "app/calib/CalibrateDialog.h"
#include "app/calib/PeakSearchDialog.h"
#include "appcore/CommandIds.h"

namespace vorna::gallery {
namespace {

// The example's two points and a third one, so the rows show their deviations.
CalibrateDialog* OpenCalibrate(CMainFrame& frame) {
    frame.Execute(ToInt(CommandId::Calibrate));
    CalibrateDialog* dialog = nullptr;
    for (CalibrateDialog* d : frame.findChildren<CalibrateDialog*>())
        if (d->isVisible())
            dialog = d; // an earlier shot's dialog may still wait for its deletion
    if (dialog) {
        dialog->findChild<QLineEdit*>("channel")->setText("300");
        dialog->findChild<QLineEdit*>("value")->setText("2.95");
        dialog->AddPoint();
    }
    return dialog;
}

const Registrar calibrate{{"calibrate", [](CMainFrame& f, ProgramState&) { OpenCalibrate(f); }}};

const Registrar calibrationPlot{{"calibration-plot", [](CMainFrame& f, ProgramState&) {
                                     if (CalibrateDialog* d = OpenCalibrate(f)) {
                                         d->ShowPlot();
                                         d->reject();
                                     }
                                 }}};

const Registrar peakSearch{
    {"peak-search", [](CMainFrame& f, ProgramState&) { f.Execute(ToInt(CommandId::PeakSearch)); }}};

const Registrar peakSearchResults{{"peak-search-results", [](CMainFrame& f, ProgramState&) {
                                       QTimer::singleShot(0, &f, [&f] {
                                           if (auto* d = f.findChild<PeakSearchDialog*>()) {
                                               d->SearchAll();
                                               d->reject();
                                           }
                                       });
                                       f.Execute(ToInt(CommandId::PeakSearch));
                                   }}};

} // namespace
} // namespace vorna::gallery
