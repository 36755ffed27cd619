#include "display/PlotRaster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace vorna {

namespace {

// Which way the last segment was stepped; a turn between the two kinds may leave a gap or a
// doubled pixel at the joint, which the next segment mends.
enum Direction : int { Down = 1, Up = 2, Right = 4, Left = 8 };
constexpr int kVertical = Down | Up;
constexpr int kHorizontal = Right | Left;

// Half-pixel extensions at the ends of a segment (square caps).
constexpr int kCapBegin = 1;
constexpr int kCapEnd = 2;

int swapCaps(int caps) {
    return ((caps & kCapBegin) << 1) | ((caps & kCapEnd) >> 1);
}

struct Pixel {
    long long x = INT_MIN;
    long long y = INT_MIN;
    bool operator==(const Pixel&) const = default;
};

class OutlinePen {
public:
    OutlinePen(const PixelFrame& frame, uint32_t pixel) : m_frame(frame), m_pixel(pixel) {}

    // Points are whole pixels; inside the pen they are 26.6 fixed point.
    void Segment(PlotPoint from, PlotPoint to, int caps) {
        long long x1 = from.x * 64LL, y1 = from.y * 64LL, x2 = to.x * 64LL, y2 = to.y * 64LL;
        if (std::llabs(x2 - x1) < std::llabs(y2 - y1))
            Steep(x1, y1, x2, y2, caps);
        else if (x2 != x1)
            Flat(x1, y1, x2, y2, caps);
    }

    // A closed outline starts as if its closing segment had just been drawn.
    void PrimeWithClosingSegment(PlotPoint from, PlotPoint to) {
        m_last = Pixel{-1, -1};
        long long x1 = from.x * 64LL, y1 = from.y * 64LL, x2 = to.x * 64LL, y2 = to.y * 64LL;
        if (std::llabs(x2 - x1) < std::llabs(y2 - y1)) {
            const bool swapped = y1 > y2;
            if (swapped) {
                std::swap(x1, x2);
                std::swap(y1, y2);
            }
            const long long inc = Divide(x2 - x1, y2 - y1);
            long long pos = x1 << 10;
            const long long row = (y1 + 32) >> 6, rowEnd = (y2 + 32) >> 6;
            if (row == rowEnd)
                return;
            pos += (((row << 6) + (inc > 0 ? 32 : 0) - y1) * inc) >> 6;
            m_last = swapped ? Pixel{pos >> 16, row}
                             : Pixel{(pos + (rowEnd - row - 1) * inc) >> 16, rowEnd - 1};
            m_lastDir = swapped ? Up : Down;
            m_lastAxisAligned = std::llabs(inc) < (1 << 14);
        } else {
            if (x1 == x2)
                return;
            const bool swapped = x1 > x2;
            if (swapped) {
                std::swap(x1, x2);
                std::swap(y1, y2);
            }
            const long long inc = Divide(y2 - y1, x2 - x1);
            long long pos = y1 << 10;
            const long long col = (x1 + 32) >> 6, colEnd = (x2 + 32) >> 6;
            if (col == colEnd)
                return;
            pos += (((col << 6) + (inc > 0 ? 32 : 0) - x1) * inc) >> 6;
            m_last = swapped ? Pixel{col, pos >> 16}
                             : Pixel{colEnd - 1, (pos + (colEnd - col - 1) * inc) >> 16};
            m_lastDir = swapped ? Left : Right;
            m_lastAxisAligned = std::llabs(inc) < (1 << 14);
        }
    }

private:
    static long long Divide(long long a, long long b) { return (a << 16) / b; }

    void Plot(long long x, long long y) const {
        if (x < m_frame.clipLeft || x > m_frame.clipRight || y < 0 || y >= m_frame.height)
            return;
        m_frame.pixels[y * m_frame.stride + x] = m_pixel;
    }

    // Whether the joint with the previous segment needs one more pixel to stay closed.
    bool NeedsJointPixel(Pixel first, int dir, bool axisAligned) const {
        if (m_lastDir == dir)
            return false;
        if (axisAligned && m_lastAxisAligned && m_last.x != first.x && m_last.y != first.y)
            return true;
        return std::llabs(m_last.x - first.x) > 1 || std::llabs(m_last.y - first.y) > 1;
    }

