#pragma once
// An owner-drawn zoom button: two arrows pointing out (expand) or in (compress). The left mouse
// button zooms by the coarse factor, the right one by the fine factor, both repeating while held.

#include <QWidget>

#include "display/CPlot.h"

namespace vorna {

class ZoomArrowButton : public QWidget {
    Q_OBJECT
public:
    ZoomArrowButton(CPlot& plot, ZoomButton id, QWidget* parent = nullptr);
    ZoomButton id() const { return m_id; }
    bool isDown() const { return m_down; }

Q_SIGNALS:
    void pressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CPlot& m_plot;
    ZoomButton m_id;
    bool m_down = false;
};

} // namespace vorna
