#include "display/ui/ZoomArrowButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace vorna {

namespace {

// A small filled triangle with its tip at `tip`, pointing along (dx, dy).
void arrow(QPainter& p, QPointF tip, double dx, double dy, double size) {
    const QPointF back(tip.x() - dx * size, tip.y() - dy * size);
    const QPointF side(-dy * size * 0.6, dx * size * 0.6);
    p.drawPolygon(QPolygonF{tip, back + side, back - side});
}

} // namespace

ZoomArrowButton::ZoomArrowButton(CPlot& plot, ZoomButton id, QWidget* parent)
    : QWidget(parent), m_plot(plot), m_id(id) {
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::PreventContextMenu); // the right button zooms finely
}

void ZoomArrowButton::paintEvent(QPaintEvent*) {
    QStylePainter sp(this);
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.state |= m_down ? QStyle::State_Sunken : QStyle::State_Raised;
    sp.drawControl(QStyle::CE_PushButtonBevel, opt);

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::ButtonText));
    const double w = width(), h = height(), s = std::min(w, h) * 0.3;
    const QPointF c(w / 2, h / 2);
    const bool horizontal =
        m_id == ZoomButton::HorizontalCompress || m_id == ZoomButton::HorizontalExpand;
    const bool expand = m_id == ZoomButton::HorizontalExpand || m_id == ZoomButton::VerticalExpand;
    const double reach = std::min(w, h) * 0.4;
    const double dx = horizontal ? 1 : 0, dy = horizontal ? 0 : 1;
    if (expand) {
        arrow(p, c + QPointF(dx * reach, dy * reach), dx, dy, s);
        arrow(p, c - QPointF(dx * reach, dy * reach), -dx, -dy, s);
    } else {
        arrow(p, c - QPointF(dx, dy), dx, dy, s);
        arrow(p, c + QPointF(dx, dy), -dx, -dy, s);
    }
}

void ZoomArrowButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    m_down = true;
    update();
    Q_EMIT pressed();
    m_plot.PressZoomButton(m_id, event->button() == Qt::LeftButton);
}

void ZoomArrowButton::mouseReleaseEvent(QMouseEvent*) {
    if (!m_down)
        return;
    m_down = false;
    update();
    m_plot.ReleaseZoomButton();
}

} // namespace vorna