    // Stepped row by row (the line is more vertical than horizontal).
    void Steep(long long x1, long long y1, long long x2, long long y2, int caps) {
        int dir = Down;
        const bool swapped = y1 > y2;
        if (swapped) {
            std::swap(x1, x2);
            std::swap(y1, y2);
            caps = swapCaps(caps);
            dir = Up;
        }
        const long long inc = Divide(x2 - x1, y2 - y1);
        long long pos = x1 << 10;
        if ((m_lastDir ^ kVertical) == dir)
            caps |= swapped ? kCapEnd : kCapBegin;
        if (caps & kCapBegin) {
            y1 -= 32;
            pos -= inc >> 1;
        }
        if (caps & kCapEnd)
            y2 += 32;
        long long row = (y1 + 32) >> 6;
        long long rowEnd = (y2 + 32) >> 6;
        // A begin cap must not move the start off the pixel the previous segment ended on.
        if ((caps & kCapBegin) && m_last.y == row + 1)
            ++row;
        if (row == rowEnd)
            return;
        pos += (((row << 6) + (inc > 0 ? 32 : 0) - y1) * inc) >> 6;
        Pixel first{pos >> 16, row};
        Pixel last{(pos + (rowEnd - row - 1) * inc) >> 16, rowEnd - 1};
        if (swapped)
            std::swap(first, last);
        const bool axisAligned = std::llabs(inc) < (1 << 14);
        if (m_last.x >= 0) {
            if (first == m_last) {
                if (swapped) {
                    --rowEnd;
                } else {
                    ++row;
                    pos += inc;
                }
            } else if (NeedsJointPixel(first, dir, axisAligned)) {
                if (swapped) {
                    ++rowEnd;
                } else {
                    --row;
                    pos -= inc;
                }
            }
        }
        m_lastDir = dir;
        m_lastAxisAligned = axisAligned;
        do {
            Plot(pos >> 16, row);
            pos += inc;
        } while (++row < rowEnd);
        m_last = last;
    }

    // Stepped column by column.
    void Flat(long long x1, long long y1, long long x2, long long y2, int caps) {
        int dir = Right;
        const bool swapped = x1 > x2;
        if (swapped) {
            std::swap(x1, x2);
            std::swap(y1, y2);
            caps = swapCaps(caps);
            dir = Left;
        }
        const long long inc = Divide(y2 - y1, x2 - x1);
        long long pos = y1 << 10;
        if ((m_lastDir ^ kHorizontal) == dir)
            caps |= swapped ? kCapEnd : kCapBegin;
        if (caps & kCapBegin) {
            x1 -= 32;
            pos -= inc >> 1;
        }
        if (caps & kCapEnd)
            x2 += 32;
        long long col = (x1 + 32) >> 6;
        long long colEnd = (x2 + 32) >> 6;
        if ((caps & kCapBegin) && m_last.x == col + 1)
            ++col;
        if (col == colEnd)
            return;
        pos += (((col << 6) + (inc > 0 ? 32 : 0) - x1) * inc) >> 6;
        Pixel first{col, pos >> 16};
        Pixel last{colEnd - 1, (pos + (colEnd - col - 1) * inc) >> 16};
        if (swapped)
            std::swap(first, last);
        const bool axisAligned = std::llabs(inc) < (1 << 14);
        if (m_last.x >= 0) {
            if (first == m_last) {
                if (swapped) {
                    --colEnd;
                } else {
                    ++col;
                    pos += inc;
                }
            } else if (NeedsJointPixel(first, dir, axisAligned)) {
                if (swapped) {
                    ++colEnd;
                } else {
                    --col;
                    pos -= inc;
                }
            }
        }
        m_lastDir = dir;
        m_lastAxisAligned = axisAligned;
        do {
            Plot(col, pos >> 16);
            pos += inc;
        } while (++col < colEnd);
        m_last = last;
    }

    const PixelFrame& m_frame;
    uint32_t m_pixel;
    Pixel m_last;
    int m_lastDir = 0; // none yet
    bool m_lastAxisAligned = false;
};

} // namespace

