// Spectrum properties, notes and the display slots.

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "app/props/CNotes.h"
#include "app/props/CPropDefaultDlg.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "appcore/SpectraSlotsEditor.h"

namespace vorna::gallery {
namespace {

void Run(CMainFrame& frame, CommandId id) {
    frame.Execute(ToInt(id));
}

const Registrar defineExpression{
    {"define-expression", [](CMainFrame& f, ProgramState&) { Run(f, CommandId::Expression); }}};
const Registrar modifySpectrum{
    {"modify-spectrum", [](CMainFrame& f, ProgramState&) { Run(f, CommandId::Modify); }}};
const Registrar spectraDialog{
    {"spectra-dialog", [](CMainFrame& f, ProgramState&) { Run(f, CommandId::SpectraDialog); }}};

// The notes of the example spectrum, as its Modify dialog's "Additional Notes..." shows them.
const Registrar additionalNotes{{"additional-notes", [](CMainFrame& f, ProgramState& s) {
                                     SpectrumHeader header = s.Spectra().GetActive()->Header();
                                     CNotes notes(header, s.Profile(), &f);
                                     notes.exec();
                                 }}};

// Slot 1 as the Spectra dialog opens it; closing the picture writes nothing.
const Registrar contourAndTag{{"contour-and-tag", [](CMainFrame& f, ProgramState& s) {
                                   SpectraSlotsEditor editor(s.Profile());
                                   CPropDefaultDlg dlg(editor, 1, *s.Prompt(), &f);
                                   dlg.exec();
                               }}};

} // namespace
} // namespace vorna::gallery
