#pragma once
// The display requests of spectrum and ROI operations, answered by the plot model. Requests
// that are not the plot's (info pane, spectra list window) go on to `next` when one is given,
// so the main window can put its own sink behind this one.

#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

class CPlot;

class PlotDisplaySink : public DisplaySink {
public:
    explicit PlotDisplaySink(CPlot& plot, DisplaySink* next = nullptr)
        : m_plot(plot), m_next(next) {}
    void SetNext(DisplaySink* next) { m_next = next; }

    void RedrawAbsoluteRange(int firstAbsolute, int lastAbsoluteExclusive) override;
    void RedrawPlot() override;
    void RefreshInfoPane() override;
    void RefreshSpectraListWindow() override;
    // Channels 0..16383, then the vertical autoscale of the active spectrum.
    void ResetPlotToFullRange() override;
    void SpectrumActivated(const CSpectrum& spectrum) override;
    int CursorChannelAbsolute() const override;

private:
    CPlot& m_plot;
    DisplaySink* m_next;
};

} // namespace vorna
