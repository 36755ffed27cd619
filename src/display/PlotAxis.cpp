#include "display/PlotAxis.h"

#include <cmath>

namespace vorna {

GridLines ComputeGrid(int width, int height, int horzCells, int vertCells) {
    GridLines g;
    // Positions come from repeated subtraction, as the lines are stepped from the far edge.
    if (horzCells > 0) {
        double x = width;
        const double step = static_cast<double>(width) / horzCells;
        for (int i = 1; i < horzCells; ++i) {
            x -= step;
            g.vertical.push_back(static_cast<int>(x));
        }
    }
    if (vertCells > 0) {
        double y = height;
        const double step = static_cast<double>(height) / vertCells;
        for (int i = 1; i < vertCells; ++i) {
            y -= step;
            g.horizontal.push_back(static_cast<int>(y));
        }
    }
    return g;
}

namespace {

std::vector<Tick> ticks(int extent, int cells, bool gridEnabled) {
    std::vector<Tick> out;
    if (cells <= 0)
        return out;
    const int n = 10 * cells;
    for (int i = 1; i < n; ++i) {
        Tick t;
        t.position = static_cast<int>(static_cast<double>(i) * extent / n);
        if (i % 10 == 0) {
            t.major = i / 10;
            t.length = gridEnabled ? 0 : 8;
        } else {
            t.length = i % 10 == 5 ? 6 : 4;
        }
        out.push_back(t);
    }
    return out;
}

} // namespace

std::vector<Tick> HorizontalTicks(int width, int horzCells, bool gridEnabled) {
    return ticks(width, horzCells, gridEnabled);
}

std::vector<Tick> VerticalTicks(int height, int vertCells, bool gridEnabled) {
    return ticks(height, vertCells, gridEnabled);
}

double HorizontalTickValue(const PlotView& v, int k, int horzCells) {
    if (horzCells <= 0)
        return v.start;
    return v.start + static_cast<double>(k) * (v.end - v.start + 1) / horzCells;
}

double VerticalTickValue(const PlotView& v, int k, int vertCells, ScaleType scale) {
    if (vertCells <= 0)
        return v.top;
    const double top = v.top;
    const double bottom = v.bottom;
    switch (scale) {
    case ScaleType::Logarithmic: {
        const double r = std::exp(-std::log((top + 1.0) / (bottom + 1.0)) / vertCells);
        return (top + 1.0) * std::pow(r, k);
    }
    case ScaleType::SquareRoot: {
        const double s = std::sqrt(top) - k * (std::sqrt(top) - std::sqrt(bottom)) / vertCells;
        return s * s;
    }
    case ScaleType::Linear:
        break;
    }
    return top - k * (top - bottom + 1.0) / vertCells;
}

std::string CountLabel(uint64_t value) {
    std::string text = std::to_string(value);
    if (text.size() >= 8)
        return text.substr(0, text.size() - 6) + "m";
    if (text.size() > 4)
        return text.substr(0, text.size() - 3) + "k";
    return text;
}

} // namespace vorna
