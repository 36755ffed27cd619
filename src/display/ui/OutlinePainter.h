#pragma once
// Draws the plot's outlines into the frame the way the painter draws them, only faster. One-pixel
// outlines are stepped by the plot's own rasteriser. Wide pens (the contour width of most
// spectrum slots) are drawn as separate segments; the painter sets the same pixels for every
// segment of one shape wherever it lies, as long as it does not clip it, so each shape's pixels
// are learnt from the painter once and stamped from then on. Segments the painter would clip
// (at the frame's edges) are still drawn by the painter.

#include <QColor>
#include <QPainter>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "display/PlotRaster.h"

namespace vorna {

class OutlinePainter {
public:
    // The painter's pen for an outline: measured in device pixels, one pixel when `width` <= 1.
    static QPen Pen(const QColor& colour, int width);

    // Draws the polyline through `points`. `painter` draws on the same image as `frame`, clipped
    // to the frame's clip columns when those are not the whole frame. False, with nothing drawn,
    // when only some columns are being drawn and a segment the painter must clip crosses them:
    // the clip would change that segment's pixels, so the caller redraws the whole frame.
    bool Draw(QPainter& painter, const PixelFrame& frame, std::span<const PlotPoint> points,
              const QColor& colour, int width);

    // The painter's pixels for one wide segment of shape (dx, dy); null for shapes not kept
    // (very long segments, very wide pens).
    const SegmentFootprint* Footprint(int penWidth, int dx, int dy);

private:
    std::unordered_map<long long, SegmentFootprint> m_footprints;
    std::vector<std::pair<PlotPoint, const SegmentFootprint*>> m_stamps; // reused between calls
};

} // namespace vorna
