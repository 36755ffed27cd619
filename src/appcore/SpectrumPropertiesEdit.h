#pragma once
// The spectrum definition dialog's work: define a new derived spectrum, or change the properties
// of an open one. The dialog edits a copy of the header; OK puts it into force in a fixed order
// (tag check, expression, contour, copy, pen, title, list, evaluation or redraw).

#include <memory>
#include <string>

#include "spectrum/SpectrumHeader.h"

namespace vorna {

class CSpectraList;
class CSpectrum;

inline constexpr const char* kInvalidTagMessage = "Invalid Tag!";

enum class SpectrumDlgRole {
    DefineExpression, // a new derived spectrum
    ModifyExpression, // an open derived spectrum
    ModifyProperties, // an open plain spectrum: no expression
};

// Contour widths and ADC gain codes the dialog offers.
inline constexpr int kContourWidthMin = 1;
inline constexpr int kContourWidthMax = 5;
inline constexpr int kGainCodeMax = 6;
// "256" for code 0 up to "16384" for code 6.
std::string GainChoiceText(int gainCode);

class SpectrumPropertiesEdit {
public:
    enum class OkResult { Closed, KeepOpen };

    // Define Expression: a new derived spectrum with the slot defaults of the list's size.
    explicit SpectrumPropertiesEdit(CSpectraList& list);
    // Modify: `target` is open in `list`.
    SpectrumPropertiesEdit(CSpectraList& list, CSpectrum& target);
    ~SpectrumPropertiesEdit();
    SpectrumPropertiesEdit(const SpectrumPropertiesEdit&) = delete;
    SpectrumPropertiesEdit& operator=(const SpectrumPropertiesEdit&) = delete;

    SpectrumDlgRole Role() const { return m_role; }
    // "Define Expression", "Modify Expression" or "Modify Spectrum Properties".
    const char* Title() const;
    bool ShowsExpression() const { return m_role != SpectrumDlgRole::ModifyProperties; }
    // A spectrum in the list keeps its channel count.
    bool GainEditable() const { return m_role == SpectrumDlgRole::DefineExpression; }

    // The copy the dialog shows and edits.
    SpectrumHeader& Header() { return m_header; }
    const SpectrumHeader& Header() const { return m_header; }

    // Puts the edited header into force. KeepOpen when the tag is not valid or the expression
    // was refused (the message has been shown); the dialog then stays for another try.
    OkResult Ok();
    // Nothing changes; a new spectrum is dropped.
    void Cancel();

    // After Ok: the spectrum that now carries the header (a new one as the list holds it), or
    // nullptr when the new spectrum could not join the list or the target had been closed.
    CSpectrum* Result() const { return m_result; }

private:
    bool TargetStillOpen() const;
    bool ContourDiffers() const;
    void CopyHeaderIntoTarget();
    void FinishNew();
    void FinishExisting(bool contourChanged);

    CSpectraList& m_list;
    SpectrumDlgRole m_role;
    std::unique_ptr<CSpectrum> m_new; // Define Expression until the list takes it
    CSpectrum* m_target;
    SpectrumHeader m_header;
    CSpectrum* m_result = nullptr;
};

} // namespace vorna
