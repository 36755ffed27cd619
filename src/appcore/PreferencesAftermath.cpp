#include "appcore/PreferencesAftermath.h"

#include "analysis/ElementLibrary.h"
#include "analysis/RoiStatistics.h"
#include "appcore/ProgramState.h"
#include "spectrum/SpectrumFile.h"

namespace vorna {

namespace {

void ReloadTemplate(ProgramState& state, const AfterPreferences& d, AftermathResult& out) {
    const CSProfile& p = state.Profile();
    CSpectraList& list = state.Spectra();
    if (d.loadTemplate) {
        const TemplateOptions options{p.loadCalibration != 0, p.loadRoi != 0,
                                      p.spectrumTemplateFile};
        out.statusTexts.emplace_back(RecallTemplate(list, options) == 1
                                         ? "Spectrum Template Load Successful..."
                                         : "Spectrum Template Load Failed...");
        out.changedSpectra = true;
        return;
    }
    if (!d.clearLiveTables)
        return;
    if (CSpectrum* live = list.At(0)) {
        {
            auto locked = live->Lock();
            live->m_roi.Clear();
            live->m_calibrate.Reset();
        }
        live->RequestDisplayUpdate(list.Environment());
        out.changedSpectra = true;
    }
}

void RecomputeActive(ProgramState& state, AftermathResult& out) {
    CSpectraList& list = state.Spectra();
    CSpectrum* active = list.GetActive();
    if (!active || active->Lock()->m_roi.IsEmpty())
        return;
    RecomputeAllRoiStatistics(*active, list.Environment().settings);
    active->RequestDisplayUpdate(list.Environment());
    out.roisRecomputed = out.changedSpectra = true;
}

} // namespace

AftermathResult RunAfterPreferences(ProgramState& state, const AfterPreferences& d) {
    AftermathResult out;
    // Analysis code reads its settings from the environment, so it follows the profile first.
    state.ApplyProfileToEnvironment();
    const CSProfile& p = state.Profile();
    const std::string library = ReloadLibraryAfterPreferences(
        state.Library(), d.loadLibrary, d.clearLibrary,
        {p.libraryAutoload != 0, p.libraryDirectory, p.libraryFile}, state.Prompt());
    if (!library.empty())
        out.statusTexts.push_back(library);
    ReloadTemplate(state, d, out);
    if (d.recomputeRois)
        RecomputeActive(state, out);
    return out;
}

} // namespace vorna
