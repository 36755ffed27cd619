// The File menu and the spectra list's per-spectrum commands.

#include <QDir>

#include "app/CMainFrame.h"
#include "app/QtTextClipboard.h"
#include "app/QtUserPrompt.h"
#include "app/ShellContext.h"
#include "app/TextConvert.h"
#include "appcore/ProgramState.h"
#include "appcore/SpectrumCommands.h"
#include "spectrum/SpectrumFile.h"

namespace vorna {

namespace {

// The path a spectrum's file name stands for: bare names live in the spectra directory.
std::string FullPath(const ProgramState& state, const std::string& name) {
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return name;
    return const_cast<ProgramState&>(state).Environment().spectraDirectory + name;
}

void SaveNow(ShellContext& c, CSpectrum* s, bool showDialog) {
    CSpectraList& list = c.state.Spectra();
    const SaveResult r = SaveSpectrum(c.state.Environment(), *s, showDialog, list.PositionOf(s));
    if (r == SaveResult::Saved)
        c.state.Recent().AddRecentFile(FullPath(c.state, s->m_strFileName));
    c.frame.RebuildRecentFileMenu();
    c.frame.RefreshPanes();
}

void Save(ShellContext& c, CSpectrum* s, bool showDialog) {
    if (!s)
        return;
    c.state.Display().ResetPlotToFullRange();
    // A connected Kestrel holds counts the live spectrum has not seen yet (with "Manual" update,
    // none at all): they are uploaded, whole, before the file is written.
    KestrelProgram* kestrel = c.state.Kestrel();
    if (kestrel && kestrel->Acq().Connected() && c.state.Spectra().PositionOf(s) == 0) {
        c.state.SetVisibleRange(0, 16383);
        kestrel->Run([](CAcq& a) { a.Upload(); },
                     [&c, s, showDialog] { SaveNow(c, s, showDialog); });
        return;
    }
    SaveNow(c, s, showDialog);
}

void Open(ShellContext& c) {
    auto choose = [&c](const OpenDialogSetup& setup, std::string& path) {
        return c.prompt.chooseOpenFile(path, setup.title, setup.initialDirectory, setup.filter);
    };
    OpenWithDialog(c.state.Spectra(), choose, &c.state.Recent());
    c.frame.RebuildRecentFileMenu();
    c.frame.RefreshPanes();
}

void OpenRecent(ShellContext& c, int id) {
    const std::string path = c.state.Recent().PathForCommand(id);
    if (path.empty())
        return;
    OpenSpectrumFile(c.state.Spectra(), path, &c.state.Recent());
    c.frame.RebuildRecentFileMenu();
    c.frame.RefreshPanes();
}

void CopyData(ShellContext& c) {
    CSpectrum* s = c.state.Spectra().GetActive();
    if (!s)
        return;
    QtTextClipboard clipboard;
    const int r =
        CopySpectrumData(*s, c.state.Environment().settings, &c.state.Library(), clipboard);
    c.frame.SetStatusText(0, QString::fromLatin1(SpectrumDataCopyStatus(r)));
}

} // namespace

void RegisterFileCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    c.state.Spectra().SetSaveAsHandler([&c](CSpectrum& s) {
        SaveSpectrum(c.state.Environment(), s, true, c.state.Spectra().PositionOf(&s));
    });
    r.Register(ToInt(C::FileOpen), [&c] { Open(c); });
    r.Register(ToInt(C::CloseAll), [&c] {
        CloseAllSpectra(c.state.Spectra(), true);
        c.frame.RefreshPanes();
    });
    r.Register(ToInt(C::FileSave), [&c] { Save(c, c.state.Spectra().GetActive(), false); });
    r.Register(ToInt(C::FileSaveAs), [&c] { Save(c, c.state.Spectra().GetActive(), true); });
    r.Register(ToInt(C::ListSave), [&c] { Save(c, SelectedSpectrum(c), false); });
    r.Register(ToInt(C::ListSaveAs), [&c] { Save(c, SelectedSpectrum(c), true); });
    r.Register(ToInt(C::ListClose), [&c] {
        CloseSpectrum(c.state.Spectra(), SelectedSpectrum(c));
        c.frame.RefreshPanes();
    });
    r.Register(ToInt(C::ListHide), [&c] {
        CSpectraList& list = c.state.Spectra();
        list.ToggleHidden(list.PositionOf(SelectedSpectrum(c)));
        c.frame.RefreshPanes();
    });
    r.Register(ToInt(C::Revert), [&c] {
        if (CSpectrum* s = SelectedSpectrum(c))
            RevertSpectrum(c.state.Spectra(), *s, PathToCore(QDir::currentPath()) + "/");
        c.frame.RefreshPanes();
    });
    for (int id = ToInt(C::RecentFile1); id <= ToInt(C::RecentFileLast); ++id)
        r.Register(id, [&c, id] { OpenRecent(c, id); });
    r.Register(ToInt(C::CopySpectrumData), [&c] { CopyData(c); });
    r.Register(ToInt(C::AppExit), [&c] { c.frame.close(); });
    RegisterOutputCommands(r, c);
}

} // namespace vorna
