#include "appcore/SpectrumNotesFields.h"

namespace vorna {

namespace {

std::string JoinLines(const std::string& text, const char* separator) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += separator;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string NotesForEditor(const std::string& stored) {
    return JoinLines(stored, "\n");
}

std::string NotesFromEditor(const std::string& edited) {
    return JoinLines(edited, "\r\n");
}

SpectrumNotesFields NotesOf(const SpectrumHeader& header, bool printDppSettings) {
    SpectrumNotesFields f;
    f.general = NotesForEditor(header.m_strGeneralNotes);
    f.system = NotesForEditor(header.m_strSystemNotes);
    f.other = NotesForEditor(header.m_strOtherNotes);
    f.printNotes = header.m_bPrintNotes != 0;
    f.printDppSettings = printDppSettings;
    return f;
}

void ApplyNotes(const SpectrumNotesFields& fields, SpectrumHeader& header, int& dppPrintConfig) {
    header.m_strGeneralNotes = NotesFromEditor(fields.general);
    header.m_strSystemNotes = NotesFromEditor(fields.system);
    header.m_strOtherNotes = NotesFromEditor(fields.other);
    header.m_bPrintNotes = fields.printNotes ? 1 : 0;
    dppPrintConfig = fields.printDppSettings ? 1 : 0;
}

} // namespace vorna
