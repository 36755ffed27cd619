#include "display/PlotDisplaySink.h"

#include <cmath>

#include "display/CPlot.h"

namespace vorna {

void PlotDisplaySink::RedrawAbsoluteRange(int firstAbsolute, int lastAbsoluteExclusive) {
    m_plot.InvalidateAbsoluteRange(firstAbsolute, lastAbsoluteExclusive);
}

void PlotDisplaySink::RedrawPlot() {
    m_plot.Invalidate();
}

void PlotDisplaySink::RefreshInfoPane() {
    if (m_next)
        m_next->RefreshInfoPane();
}

void PlotDisplaySink::RefreshSpectraListWindow() {
    if (m_next)
        m_next->RefreshSpectraListWindow();
}

void PlotDisplaySink::ResetPlotToFullRange() {
    const PlotView& v = m_plot.View();
    m_plot.SetView(0, kAbsoluteChannels - 1, v.bottom, v.top);
    m_plot.AutoscaleVertical();
}

void PlotDisplaySink::SpectrumActivated(const CSpectrum& spectrum) {
    m_plot.UnitsChanged();
    if (m_next)
        m_next->SpectrumActivated(spectrum);
}

int PlotDisplaySink::CursorChannelAbsolute() const {
    return static_cast<int>(std::trunc(m_plot.Cursor() + 0.5));
}

} // namespace vorna
