#pragma once
// Window and dialog positions are stored in 1/10000 of the screen so that they survive a change
// of resolution. Integer arithmetic, rounding to the nearest unit as the stored values expect.

namespace vorna {

// Screen size in pixels; a size of 0 (no screen, e.g. a batch tool) leaves positions unscaled.
struct ScreenSize {
    int width = 0;
    int height = 0;
};

// (stored × extent + 5000) / 10000.
int PositionToPixels(int stored, int extent);
// (pixels × 10000 + extent / 2) / extent.
int PixelsToPosition(int pixels, int extent);

} // namespace vorna
