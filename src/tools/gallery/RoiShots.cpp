// The ROI and library windows, with the example K-line library loaded so that the reports name
// their peaks.

#include "Gallery.h"
#include "analysis/ReportCaptions.h"
#include "app/CMainFrame.h"
#include "app/PlotPanes.h"
#include "app/roi/ReportWindow.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "display/CPlot.h"

namespace vorna::gallery {
namespace {

void LoadExampleLibrary(CMainFrame& frame, ProgramState& state) {
    state.Library().SetDisplayName("k-lines.lib");
    state.Library().Load(VORNA_EXAMPLES_DIR "/k-lines.lib");
    frame.RefreshPanes();
}

// The cursor on the Mn K-alpha peak of the example spectrum (channel 590).
void CursorOnPeak(CMainFrame& frame, ProgramState& state) {
    if (CSpectrum* s = state.Spectra().GetActive())
        frame.Panes().Model().MoveCursorTo(s->ToAbsoluteChannel(590));
}

const Registrar defineRoi{
    {"define-roi", [](CMainFrame& f, ProgramState&) { f.Execute(ToInt(CommandId::DefineRoi)); }}};
const Registrar roiList{
    {"roi-list", [](CMainFrame& f, ProgramState&) { f.Execute(ToInt(CommandId::RoiDetails)); }}};
const Registrar roiReport{{"roi-report", [](CMainFrame& f, ProgramState& state) {
                               LoadExampleLibrary(f, state);
                               CSpectrum* s = state.Spectra().GetActive();
                               if (!s)
                                   return;
                               ShowRoiReport(SpectrumRoiReport(kRoiDetailsTitle, *s,
                                                               state.Environment().settings,
                                                               &state.Library()),
                                             &f);
                           }}};
const Registrar library{{"library", [](CMainFrame& f, ProgramState& state) {
                             LoadExampleLibrary(f, state);
                             CursorOnPeak(f, state);
                             f.Execute(ToInt(CommandId::ShowLibrary));
                         }}};

} // namespace
} // namespace vorna::gallery
