// Spectrum properties and the display slots: Analyze's Expression, File's and the spectra list's
// Modify, and the Spectra dialog.

#include "app/CMainFrame.h"
#include "app/CommandRouter.h"
#include "app/QtUserPrompt.h"
#include "app/ShellContext.h"
#include "app/props/CPropSpectra.h"
#include "app/props/CSpectrumDlg.h"
#include "appcore/ProgramState.h"
#include "appcore/SpectrumPropertiesEdit.h"

namespace vorna {

namespace {

void RunSpectrumDialog(ShellContext& c, SpectrumPropertiesEdit& edit) {
    CSpectrumDlg dlg(edit, c.state.Profile(), &c.frame);
    dlg.exec();
    c.frame.RefreshPanes();
}

void DefineExpression(ShellContext& c) {
    CSpectraList& list = c.state.Spectra();
    // Say so before the user types an expression that has no room.
    if (list.IsFull()) {
        c.prompt.message(kSpectraListFullMessage, PromptStyle::Warning);
        return;
    }
    SpectrumPropertiesEdit edit(list);
    RunSpectrumDialog(c, edit);
}

void Modify(ShellContext& c, CSpectrum* target) {
    if (!target)
        return;
    SpectrumPropertiesEdit edit(c.state.Spectra(), *target);
    RunSpectrumDialog(c, edit);
}

void ShowSpectraDialog(ShellContext& c) {
    CPropSpectra dlg(c.state.Profile(), c.prompt, &c.frame);
    dlg.exec();
    // New spectra take the slots and Smooth the kind from now on.
    c.state.ApplyProfileToEnvironment();
    c.frame.RefreshPanes();
}

} // namespace

void RegisterPropertiesCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::Expression), [&c] { DefineExpression(c); });
    r.Register(ToInt(C::Modify), [&c] { Modify(c, c.state.Spectra().GetActive()); });
    r.Register(ToInt(C::ListModify), [&c] { Modify(c, SelectedSpectrum(c)); });
    r.Register(ToInt(C::SpectraDialog), [&c] { ShowSpectraDialog(c); });
}

} // namespace vorna
