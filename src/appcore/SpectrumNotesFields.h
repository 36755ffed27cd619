#pragma once
// The Additional Notes dialog's fields: the three notes and the print choices. A spectrum keeps
// its note lines joined by CR LF (printing cuts at CR); an editor works with LF alone.

#include <string>

#include "spectrum/SpectrumHeader.h"

namespace vorna {

struct SpectrumNotesFields {
    std::string general; // lines joined by LF
    std::string system;
    std::string other;
    bool printNotes = true;
    bool printDppSettings = false; // the program-wide "DppPrintConfig", not a spectrum's
};

// Lines split at CR LF, CR or LF, joined by LF.
std::string NotesForEditor(const std::string& stored);
// Lines split the same way, joined by CR LF.
std::string NotesFromEditor(const std::string& edited);

SpectrumNotesFields NotesOf(const SpectrumHeader& header, bool printDppSettings);
// OK: the notes into the header copy and the DPP choice into the program-wide flag.
void ApplyNotes(const SpectrumNotesFields& fields, SpectrumHeader& header, int& dppPrintConfig);

} // namespace vorna
