#pragma once
// Grid lines, tick marks and axis label values of the plot.

#include <cstdint>
#include <string>
#include <vector>

#include "display/PlotOutline.h"
#include "display/PlotView.h"

namespace vorna {

struct GridLines {
    std::vector<int> vertical;   // x of each vertical line, 0..H tall
    std::vector<int> horizontal; // y of each horizontal line, 0..W wide
};
// Cell counts of zero or less draw no lines.
GridLines ComputeGrid(int width, int height, int horzCells, int vertCells);

struct Tick {
    int position = 0; // x for horizontal ticks, y (from the top) for vertical ones
    int length = 0;   // 0: a major tick with the grid on draws no line
    int major = -1;   // k of a labelled tick, -1 for the others
};
// Ticks along the bottom (10 per cell) and along the left edge.
std::vector<Tick> HorizontalTicks(int width, int horzCells, bool gridEnabled);
std::vector<Tick> VerticalTicks(int height, int vertCells, bool gridEnabled);

// Absolute position of the k-th major horizontal tick.
double HorizontalTickValue(const PlotView& v, int k, int horzCells);
// Count at the k-th major vertical tick (from the top) in the given scale.
double VerticalTickValue(const PlotView& v, int k, int vertCells, ScaleType scale);

// "%lu" of the count, with "k" for the last three digits of 5..7-digit numbers and "m" for the
// last six of longer ones.
std::string CountLabel(uint64_t value);

} // namespace vorna
