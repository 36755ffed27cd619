// The ROI and library commands: Define ROI, the ROI list view ("ROI Details"), its Copy, the ROI
// report copy, and the element library's Load and Show.

#include <QMessageBox>

#include "analysis/ElementLibrary.h"
#include "analysis/ReportCaptions.h"
#include "analysis/Reports.h"
#include "analysis/RoiStatistics.h"
#include "app/CMainFrame.h"
#include "app/QtTextClipboard.h"
#include "app/QtUserPrompt.h"
#include "app/ShellContext.h"
#include "app/roi/DefineRoiDialog.h"
#include "app/roi/LibraryWindow.h"
#include "app/roi/RoiListWindow.h"
#include "appcore/ListTable.h"
#include "appcore/ProgramState.h"
#include "common/DataFolders.h"
#include "common/NumberText.h"

namespace vorna {

namespace {

constexpr const char* kLibraryFilter = "Spectra Library Files (*.lib)|*.lib|All Files (*.*)|*.*||";

// The open window of a one-instance kind (one closing may still wait for deletion).
template <class W> W* OpenWindow(CMainFrame& frame) {
    for (W* w : frame.findChildren<W*>(Qt::FindDirectChildrenOnly))
        if (w->isVisible())
            return w;
    return nullptr;
}

void Raise(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void DefineRoi(ShellContext& c) {
    if (auto* open = OpenWindow<DefineRoiDialog>(c.frame))
        return Raise(open);
    if (CSpectrum* active = c.state.Spectra().GetActive())
        Raise(new DefineRoiDialog(c.state, c.frame, *active));
}

void ShowRoiList(ShellContext& c) {
    // The details are those of the spectrum's present contents.
    if (CSpectrum* active = c.state.Spectra().GetActive())
        RecomputeAllRoiStatistics(*active, c.state.Environment().settings);
    auto* window = OpenWindow<RoiListWindow>(c.frame);
    Raise(window ? window : new RoiListWindow(c.state, c.frame));
    c.frame.RefreshPanes();
}

void ShowLibrary(ShellContext& c) {
    auto* window = OpenWindow<LibraryWindow>(c.frame);
    Raise(window ? window : new LibraryWindow(c.state, c.frame));
}

void LoadLibrary(ShellContext& c) {
    // A folder the user named is not made for a dialog; only the program's own data folder is.
    const std::string folder = DialogFolder(c.state.Profile().libraryDirectory);
    std::string path;
    if (!c.prompt.chooseOpenFile(path, "Open", folder, kLibraryFilter))
        return;
    LoadLibraryFile(c.state.Library(), path, c.state.Prompt());
    c.frame.RefreshPanes(); // the library window follows
}

void CopyRoiListView(ShellContext& c) {
    const CSpectrum* s = c.state.Spectra().GetActive();
    if (!s)
        return;
    QtTextClipboard clipboard;
    int result = kClipboardNothing;
    {
        auto locked = s->Lock();
        result = CopyRoiList(s->m_roi, s->m_calibrate, c.state.Environment().settings, clipboard);
    }
    if (const char* message = RoiListCopyMessage(result); *message)
        c.prompt.message(message, PromptStyle::Warning);
}

// "Copy ROI": the ROI report of the chosen spectrum, as the report window copies it.
void CopyRoiReport(ShellContext& c) {
    CSpectrum* s = SelectedSpectrum(c);
    if (!s || s->Lock()->m_roi.IsEmpty()) {
        c.frame.SetStatusText(0, QStringLiteral("No ROIs in spectrum."));
        return;
    }
    const RoiReport report =
        SpectrumRoiReport(kRoiDetailsTitle, *s, c.state.Environment().settings, &c.state.Library());
    QtTextClipboard clipboard;
    const int result = PutTextOnClipboard(clipboard, ListCopyText(report.headings, report.rows));
    if (result < 0)
        c.prompt.message(Format("Clipboard Error - iError = %d", result), PromptStyle::Warning);
    c.frame.SetStatusText(0, result == kClipboardDone
                                 ? QStringLiteral("Copying of ROIs to clipboard was successful.")
                                 : QStringLiteral("Copying of ROIs to clipboard failed."));
}

} // namespace

void RegisterRoiCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::DefineRoi), [&c] { DefineRoi(c); });
    r.Register(ToInt(C::RoiDetails), [&c] { ShowRoiList(c); });
    r.Register(ToInt(C::RoiListCopy), [&c] { CopyRoiListView(c); });
    r.Register(ToInt(C::CopyRoi), [&c] { CopyRoiReport(c); });
    r.Register(ToInt(C::LoadLibrary), [&c] { LoadLibrary(c); });
    r.Register(ToInt(C::ShowLibrary), [&c] { ShowLibrary(c); });
}

} // namespace vorna
