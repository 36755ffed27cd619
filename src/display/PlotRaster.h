#pragma once
// Drawing the outlines straight into a 32-bit frame: the area under the active spectrum and the
// one-pixel contour lines. A general-purpose painter spends most of a full repaint on these
// (about 40 000 short segments for twenty spectra); here each segment costs a few integer steps.
//
// The pixels are the ones the widget toolkit's raster painter sets for the same calls: a column
// rectangle per point for the fill, and an aliased one-pixel polyline with square caps (integer
// points stepped in 26.6 and 16.16 fixed point, the half-pixel caps, and the same pixel-dropout
// control where a line turns between mostly vertical and mostly horizontal). The widget tests
// compare both on many outlines.

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "display/PlotOutline.h"

namespace vorna {

// A frame of width x height pixels, `stride` pixels per row. Drawing only touches columns
// clipLeft..clipRight (inclusive), so a few columns can be redrawn exactly as a full paint would
// draw them.
struct PixelFrame {
    uint32_t* pixels = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    int clipLeft = 0;
    int clipRight = -1;

    PixelFrame(uint32_t* p, int strideInPixels, int w, int h)
        : pixels(p), stride(strideInPixels), width(w), height(h), clipLeft(0), clipRight(w - 1) {}
};

// Colours the rows from each inner point's row down to `baseline` - 1 in the point's column
// (every point except the first and the last, which close the polygon on the baseline).
void FillUnderOutline(const PixelFrame& frame, std::span<const PlotPoint> polygon, uint32_t pixel,
                      int baseline);

// Fills the clip columns with the background and, in one pass, the area FillUnderOutline would
// colour (pass an empty polygon for the background alone).
void FillBackground(const PixelFrame& frame, std::span<const PlotPoint> polygon, uint32_t areaPixel,
                    uint32_t backgroundPixel, int baseline);

// Strokes the polyline through `points` one pixel wide. False (nothing drawn) when a point lies
// left of or above the frame or more than one pixel right of or below it, where the toolkit
// clips the segments first; the caller then draws that polyline with the toolkit. Outlines never
// leave that area.
bool StrokeOutline(const PixelFrame& frame, std::span<const PlotPoint> points, uint32_t pixel);

// The pixels a wide pen sets for one straight segment, relative to the segment's start: column
// firstColumn + k covers rows rows[k].first..rows[k].second (none when first > second). The
// toolkit's wide lines do not depend on where they are drawn as long as it does not have to clip
// them, so one footprint per pen width and segment shape serves every segment of that shape.
struct SegmentFootprint {
    int firstColumn = 0;
    std::vector<std::pair<int, int>> rows;
};

// Whether a segment drawn with a wide pen of `penWidth` (square caps) stays far enough inside a
// frame of width x height that the toolkit draws it unclipped, that is as its footprint.
bool WideSegmentUnclipped(int width, int height, PlotPoint a, PlotPoint b, int penWidth);

// Sets the footprint's pixels for a segment starting at `start` (inside the clip columns only).
void StampFootprint(const PixelFrame& frame, PlotPoint start, const SegmentFootprint& footprint,
                    uint32_t pixel);

} // namespace vorna
