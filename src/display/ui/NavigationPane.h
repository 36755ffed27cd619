#pragma once
// The navigation ("select") pane under the plot: range and count fields that take typed
// ranges, the cursor's value and count, the scale label and the four zoom buttons.
//
//   auto* nav = new NavigationPane(plot, parent); // plot: the CPlot the PlotWidget shows
//   nav->setPlotFocusTarget(plotWidget);          // clicks here give the plot the keyboard
//
// The pane's font is the select-pane font; setBackground() takes the select-pane colour.

#include <QLineEdit>
#include <QWidget>
#include <array>

#include "display/CPlot.h"

class QPainter;

namespace vorna {

class ZoomArrowButton;

class NavigationPane : public QWidget, public PlotListener {
    Q_OBJECT
public:
    explicit NavigationPane(CPlot& plot, QWidget* parent = nullptr);
    ~NavigationPane() override;

    void setPlotFocusTarget(QWidget* target) { m_focusTarget = target; }
    void setBackground(const QColor& color);

    QLineEdit* field(NavField f) const;
    ZoomArrowButton* zoomButton(ZoomButton b) const;
    // The texts the pane paints (for tests and the info pane's neighbours).
    QString scaleLabel() const;
    QString cursorValueText() const;
    QString cursorCountText() const;
    QString unitLabel() const;
    // The captions, values and field texts for a printed page, in the pane's own pixels.
    void PaintForPrint(QPainter& p) const;

    void ViewChanged() override;
    void CursorMoved(double) override { update(); }
    void ScaleTypeChanged(ScaleType) override { update(); }
    void UnitsChanged() override;

Q_SIGNALS:
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Layout {
        int cw = 0, lh = 0;
        int c1 = 0, c2 = 0, c3 = 0, c4 = 0, c5 = 0;
        int y0 = 0, y1 = 0, y2 = 0;
    };
    Layout ComputeLayout() const;
    void PaintCaptions(QPainter& p) const;
    void Relayout();
    void RefreshFields();
    void FocusPlot();

    CPlot& m_plot;
    QWidget* m_focusTarget = nullptr;
    std::array<QLineEdit*, 4> m_fields{};
    std::array<ZoomArrowButton*, 4> m_buttons{}; // 131, 132, 134, 135
    QSize m_laidOutFor;
};

} // namespace vorna
