// The Analyze menu and the ROI commands of the context menus.

#include "analysis/ElementLibrary.h"
#include "analysis/Reports.h"
#include "analysis/SmoothCommand.h"
#include "app/CMainFrame.h"
#include "app/QtTextClipboard.h"
#include "app/QtUserPrompt.h"
#include "app/ShellContext.h"
#include "appcore/ProgramState.h"

namespace vorna {

namespace {

constexpr const char* kLibraryFilter = "Spectra Library Files (*.lib)|*.lib|All Files (*.*)|*.*||";

void LoadLibrary(ShellContext& c) {
    std::string path;
    if (!c.prompt.chooseOpenFile(path, "Open", c.state.Profile().libraryDirectory, kLibraryFilter))
        return;
    LoadLibraryFile(c.state.Library(), path, c.state.Prompt());
    c.frame.RefreshPanes();
}

void CopyRois(ShellContext& c) {
    const CSpectrum* s = c.state.Spectra().GetActive();
    if (!s || s->m_roi.IsEmpty()) {
        c.prompt.message("No ROIs in spectrum.", PromptStyle::Information);
        return;
    }
    QtTextClipboard clipboard;
    const int r = CopyRoiList(s->m_roi, s->m_calibrate, c.state.Environment().settings, clipboard);
    c.frame.SetStatusText(0, r == kClipboardDone
                                 ? QStringLiteral("Copying of ROIs to clipboard was successful.")
                                 : QStringLiteral("Copying of ROIs to clipboard failed."));
}

} // namespace

void RegisterAnalyzeCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::Smooth), [&c] {
        SmoothActiveSpectrum(c.state.Spectra(), c.state.Environment().settings);
        c.frame.RefreshPanes();
    });
    r.Register(ToInt(C::LoadLibrary), [&c] { LoadLibrary(c); });
    // The plot moves its cursor and repaints with these.
    for (C id : {C::ClearAllRois, C::NextRoi, C::PreviousRoi, C::ClearCursorRoi})
        r.Register(ToInt(id), [&c, id] { c.frame.RunPlotCommand(ToInt(id)); });
    r.Register(ToInt(C::CopyRoi), [&c] { CopyRois(c); });
    for (C id : {C::Calibrate, C::PeakSearch, C::ShowLibrary, C::DefineRoi,
                 C::RoiDetails, C::FundamentalParameters, C::FlareController, C::PrintRoi,
                 C::RoiListPrint, C::RoiListCopy})
        r.Register(ToInt(id), [&c, id] { ReportNotAvailable(c, id); });
}

} // namespace vorna
