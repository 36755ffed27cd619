#pragma once
// The spectrum file writer: the exact bytes of a ".mca"/".mcs" file.

#include <string>

namespace vorna {

class CSpectrum;
class DppBlockSource;

struct SpectrumWriteOptions {
    // DppDeviceType of the selected device; above 0 the DPP blocks follow the spectrum.
    int dppDeviceType = 0;
    // True for the live spectrum: its DPP blocks and serial number come from the connected
    // device (`dpp`); every other spectrum writes the blocks it was read with.
    bool liveBlocks = false;
    const DppBlockSource* dpp = nullptr;
};

// Appends the file's bytes to `out`. For the live spectrum with a connected DPP the serial
// number is taken from the device first, so the record matches what was written.
void WriteSpectrum(CSpectrum& spectrum, const SpectrumWriteOptions& options, std::string& out);

// The file line of one channel value: clamped to 0..4294967295 and rounded to the nearest
// integer (NaN counts as 0).
unsigned long long StoredChannelValue(double value);

} // namespace vorna
