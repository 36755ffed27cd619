#pragma once
// The plot pane: the drawing surface above a horizontal scroll bar 15 pixels high.
//
//   SpectraListPlotPort port(spectraList);           // model's port and the spectra to draw
//   CPlot plot(port, &userPrompt, &repeatScheduler); // the Qt-free model
//   auto* pane = new PlotWidget(plot, port, parent);
//
// The widget registers itself with the model and only shows, collects and routes: every rule
// lives in CPlot. `clock` times mouse moves (default: the steady clock).

#include <QScrollBar>
#include <QWidget>
#include <memory>

#include "common/Clock.h"
#include "display/CPlot.h"
#include "display/ui/PlotCanvas.h"

namespace vorna {

class PlotWidget : public QWidget, public PlotListener {
    Q_OBJECT
public:
    PlotWidget(CPlot& plot, const SpectrumDrawSource& spectra, QWidget* parent = nullptr,
               const Clock* clock = nullptr);
    ~PlotWidget() override;

    PlotCanvas* canvas() const { return m_canvas; }
    QScrollBar* scrollBar() const { return m_bar; }
    // The plot as it is on screen (frame and cursor).
    QImage grabPlot();

    void ViewChanged() override;

Q_SIGNALS:
    // Right click in the plot: the main window opens its "Select" menu there.
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnScrollAction(int action);
    void OnSliderReleased();
    void SyncScrollBar();

    CPlot& m_plot;
    std::unique_ptr<SteadyClock> m_ownClock;
    PlotCanvas* m_canvas;
    QScrollBar* m_bar;
};

} // namespace vorna
