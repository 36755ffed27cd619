#include "display/PlotOutline.h"

#include <algorithm>
#include <cmath>

namespace vorna {

namespace {

// Maps a column's value onto a pixel row for one scale.
struct RowScale {
    ScaleType scale;
    double k = 1.0;   // value to pixels
    double inv = 1.0; // 1 / channels per column
    double lo = 0.0;
    double hi = 0.0;
    double base = 0.0;
    int height = 1;

    RowScale(const OutlineInput& in, double dx) : scale(in.scale), height(in.geometry.height) {
        const PlotView& v = in.geometry.view;
        const double h = height;
        inv = dx > 0 ? 1.0 / dx : 0.0;
        uint32_t span = v.top - v.bottom;
        const double ppc = h / (span == 0 ? 1.0 : static_cast<double>(span));
        if (scale == ScaleType::Linear) {
            lo = v.bottom * ppc;
            hi = v.top * ppc;
            k = inv * ppc;
        } else {
            if (scale == ScaleType::Logarithmic) {
                lo = std::log(static_cast<double>(v.bottom) + 1.0);
                hi = std::log(static_cast<double>(v.top) + 1.0);
            } else {
                lo = std::sqrt(static_cast<double>(v.bottom));
                hi = std::sqrt(static_cast<double>(v.top));
            }
            k = hi > lo ? h / (hi - lo) : h;
            lo *= k;
            hi *= k;
        }
        base = h + lo;
    }

    int Row(double v) const {
        if (scale != ScaleType::Linear) {
            v *= inv;
            // A NaN or negative mean has no row of its own in these scales: draw it as 0.
            if (!(v > 0.0))
                v = 0.0;
            v = scale == ScaleType::Logarithmic ? std::log(v + 1.0) : std::sqrt(v);
        }
        const double y = v * k;
        if (std::isnan(y) || y < lo)
            return height;
        if (y > hi)
            return 0;
        const double d = base - y;
        if (d <= 0)
            return 0;
        return std::min(height, static_cast<int>(std::floor(d + 0.5)));
    }
};

// data[from] + ... + data[to - 1]; four running sums keep the adder busy on wide columns.
double SumChannels(const double* data, int from, int to) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int i = from;
    for (; i + 4 <= to; i += 4) {
        s0 += data[i];
        s1 += data[i + 1];
        s2 += data[i + 2];
        s3 += data[i + 3];
    }
    for (; i < to; ++i)
        s0 += data[i];
    return (s0 + s1) + (s2 + s3);
}

} // namespace

void ComputePlotPoints(const OutlineInput& in, std::vector<PlotPoint>& points) {
    const int w = std::max(1, in.geometry.width);
    const int h = std::max(1, in.geometry.height);
    OutlineInput safe = in;
    safe.geometry.width = w;
    safe.geometry.height = h;

    const int n = 256 << std::clamp(in.gain, 0, 6);
    const int count = static_cast<int>(in.counts.size());
    const int last = std::min({in.lastValidChannel, n - 1, count - 1});
    const double* data = in.counts.data();

    const int cols = w + 1;
    double x0 = in.geometry.view.start * static_cast<double>(n) / kAbsoluteChannels;
    const double xE = in.geometry.view.end * static_cast<double>(n) / kAbsoluteChannels;
    const double dx = (xE - x0) / cols;
    const RowScale rows(safe, dx);

    points.resize(static_cast<size_t>(w) + 3);
    points[0] = {0, h};
    for (int j = 1; j <= cols; ++j) {
        const double x1 = x0 + dx;
        double v = 0.0;
        int i0 = static_cast<int>(x0);
        if (last >= 0 && i0 <= last && x0 >= 0) {
            const double f0 = x0 - i0;
            int i1 = static_cast<int>(x1);
            if (i1 <= last) {
                v = (x1 - i1) * data[i1] - f0 * data[i0];
            } else {
                v = (x1 - last) * data[last] - f0 * data[i0];
                i1 = last;
            }
            v += SumChannels(data, i0, i1);
        }
        points[static_cast<size_t>(j)] = {j - 1, rows.Row(v)};
        x0 = x1;
    }
    points[static_cast<size_t>(w) + 2] = {w + 1, h};
}

OutlineSpan ShownSpan(const PlotGeometry& g) {
    const int maxIndex = std::max(0, g.width + 1); // the line reads one point further
    const int a = std::clamp(g.ChannelToPixelInt(g.view.start), 0, maxIndex);
    const int b = std::clamp(g.ChannelToPixelInt(g.view.end), 0, maxIndex);
    return {a, std::max(a, b)};
}

std::vector<PlotPoint> FillPolygon(std::span<const PlotPoint> outline, const PlotGeometry& g) {
    if (outline.size() < 3)
        return {};
    OutlineSpan s = ShownSpan(g);
    s.last = std::min<int>(s.last, static_cast<int>(outline.size()) - 1);
    std::vector<PlotPoint> poly(outline.begin() + s.first, outline.begin() + s.last + 1);
    poly.front().y = g.height;
    poly.back().y = g.height;
    return poly;
}

std::vector<PlotPoint> OutlineLine(std::span<const PlotPoint> outline, const PlotGeometry& g) {
    if (outline.size() < 3)
        return {};
    const OutlineSpan s = ShownSpan(g);
    const int maxIndex = static_cast<int>(outline.size()) - 1;
    const int first = std::min(s.first + 1, maxIndex);
    const int last = std::min(s.last + 1, maxIndex);
    return {outline.begin() + first, outline.begin() + last + 1};
}

std::optional<std::vector<PlotPoint>> RoiBandPolygon(std::span<const PlotPoint> outline,
                                                     const PlotGeometry& g, int gain, int c1,
                                                     int c2) {
    const PlotView& v = g.view;
    int a = ToAbsolute(c1, gain);
    int b = ToAbsolute(c2 + 1, gain);
    if (b < v.start || a > v.end || outline.size() < 3)
        return std::nullopt;
    const bool leftInside = a >= v.start;
    const bool rightInside = b <= v.end;
    a = std::max(a, v.start);
    b = std::min(b, v.end);

    const int maxIndex = static_cast<int>(outline.size()) - 1;
    const int e = std::clamp(g.ChannelToPixelInt(a), 0, maxIndex);
    const int j = std::clamp(g.ChannelToPixelInt(b) + 2, 0, maxIndex);
    if (j <= e)
        return std::nullopt;
    std::vector<PlotPoint> band(outline.begin() + e, outline.begin() + j + 1);
    band.front().y = g.height;
    band.back().y = g.height;
    if (j - e >= 3) {
        if (leftInside)
            band[1].x -= 1;
        if (rightInside)
            band[band.size() - 2].x += 1;
    }
    return band;
}

} // namespace vorna
