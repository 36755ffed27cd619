// Windows of the Kestrel acquisition.

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "appcore/ProgramState.h"
#include "kestrel/ui/CAcqDlg.h"

namespace vorna::gallery {
namespace {

// "Set Acquisition Mode" as a connected KestrelA fills it: 4096 channels, a 60 s real-time
// preset. The gallery has no analyzer to ask, so the values are the ones such a device reports.
void AcquisitionSetup(CMainFrame& frame, ProgramState& state) {
    AcqSetup values;
    values.gainIndex = 4;
    values.threshold = 50;
    values.preset = 60;
    values.timerType = 1;
    values.presetMode = static_cast<int>(AcqPresetMode::Seconds);
    RunAcqSetupDialog(
        values, state.Profile(), KestrelDeviceType::KestrelA, [] { return 0; }, &frame);
}

const Registrar acquisitionSetup{{"acquisition-setup", AcquisitionSetup}};

} // namespace
} // namespace vorna::gallery
