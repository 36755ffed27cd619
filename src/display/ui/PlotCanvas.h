#pragma once
// The drawing surface of the plot: paints the scene the model describes into an off-screen
// image, draws the cursor over it, and hands keys and mouse events to the model.

#include <QImage>
#include <QWidget>
#include <vector>

#include "common/Clock.h"
#include "display/CPlot.h"
#include "display/PlotRaster.h"
#include "display/PlotScene.h"
#include "display/ui/OutlinePainter.h"

namespace vorna {

class PlotCanvas : public QWidget, public PlotListener {
    Q_OBJECT
public:
    PlotCanvas(CPlot& plot, const SpectrumDrawSource& spectra, const Clock& clock,
               QWidget* parent = nullptr);
    ~PlotCanvas() override;

    // The plot without the cursor, as last painted (rebuilt first when stale).
    const QImage& Frame();
    // The plot's content for a printed page, in the plot's own pixels: no background and no
    // cursor.
    void PaintContent(QPainter& p);

    void ViewChanged() override;
    void CursorMoved(double oldPixel) override;
    void ColumnsInvalidated(int x1, int x2) override;
    void PlotInvalidated() override;
    void MouseModeChanged() override;
    void RubberBandChanged() override;

    // Outlines computed for the frame since the canvas was made (each repaint of a few columns
    // reuses the kept ones).
    long long OutlinesComputed() const { return m_outlines.Computed(); }

Q_SIGNALS:
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Redraws columns x1..x2 of the frame, or all of it.
    void RebuildFrame(int x1, int x2);
    // Into the frame when `pixels` is given (the outlines and the fill written straight into
    // it), else through the painter alone (printing). False when only some columns were being
    // drawn and the whole frame must be drawn instead.
    bool DrawScene(QPainter& p, const PixelFrame* pixels, const PlotScene& scene);
    void DrawAxis(QPainter& p, const PlotScene& scene);
    void UpdateCursorColumn(double pixel);
    QPen ScenePen(const QColor& color, int width, Qt::PenStyle style = Qt::SolidLine) const;

    CPlot& m_plot;
    const SpectrumDrawSource& m_spectra;
    const Clock& m_clock;
    QImage m_frame;
    bool m_frameStale = true;
    bool m_viewUnitPens = false;
    // Columns of an otherwise current frame that need redrawing (ROI bands changed).
    int m_dirtyLeft = 0;
    int m_dirtyRight = -1;
    OutlineCache m_outlines;
    OutlinePainter m_outlinePainter;
};

} // namespace vorna
