#pragma once
// A spectrum's outline: one point per pixel column, bracketed by two baseline points, so one
// buffer serves the filled polygon, the line and the ROI bands.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "display/PlotView.h"

namespace vorna {

// Vertical scale; the numbers are the profile's "scale_type".
enum class ScaleType : int { Linear = 0, Logarithmic = 1, SquareRoot = 2 };

struct PlotPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PlotPoint&) const = default;
};

struct OutlineInput {
    std::span<const double> counts; // channels 0..N-1 (shorter spans read as zero past the end)
    int gain = 6;                   // N = 256 << gain
    int lastValidChannel = 0;       // columns past it repeat its count
    PlotGeometry geometry;
    ScaleType scale = ScaleType::Linear;
};

// Fills `points` with W + 3 points: (0, H), one per column x = 0..W, then (W + 1, H). The
// buffer is resized to the width, so any plot width is drawn exactly. Every row lies in 0..H,
// whatever the counts (zero, negative, infinite or NaN).
void ComputePlotPoints(const OutlineInput& in, std::vector<PlotPoint>& points);

// Index range of the outline buffer for the shown channels start..end: the fill polygon uses
// points first..last, the line points first + 1..last + 1. Kept inside the buffer even when
// the plot is many times wider than the view.
struct OutlineSpan {
    int first = 0;
    int last = 0;
};
OutlineSpan ShownSpan(const PlotGeometry& g);

// The polygon of the filled area under the outline (both ends dropped to the baseline).
std::vector<PlotPoint> FillPolygon(std::span<const PlotPoint> outline, const PlotGeometry& g);
// The polyline of the outline across the shown columns.
std::vector<PlotPoint> OutlineLine(std::span<const PlotPoint> outline, const PlotGeometry& g);
// The band under the outline for spectrum channels c1..c2, or nothing when it lies outside the
// view. A side cut by the view edge stays slanted; a side inside the view is made vertical.
std::optional<std::vector<PlotPoint>>
RoiBandPolygon(std::span<const PlotPoint> outline, const PlotGeometry& g, int gain, int c1, int c2);

} // namespace vorna
