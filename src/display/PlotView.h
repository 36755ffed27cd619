#pragma once
// The plot's view on the absolute channel scale and the mapping between channels and pixels.

#include <cstdint>

namespace vorna {

inline constexpr int kAbsoluteChannels = 16384;
inline constexpr int kMinViewWidth = 63;     // end - start
inline constexpr uint32_t kMinViewSpan = 31; // top - bottom
inline constexpr uint32_t kMaxViewTop = 4294967294u;
// Width and height before the first accepted resize.
inline constexpr int kUnsizedPlot = 1000000;

struct PlotView {
    int start = 0;
    int end = 1023;
    uint32_t bottom = 0;
    uint32_t top = 127;

    bool operator==(const PlotView&) const = default;
};

// The view SetView makes of the wanted values: at least 64 channels and 32 counts, inside the
// absolute scale and below the largest top. `bottom` and `top` are 32-bit counts; their
// difference is taken as an unsigned 32-bit value.
PlotView ClampView(int start, int end, uint32_t bottom, uint32_t top);

// Absolute channel of spectrum channel `c` for channel-count code `gain` (0..6), and back.
inline int ToAbsolute(int c, int gain) {
    return c << (6 - gain);
}
inline int FromAbsolute(int a, int gain) {
    return a >> (6 - gain);
}
// The spectrum channel a fractional absolute position lies in (nearest absolute channel first).
int ChannelOfPosition(double position, int gain);
// Absolute channels per spectrum channel.
inline int AbsoluteStep(int gain) {
    return 1 << (6 - gain);
}

// The view and the plot's client size, everything an outline or a mapping depends on.
struct PlotGeometry {
    PlotView view;
    int width = kUnsizedPlot;
    int height = kUnsizedPlot;

    // trunc(W (p - (S + 0.5)) / (E - S) + 0.5), truncated toward zero.
    double ChannelToPixel(double p) const;
    int ChannelToPixelInt(double p) const { return static_cast<int>(ChannelToPixel(p)); }
    // S + x (E - S) / W.
    double PixelToChannel(double x) const;

    bool operator==(const PlotGeometry&) const = default;
};

} // namespace vorna
