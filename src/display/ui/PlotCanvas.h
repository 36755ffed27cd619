#pragma once
// The drawing surface of the plot: paints the scene the model describes into an off-screen
// image, draws the cursor over it, and hands keys and mouse events to the model.

#include <QImage>
#include <QWidget>
#include <vector>

#include "common/Clock.h"
#include "display/CPlot.h"
#include "display/PlotScene.h"

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
    void RebuildFrame();
    void DrawScene(QPainter& p, const PlotScene& scene);
    void DrawAxis(QPainter& p, const PlotScene& scene);
    void UpdateCursorColumn(double pixel);
    QPen ScenePen(const QColor& color, int width, Qt::PenStyle style = Qt::SolidLine) const;

    CPlot& m_plot;
    const SpectrumDrawSource& m_spectra;
    const Clock& m_clock;
    QImage m_frame;
    bool m_frameStale = true;
    bool m_viewUnitPens = false;
    std::vector<std::vector<PlotPoint>> m_outlines;
};

} // namespace vorna
