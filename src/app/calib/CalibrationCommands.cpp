// The Calibrate and Peak Search commands of the Analyze menu and Auto Calibration (Ctrl+F5).

#include <QPointer>
#include <memory>

#include "analysis/AutoCalibration.h"
#include "app/CMainFrame.h"
#include "app/CommandRouter.h"
#include "app/PlotPanes.h"
#include "app/QtUserPrompt.h"
#include "app/ShellContext.h"
#include "app/calib/CalibrateDialog.h"
#include "app/calib/PeakSearchDialog.h"
#include "appcore/ProgramState.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

namespace {

// The dialog is modeless and single: a second F5 brings the open one forward.
void OpenCalibrate(ShellContext& c, QPointer<CalibrateDialog>& open) {
    // A closed dialog waits for its deletion; a new one takes its place.
    if (open && !open->isVisible()) {
        open->deleteLater();
        open = nullptr;
    }
    if (!open) {
        open = new CalibrateDialog(c.state, c.frame);
        open->show();
    }
    open->raise();
    open->activateWindow();
}

void RunPeakSearch(ShellContext& c) {
    CSpectrum* active = c.state.Spectra().GetActive();
    if (!active)
        return;
    PeakSearchDialog dialog(c.state, c.frame, *active);
    dialog.exec();
}

} // namespace

void RunAutoCalibration(ShellContext& c) {
    CSpectrum* active = c.state.Spectra().GetActive();
    if (!active)
        return;
    const CSProfile& p = c.state.Profile();
    const AutoCalSettings settings{p.autoCalMethod, p.autoCalUnits, p.autoCalValue,
                                   p.autoCalValue2};
    const int cursor = active->FromAbsoluteChannel(c.frame.Panes().CursorAbsolute());
    const AutoCalResult result = AutoCalibrate(*active, settings, cursor);
    if (!result.message.empty())
        c.prompt.message(result.message, PromptStyle::Warning);
    if (result.changed) {
        DisplaySink& display = c.state.Display();
        display.SpectrumActivated(*active);
        display.RefreshInfoPane();
        display.RedrawPlot();
    }
}

void RegisterCalibrationCommands(CommandRouter& r, ShellContext& c) {
    auto calibrate = std::make_shared<QPointer<CalibrateDialog>>();
    r.Register(ToInt(CommandId::Calibrate), [&c, calibrate] { OpenCalibrate(c, *calibrate); });
    r.Register(ToInt(CommandId::PeakSearch), [&c] { RunPeakSearch(c); });
}

} // namespace vorna