void FillBackground(const PixelFrame& frame, std::span<const PlotPoint> polygon, uint32_t areaPixel,
                    uint32_t backgroundPixel, int baseline) {
    const int left = std::max(frame.clipLeft, 0),
              right = std::min(frame.clipRight, frame.width - 1);
    if (left > right)
        return;
    const int bottom = std::min(baseline, frame.height);
    // The first row of the area in each column (bottom: none); then one pass row by row, which
    // writes the frame in memory order.
    std::vector<int> top(static_cast<size_t>(right - left + 1), frame.height);
    for (size_t i = 1; i + 1 < polygon.size(); ++i) {
        const PlotPoint pt = polygon[i];
        if (pt.x >= left && pt.x <= right && pt.y < bottom) {
            int& t = top[static_cast<size_t>(pt.x - left)];
            t = std::min(t, std::max(pt.y, 0));
        }
    }
    const int n = right - left + 1;
    const int* tops = top.data();
    for (int y = 0; y < frame.height; ++y) {
        uint32_t* row = frame.pixels + static_cast<size_t>(y) * frame.stride + left;
        const uint32_t area = y < bottom ? areaPixel : backgroundPixel;
        for (int x = 0; x < n; ++x)
            row[x] = y >= tops[x] ? area : backgroundPixel;
    }
}

void FillUnderOutline(const PixelFrame& frame, std::span<const PlotPoint> polygon, uint32_t pixel,
                      int baseline) {
    if (polygon.size() < 3)
        return;
    const int bottom = std::min(baseline, frame.height);
    for (size_t i = 1; i + 1 < polygon.size(); ++i) {
        const PlotPoint pt = polygon[i];
        if (pt.x < frame.clipLeft || pt.x > frame.clipRight)
            continue;
        uint32_t* p = frame.pixels + static_cast<size_t>(std::max(pt.y, 0)) * frame.stride + pt.x;
        for (int y = std::max(pt.y, 0); y < bottom; ++y, p += frame.stride)
            *p = pixel;
    }
}

bool StrokeOutline(const PixelFrame& frame, std::span<const PlotPoint> points, uint32_t pixel) {
    for (const PlotPoint& p : points)
        if (p.x < 0 || p.x > frame.width + 1 || p.y < 0 || p.y > frame.height + 1)
            return false;
    if (points.size() < 2)
        return true;
    OutlinePen pen(frame, pixel);
    // A closed outline is primed with its last real segment, so its first joint is mended too.
    const bool closed = points.front() == points.back();
    if (closed)
        pen.PrimeWithClosingSegment(points.size() > 2 ? points[points.size() - 2] : points.back(),
                                    points.front());
    int caps = closed ? 0 : kCapBegin;
    for (size_t i = 1; i < points.size(); ++i) {
        if (!closed && i + 1 == points.size())
            caps |= kCapEnd;
        pen.Segment(points[i - 1], points[i], caps);
        caps = 0;
    }
    return true;
}

bool WideSegmentUnclipped(int width, int height, PlotPoint a, PlotPoint b, int penWidth) {
    // Ends a pen's width inside the frame are never clipped: the caps reach half a pen further.
    const auto deepInside = [&](PlotPoint p) {
        return p.x >= penWidth && p.x <= width - penWidth && p.y >= penWidth &&
               p.y <= height - penWidth;
    };
    if (deepInside(a) && deepInside(b) && !(a == b))
        return true;
    // The toolkit widens the frame by the pen's reach across the line and clips the capped ends
    // against it; stay a margin inside so rounding cannot decide the other way.
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0) || penWidth <= 0)
        return false;
    const double along = 0.5 * penWidth / length;
    const double ax = a.x - dx * along, ay = a.y - dy * along;
    const double bx = b.x + dx * along, by = b.y + dy * along;
    const double reachX = std::abs(dy) * along, reachY = std::abs(dx) * along;
    constexpr double kMargin = 1e-6;
    const double xmin = -reachX + kMargin, xmax = width + reachX - kMargin;
    const double ymin = -reachY + kMargin, ymax = height + reachY - kMargin;
    return ax >= xmin && ax <= xmax && bx >= xmin && bx <= xmax && ay >= ymin && ay <= ymax &&
           by >= ymin && by <= ymax;
}

void StampFootprint(const PixelFrame& frame, PlotPoint start, const SegmentFootprint& footprint,
                    uint32_t pixel) {
    const int firstX = start.x + footprint.firstColumn;
    for (size_t k = 0; k < footprint.rows.size(); ++k) {
        const int x = firstX + static_cast<int>(k);
        if (x < frame.clipLeft || x > frame.clipRight)
            continue;
        const int top = std::max(0, start.y + footprint.rows[k].first);
        const int bottom = std::min(frame.height - 1, start.y + footprint.rows[k].second);
        uint32_t* p = frame.pixels + static_cast<size_t>(std::max(top, 0)) * frame.stride + x;
        for (int y = top; y <= bottom; ++y, p += frame.stride)
            *p = pixel;
    }
}

} // namespace vorna
