#include "settings/ProfilePosition.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace vorna {
namespace {

// 64-bit intermediates: a hand-edited stored value near the int limits must not overflow.
int clampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

// Rounds toward minus infinity: the same as C division for the usual non-negative positions,
// and it keeps a window left of or above the primary screen (negative pixels) from creeping one
// pixel per session towards it.
int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

} // namespace

int PositionToPixels(int stored, int extent) {
    if (extent <= 0)
        return stored;
    return clampToInt(floorDiv(int64_t(stored) * extent + 5000, 10000));
}

int PixelsToPosition(int pixels, int extent) {
    if (extent <= 0)
        return pixels;
    return clampToInt(floorDiv(int64_t(pixels) * 10000 + extent / 2, extent));
}

} // namespace vorna
