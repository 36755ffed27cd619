#pragma once
// What spectrum operations need from the rest of the program, passed by reference instead of
// reached through globals so that every test can build its own world.

#include <functional>
#include <string>

#include "spectrum/AnalysisSettings.h"
#include "spectrum/SpectrumSlotDefaults.h"

namespace vorna {

class UserPrompt;
class CSpectrum;

// The update worker's wake-up event.
class UpdateSignal {
public:
    virtual ~UpdateSignal() = default;
    virtual void SignalUpdate() = 0;
};

// Plot and info-pane refresh requests that spectrum and ROI operations make.
class DisplaySink {
public:
    virtual ~DisplaySink() = default;
    virtual void RedrawAbsoluteRange(int firstAbsolute, int lastAbsoluteExclusive) = 0;
    virtual void RedrawPlot() = 0;
    virtual void RefreshInfoPane() = 0;
    virtual void RefreshSpectraListWindow() = 0;
    virtual void ResetPlotToFullRange() = 0;              // channels 0..16383, autoscaled
    virtual void SpectrumActivated(const CSpectrum&) = 0; // navigation fields, title
    virtual int CursorChannelAbsolute() const = 0;        // the plot cursor
};

// The connected DPP's current blocks, for the writer when the live spectrum is active.
class DppBlockSource {
public:
    virtual ~DppBlockSource() = default;
    virtual std::string ConfigurationBlock() const = 0; // lines, each ending CR LF
    virtual std::string StatusBlock() const = 0;
    virtual std::string BootFlagsBlock() const = 0;
    virtual int SerialNumber() const = 0;
};

// Recomputes the statistics of every ROI of a spectrum whose lock the caller holds. The spectrum
// record knows nothing of peak statistics; whoever owns the list puts the analysis in here.
using RoiRecompute = std::function<void(CSpectrum&, const AnalysisSettings&)>;

struct SpectrumEnvironment {
    AnalysisSettings settings;
    SpectrumSlotDefaults slots;
    int dppDeviceType = 0;        // DppDeviceType of the selected device; 0 = Kestrel family
    std::string spectraDirectory; // profile "spectra_directory", with its trailing separator
    UserPrompt* prompt = nullptr;
    UpdateSignal* updateSignal = nullptr;
    DisplaySink* display = nullptr;
    const DppBlockSource* dpp = nullptr;
    RoiRecompute recomputeRoiStatistics; // empty: totals leave the ROI results as they are
};

} // namespace vorna
