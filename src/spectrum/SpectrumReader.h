#pragma once
// The spectrum file reader: one pass over a ".mca"/".mcs" file held in memory.

#include <string_view>

namespace vorna {

class CSpectrum;
class UserPrompt;

// The one reason a spectrum file does not load.
inline constexpr const char* kLoadFileFailure = "Load file failure!";

struct SpectrumReadOptions {
    int calibEquationType = 1;    // m_nCalibEquationType: 0 linear, 1 quadratic
    UserPrompt* prompt = nullptr; // "Invalid Tag!" and calibration fit failures
};

// Loads `bytes` into `spectrum`: header, notes, calibration, ROIs, channel data and the DPP
// blocks with the values picked from them. Notes, calibration, ROIs and DPP texts start empty.
// Returns false when the file is not a valid spectrum (the reason is kLoadFileFailure); the
// spectrum then holds no channel data.
bool ReadSpectrum(std::string_view bytes, CSpectrum& spectrum,
                  const SpectrumReadOptions& options = SpectrumReadOptions());

// A tag the reader accepts: a letter or '_' first, then letters, digits and '_'.
bool IsValidSpectrumTag(std::string_view tag);

// One data line as a channel value: a decimal number after optional blanks, 0 when none.
double ParseChannelValue(std::string_view line);

} // namespace vorna
