#pragma once
// What the Peak Search dialog does to one spectrum while it is open: its fields, the searches,
// the results shown in place of the spectrum's own ROIs while the report is up, adding them to
// or replacing the spectrum's ROI list, and putting the list back on Cancel.

#include <functional>
#include <optional>
#include <string>

#include "analysis/PeakSearch.h"
#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

class CSpectrum;

// The dialog's field texts.
struct PeakSearchFields {
    std::string sensitivity; // 0.5 .. 1000000
    std::string width;       // integer 2 .. 100000
    std::string startRange;  // displayed (calibrated) units
    std::string endRange;
};

// The fields as read: either the values or the message of the first field refused.
struct PeakSearchInput {
    double sensitivity = 0.0;
    int width = 0;
    double startRange = 0.0;
    double endRange = 0.0;
    std::string message; // empty when every field was accepted
};
PeakSearchInput ReadPeakSearchFields(const PeakSearchFields& fields);

class PeakSearchSession {
public:
    // `env` supplies the analysis settings and the refreshes; `isActive` tells whether the
    // spectrum is drawn with its ROIs. The spectrum's ROI list is saved for Cancel.
    PeakSearchSession(CSpectrum& spectrum, const SpectrumEnvironment& env, bool isActive);

    // Opening texts: the profile's sensitivity and width, and the first and last channel shown
    // in the plot (absolute scale) in displayed units.
    PeakSearchFields OpeningFields(int firstAbsolute, int lastAbsolute) const;

    // "Search All..." and "Search Range..." with the fields' width and sensitivity. Return the
    // message to show (a field refusal, "Invalid range!" or "No valid peaks are found!"), empty
    // when peaks were found. A failed search drops earlier results.
    std::string SearchAll(const PeakSearchFields& fields);
    std::string SearchRange(const PeakSearchFields& fields);

    bool HasResults() const { return m_results.has_value(); }
    const CRoi& Results() const;

    // The report on the results: the spectrum's ROI list holds the results while `report`
    // runs, and its own list afterwards.
    void WithResultsShown(const std::function<void()>& report);

    // "Add to ROI List" and "Replace ROI List".
    void AddResults();
    void ReplaceWithResults();
    bool ChangedRoiList() const { return m_changed; }
    // "ROI Details..." is enabled when the spectrum has ROIs or the list was changed here.
    bool DetailsEnabled() const;
    // Recomputes the statistics of the spectrum's own ROIs (for "ROI Details...").
    void RecomputeSpectrumRois();

    // OK: the fields' width and sensitivity, for the profile; nullopt when a field is refused.
    std::optional<PeakSearchInput> Accept(const PeakSearchFields& fields) const;
    // Cancel: after Add or Replace the saved ROI list comes back and the plot is redrawn.
    void Cancel();

private:
    std::string Run(const PeakSearchFields& fields, bool wholeSpectrum);
    AnalysisSettings SettingsFor(const PeakSearchInput& input) const;

    CSpectrum& m_spectrum;
    const SpectrumEnvironment& m_env;
    bool m_isActive;
    CRoi m_saved;
    std::optional<CRoi> m_results;
    bool m_changed = false;
};

} // namespace vorna
