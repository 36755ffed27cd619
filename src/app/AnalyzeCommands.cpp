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

void RegisterAnalyzeCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::Smooth), [&c] {
        SmoothActiveSpectrum(c.state.Spectra(), c.state.Environment().settings);
        c.frame.RefreshPanes();
    });
    // The plot moves its cursor and repaints with these.
    for (C id : {C::ClearAllRois, C::NextRoi, C::PreviousRoi, C::ClearCursorRoi})
        r.Register(ToInt(id), [&c, id] { c.frame.RunPlotCommand(ToInt(id)); });
    // The companion-program commands are the companion interface's (CMainFrame::SetCompanion).
    for (C id : {C::FundamentalParameters, C::FlareController})
        r.Register(ToInt(id), [&c, id] { ReportNotAvailable(c, id); });
}

} // namespace vorna
