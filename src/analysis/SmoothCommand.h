#pragma once
// The Analyze menu's Smooth command: a derived spectrum gets its expression wrapped in SM3() or
// SM5(); a plain one gets a new derived spectrum that smooths it, shown in its place.

namespace vorna {

class CSpectraList;
class CSpectrum;
struct AnalysisSettings;

// Smooths the active spectrum with the kernel chosen by settings.smoothKind. Returns the
// spectrum that now holds the smoothed result (the active one, or the new one, which is added
// to the list and made active), or nullptr when nothing changed (no active spectrum, the
// expression was refused, or the list is full; the message has been shown).
CSpectrum* SmoothActiveSpectrum(CSpectraList& list, const AnalysisSettings& settings);

} // namespace vorna
