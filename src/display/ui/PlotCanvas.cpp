#include "display/ui/PlotCanvas.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "display/ui/QtPlotSupport.h"

namespace vorna {

namespace {

constexpr QRgb kCursorColor = 0x606060;
constexpr QRgb kRoiOutlineColor = 0x404040;

Qt::PenStyle gridPenStyle(int style) {
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

Qt::CursorShape cursorShape(MouseShape s) {
    switch (s) {
    case MouseShape::Cross:
        return Qt::CrossCursor;
    case MouseShape::SizeNorthSouth:
        return Qt::SizeVerCursor;
    case MouseShape::SizeEastWest:
        return Qt::SizeHorCursor;
    case MouseShape::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

// Pens measured in device pixels: a one-pixel line then takes the raster engine's fast line
// path instead of being stroked as a path.
QPen pixelPen(const QColor& color, int width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(color, width <= 1 ? 0 : width, style);
    pen.setCosmetic(true);
    return pen;
}

// A thick pen strokes a long polyline as one joined path, which costs tens of milliseconds for
// a 2000-point outline; separate segments look the same and draw at line speed.
void drawOutline(QPainter& p, const QPolygon& poly, int lineWidth) {
    if (lineWidth <= 1) {
        p.drawPolyline(poly);
        return;
    }
    QList<QLine> segments;
    segments.reserve(poly.size());
    for (qsizetype i = 0; i + 1 < poly.size(); ++i)
        segments.append(QLine(poly[i], poly[i + 1]));
    p.drawLines(segments);
}

// The area under an outline whose points stand one pixel column apart, as a rectangle per
// column: the raster engine fills a 2000-vertex jagged polygon more than ten times slower.
void fillUnderOutline(QPainter& p, const QPolygon& poly, const QColor& colour, int baseline) {
    for (qsizetype i = 1; i + 1 < poly.size(); ++i) {
        const QPoint pt = poly[i];
        if (pt.y() < baseline)
            p.fillRect(pt.x(), pt.y(), 1, baseline - pt.y(), colour);
    }
}

} // namespace

PlotCanvas::PlotCanvas(CPlot& plot, const SpectrumDrawSource& spectra, const Clock& clock,
                       QWidget* parent)
    : QWidget(parent), m_plot(plot), m_spectra(spectra), m_clock(clock) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_plot.AddListener(this);
}

PlotCanvas::~PlotCanvas() {
    m_plot.RemoveListener(this);
}

void PlotCanvas::ViewChanged() {
    PlotInvalidated();
}

// Every data, view, size and settings change ends here, so kept outlines go too.
void PlotCanvas::PlotInvalidated() {
    m_frameStale = true;
    m_outlines.Clear();
    update();
}

void PlotCanvas::ColumnsInvalidated(int x1, int x2) {
    if (m_dirtyLeft > m_dirtyRight) {
        m_dirtyLeft = x1;
        m_dirtyRight = x2;
    } else {
        m_dirtyLeft = std::min(m_dirtyLeft, x1);
        m_dirtyRight = std::max(m_dirtyRight, x2);
    }
    update(QRect(x1, 0, x2 - x1 + 1, height()));
}

void PlotCanvas::CursorMoved(double oldPixel) {
    // Only the two columns of the old and the new line change.
    UpdateCursorColumn(oldPixel);
    UpdateCursorColumn(m_plot.CursorPixel());
}

void PlotCanvas::UpdateCursorColumn(double pixel) {
    const int x = static_cast<int>(std::trunc(pixel + 0.5));
    update(QRect(x - 1, 0, 3, height()));
}

void PlotCanvas::MouseModeChanged() {
    setCursor(cursorShape(m_plot.Shape()));
}

void PlotCanvas::RubberBandChanged() {
    update();
}

const QImage& PlotCanvas::Frame() {
    const bool stale = m_frameStale || m_frame.size() != size();
    if (!stale && m_dirtyLeft > m_dirtyRight)
        return m_frame;
    m_plot.AutoscaleForPaint(); // may change the view, which marks the whole frame stale
    RebuildFrame(m_dirtyLeft, m_dirtyRight);
    return m_frame;
}

void PlotCanvas::RebuildFrame(int x1, int x2) {
    bool whole = m_frameStale || m_frame.size() != size();
    m_frameStale = false;
    m_dirtyLeft = 0;
    m_dirtyRight = -1;
    if (m_frame.size() != size())
        m_frame = QImage(size(), QImage::Format_RGB32);
    if (m_frame.isNull())
        return; // nothing to draw on before the first layout
    const PlotScene scene = BuildPlotScene(m_plot, m_spectra, m_outlines);
    for (;;) {
        const int left = whole ? 0 : std::max(x1, 0);
        const int right = whole ? m_frame.width() - 1 : std::min(x2, m_frame.width() - 1);
        if (left > right)
            return;
        PixelFrame pixels(reinterpret_cast<uint32_t*>(m_frame.bits()),
                          static_cast<int>(m_frame.bytesPerLine() / 4), m_frame.width(),
                          m_frame.height());
        pixels.clipLeft = left;
        pixels.clipRight = right;
        QPainter p(&m_frame);
        const QRect columns(left, 0, right - left + 1, m_frame.height());
        if (!whole)
            p.setClipRect(columns); // everything below draws the same pixels, only fewer of them
        if (DrawScene(p, &pixels, scene) || whole)
            return;
        whole = true; // a clipped wide segment crosses the columns
    }
}

QPen PlotCanvas::ScenePen(const QColor& color, int width, Qt::PenStyle style) const {
    // On paper a line keeps its width in plot pixels rather than in printer dots.
    if (m_viewUnitPens)
        return QPen(color, std::max(1, width), style);
    return pixelPen(color, width, style);
}

void PlotCanvas::PaintContent(QPainter& p) {
    m_viewUnitPens = true;
    DrawScene(p, nullptr, BuildPlotScene(m_plot, m_spectra, m_outlines));
    m_viewUnitPens = false;
}

bool PlotCanvas::DrawScene(QPainter& p, const PixelFrame* pixels, const PlotScene& scene) {
    const PlotSettings& st = m_plot.Settings();
    auto stroke = [&](std::span<const PlotPoint> points, const SceneCurve& c) {
        if (pixels)
            return m_outlinePainter.Draw(p, *pixels, points, ToQColor(c.color), c.lineWidth);
        p.setPen(ScenePen(ToQColor(c.color), c.lineWidth));
        drawOutline(p, ToQPolygon(points), c.lineWidth);
        return true;
    };
    const bool filled = scene.active && scene.active->filled && !scene.active->points.empty();
    if (pixels)
        FillBackground(*pixels,
                       filled ? std::span<const PlotPoint>(scene.active->points)
                              : std::span<const PlotPoint>(),
                       ToQColor(st.fillColor).rgba(), ToQColor(st.backgroundColor).rgba(),
                       height());
    else if (filled)
        fillUnderOutline(p, ToQPolygon(scene.active->points), ToQColor(st.fillColor), height());
    if (scene.active) {
        const SceneCurve& c = *scene.active;
        if (filled) {
            std::vector<PlotPoint> closed = c.points;
            closed.push_back(c.points.front());
            if (!stroke(closed, c))
                return false;
        } else if (!stroke(c.points, c)) {
            return false;
        }
    }
    p.setPen(ScenePen(QColor(kRoiOutlineColor), 1));
    for (const auto* bands : {&scene.overlayBands, &scene.roiBands}) {
        for (const SceneBand& b : *bands) {
            p.setBrush(
                ToQColor(b.brush == BandBrush::SelectedRoi ? st.roiSelectColor : st.roiColor));
            p.drawPolygon(ToQPolygon(b.polygon), Qt::OddEvenFill);
        }
    }
    p.setBrush(Qt::NoBrush);
    for (const SceneCurve& c : scene.others)
        if (!stroke(c.points, c))
            return false;
    DrawAxis(p, scene);
    return true;
}

void PlotCanvas::DrawAxis(QPainter& p, const PlotScene& scene) {
    const PlotSettings& st = m_plot.Settings();
    const int w = width(), h = height();
    p.setPen(ScenePen(ToQColor(st.gridColor), 1, gridPenStyle(st.gridStyle)));
    for (int x : scene.grid.vertical)
        p.drawLine(x, 0, x, h);
    for (int y : scene.grid.horizontal)
        p.drawLine(0, y, w, y);
    p.setPen(ScenePen(ToQColor(st.gridColor), 1, gridPenStyle(st.gridStyle)));
    for (const Tick& t : scene.bottomTicks)
        if (t.length > 0)
            p.drawLine(t.position, h - t.length, t.position, h);
    for (const Tick& t : scene.leftTicks)
        if (t.length > 0)
            p.drawLine(0, t.position, t.length, t.position);
    // Sized in the plot's own pixels, so a printed page scales the labels with the plot.
    QFont labels = font();
    labels.setPixelSize(std::max(1, QFontInfo(font()).pixelSize()));
    p.setFont(labels);
    const QFontMetrics fm(font());
    const int lh = fm.height() + 2;
    p.setPen(palette().color(QPalette::WindowText));
    for (const SceneLabel& l : scene.bottomLabels) {
        const QString text = ToQString(l.text);
        const int tw = fm.horizontalAdvance(text);
        p.drawText(QRect(l.position - tw / 2, h - lh - 6, tw, lh), Qt::AlignCenter, text);
    }
    for (const SceneLabel& l : scene.leftLabels) {
        const QString text = ToQString(l.text);
        p.drawText(QRect(4, l.position - lh, fm.horizontalAdvance(text) + 2, lh),
                   Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void PlotCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r, Frame(), r);
    const double px = m_plot.CursorPixel();
    if (px >= 0 && px < width()) {
        // Drawn by XOR so the line stays visible on any fill.
        const int x = static_cast<int>(std::trunc(px + 0.5));
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(pixelPen(QColor(kCursorColor), 1));
        p.drawLine(x, 0, x, height());
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (auto band = m_plot.CurrentRubberBand()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(band->x1, band->y1), QPoint(band->x2, band->y2)).normalized());
    }
}

void PlotCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const Qt::WindowStates states = window() ? window()->windowState() : Qt::WindowNoState;
    m_plot.Resize(width(), height(), states & Qt::WindowMinimized);
    m_frameStale = true;
}

bool PlotCanvas::event(QEvent* event) {
    // The plot's keys win over menu accelerators with the same key while the plot has the
    // focus; the device keys reach the main window through the model's command requests.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const std::optional<PlotKey> k = ToPlotKey(key->key());
        if (k && FindKeyBinding(*k, key->modifiers() & Qt::ControlModifier)) {
            event->accept();
            return true;
        }
    }
    // Arrows must reach the plot instead of moving the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (ToPlotKey(key->key())) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void PlotCanvas::keyPressEvent(QKeyEvent* event) {
    const std::optional<PlotKey> key = ToPlotKey(event->key());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (key && m_plot.HandleKey(*key, ctrl)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PlotCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    m_plot.MouseDown(pos.x(), pos.y(), m_clock.NowMicros());
}

void PlotCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_plot.MouseMove(pos.x(), pos.y(), m_clock.NowMicros());
}

void PlotCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    m_plot.MouseUp(pos.x(), pos.y());
}

void PlotCanvas::contextMenuEvent(QContextMenuEvent* event) {
    Q_EMIT contextMenuRequested(event->globalPos());
}

} // namespace vorna
