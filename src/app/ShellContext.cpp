#include "app/ShellContext.h"

#include "app/CMainFrame.h"
#include "app/TextConvert.h"
#include "appcore/CommandTable.h"
#include "appcore/ProgramState.h"

namespace vorna {

CSpectrum* SelectedSpectrum(ShellContext& context) {
    CSpectraList& list = context.state.Spectra();
    const int row = context.frame.ContextRow();
    return row >= 0 ? list.At(row) : list.GetActive();
}

void ReportNotAvailable(ShellContext& context, CommandId id) {
    const CommandSpec* c = FindCommand(id);
    context.frame.SetStatusText(0, (c ? PlainCaption(c->caption) : QString::number(ToInt(id))) +
                                       QStringLiteral(" is not available in this version."));
}

} // namespace vorna
