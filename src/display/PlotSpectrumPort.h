#pragma once
// What the plot model reads from and does to the open spectra. The program's implementation
// (SpectraListPlotPort) works on the spectra list; the model itself knows no spectrum record.

#include <optional>
#include <string>

namespace vorna {

struct RoiRange {
    int start = 0;
    int end = 0;
};

class PlotSpectrumPort {
public:
    virtual ~PlotSpectrumPort() = default;

    // --- the active spectrum (gain 6 and no ROIs when there is none) ---
    virtual int ActiveGain() const = 0;
    virtual double CountAt(int channel) const = 0;
    // Largest count of channels lo..hi, hi limited to the last valid channel; 0 when the range
    // is empty or every count is 0 or less.
    virtual double MaxCount(int lo, int hi) const = 0;
    // Calibrated value of a channel (the channel itself with calibration off).
    virtual double ChannelToValue(int channel) const = 0;
    // Channel of a typed value, clamped to 0..N-1.
    virtual int ValueToChannel(double value) const = 0;
    // The calibration's unit label, or "Channel" with calibration off.
    virtual std::string UnitLabel() const = 0;

    // --- ROIs of the active spectrum (each change repaints what it touches) ---
    virtual int RoiCount() const = 0;
    virtual RoiRange Roi(int index) const = 0;
    virtual int FindRoi(int channel) const = 0; // first ROI holding the channel, or -1
    virtual int AddRoi(int start, int end) = 0; // new index, or -1
    virtual void DeleteRoi(int index) = 0;
    virtual int ModifyRoi(int index, int start, int end) = 0; // new index, or -1
    virtual void ClearRois() = 0;
    // Selects the ROI holding the channel at an absolute position (none when there is none).
    virtual void SelectRoiAt(double position) = 0;
    virtual void SelectNextRoi() = 0;
    virtual void SelectPreviousRoi() = 0;
    // File name, tag and notes back to the defaults of the spectrum's list position.
    virtual void ResetActiveHeader() = 0;

    // --- settings the plot shares with the analysis code ---
    virtual bool CalibrateEnabled() const = 0;
    virtual bool ShowRoi() const = 0;
    virtual bool ShowAllRoi() const = 0;
    virtual int DeviceType() const = 0; // 0 = Kestrel family
    // 3 while a Kestrel acquires (the controller's state); the vertical autoscale reads it.
    virtual int AcquisitionState() const = 0;

    // --- the redraw pipeline ---
    virtual bool AnyRedrawPending() const = 0;
    virtual void RequestRedrawAll() = 0;
};

} // namespace vorna
