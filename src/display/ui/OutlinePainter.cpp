#include "display/ui/OutlinePainter.h"

#include <QImage>
#include <QLine>
#include <QList>
#include <algorithm>
#include <cstdlib>

namespace vorna {

namespace {

constexpr int kMaxPenWidth = 16;
constexpr int kMaxShapeDx = 4;
constexpr int kMaxShapeDy = 8192;

} // namespace

QPen OutlinePainter::Pen(const QColor& colour, int width) {
    // A one-pixel pen in device pixels takes the painter's fast line path.
    QPen pen(colour, width <= 1 ? 0 : width);
    pen.setCosmetic(true);
    return pen;
}

const SegmentFootprint* OutlinePainter::Footprint(int penWidth, int dx, int dy) {
    if (penWidth < 2 || penWidth > kMaxPenWidth || std::abs(dx) > kMaxShapeDx ||
        std::abs(dy) > kMaxShapeDy || (dx == 0 && dy == 0))
        return nullptr;
    const long long key = (static_cast<long long>(penWidth) << 40) |
                          (static_cast<long long>(dx + 64) << 24) |
                          static_cast<long long>(dy + kMaxShapeDy + 1);
    if (auto it = m_footprints.find(key); it != m_footprints.end())
        return &it->second;

    // Drawn well inside a scratch image, so the painter does not clip it.
    const int margin = 2 * penWidth + 4;
    const int w = std::abs(dx) + 2 * margin + 1, h = std::abs(dy) + 2 * margin + 1;
    const int x0 = margin + std::max(0, -dx), y0 = margin + std::max(0, -dy);
    QImage scratch(w, h, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    {
        QPainter p(&scratch);
        p.setPen(Pen(Qt::black, penWidth));
        p.drawLines(QList<QLine>{QLine(x0, y0, x0 + dx, y0 + dy)});
    }
    SegmentFootprint fp;
    int first = -1, last = -1;
    std::vector<std::pair<int, int>> columns(static_cast<size_t>(w), {1, 0});
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (row[x] == 0xFFFFFFFFu)
                continue;
            auto& c = columns[static_cast<size_t>(x)];
            if (c.first > c.second)
                c = {y - y0, y - y0};
            else
                c.second = y - y0;
            first = first < 0 ? x : std::min(first, x);
            last = std::max(last, x);
        }
    }
    if (first >= 0) {
        fp.firstColumn = first - x0;
        fp.rows.assign(columns.begin() + first, columns.begin() + last + 1);
    }
    return &m_footprints.emplace(key, std::move(fp)).first->second;
}

bool OutlinePainter::Draw(QPainter& painter, const PixelFrame& frame,
                          std::span<const PlotPoint> points, const QColor& colour, int width) {
    const uint32_t pixel = colour.rgba();
    if (width <= 1 && StrokeOutline(frame, points, pixel))
        return true;
    QList<QLine> painted;
    if (width > 1) {
        const bool someColumns = frame.clipLeft > 0 || frame.clipRight < frame.width - 1;
        m_stamps.clear();
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            const PlotPoint a = points[i], b = points[i + 1];
            if (WideSegmentUnclipped(frame.width, frame.height, a, b, width)) {
                if (const SegmentFootprint* fp = Footprint(width, b.x - a.x, b.y - a.y)) {
                    m_stamps.push_back({a, fp});
                    continue;
                }
            }
            // A level segment keeps its pixels when clipped to columns; any other may not.
            const int reach = width + 2;
            if (someColumns && a.y != b.y && std::max(a.x, b.x) + reach >= frame.clipLeft &&
                std::min(a.x, b.x) - reach <= frame.clipRight)
                return false;
            painted.append(QLine(a.x, a.y, b.x, b.y));
        }
        for (const auto& [start, fp] : m_stamps)
            StampFootprint(frame, start, *fp, pixel);
    } else {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            painted.append(QLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y));
    }
    if (painted.isEmpty())
        return true;
    painter.setPen(Pen(colour, width));
    if (width <= 1) {
        QPolygon poly;
        for (const PlotPoint& pt : points)
            poly << QPoint(pt.x, pt.y);
        painter.drawPolyline(poly);
    } else {
        painter.drawLines(painted);
    }
    return true;
}

} // namespace vorna
