#include "display/PlotView.h"

#include <cmath>

namespace vorna {

PlotView ClampView(int start, int end, uint32_t bottom, uint32_t top) {
    // Widths in 64 bits: a caller's end - start must not overflow before it is clamped.
    int64_t w = static_cast<int64_t>(end) - start;
    if (w < kMinViewWidth)
        w = kMinViewWidth;
    else if (w >= kAbsoluteChannels)
        w = kAbsoluteChannels - 1;

    uint32_t span = top - bottom;
    if (span < kMinViewSpan)
        span = kMinViewSpan;
    else if (span >= 4294967295u)
        span = kMaxViewTop;

    int64_t s = start < 0 ? 0 : start;
    int64_t e = s + w;
    if (e >= kAbsoluteChannels) {
        e = kAbsoluteChannels - 1;
        s = e - w;
    }

    uint64_t t = static_cast<uint64_t>(bottom) + span;
    uint64_t b = bottom;
    if (t >= 4294967295u) {
        t = kMaxViewTop;
        b = t - span;
    }
    return PlotView{static_cast<int>(s), static_cast<int>(e), static_cast<uint32_t>(b),
                    static_cast<uint32_t>(t)};
}

int ChannelOfPosition(double position, int gain) {
    return FromAbsolute(static_cast<int>(std::trunc(position + 0.5)), gain);
}

double PlotGeometry::ChannelToPixel(double p) const {
    const double span = view.end - view.start;
    if (span <= 0)
        return 0.0;
    return std::trunc(width * (p - (view.start + 0.5)) / span + 0.5);
}

double PlotGeometry::PixelToChannel(double x) const {
    if (width <= 0)
        return view.start;
    return view.start + x * (view.end - view.start) / width;
}

} // namespace vorna
