#include "appcore/WindowPlacement.h"

#include <algorithm>

namespace vorna {

namespace {

// Keeps [pos, pos + size) inside [0, extent) as far as it fits.
int KeepInside(int pos, int size, int extent) {
    if (extent <= 0)
        return pos;
    return std::clamp(pos, 0, std::max(0, extent - size));
}

} // namespace

PixelRect MainWindowRect(const PixelRect& saved, ScreenSize screen) {
    PixelRect r = saved;
    int w = std::max(r.Width(), kMinimumWindowSize);
    int h = std::max(r.Height(), kMinimumWindowSize);
    if (screen.width > 0)
        w = std::min(w, screen.width);
    if (screen.height > 0)
        h = std::min(h, screen.height);
    r.left = KeepInside(r.left, w, screen.width);
    r.top = KeepInside(r.top, h, screen.height);
    r.right = r.left + w;
    r.bottom = r.top + h;
    return r;
}

int ClampSplit(int position, int extent) {
    int p = std::max(position, kMinimumSplit);
    if (extent >= 2 * kMinimumSplit)
        p = std::min(p, extent - kMinimumSplit);
    return p;
}

PaneSplit AllPanesSplit(int clientWidth, int clientHeight, int cw, int ch) {
    PaneSplit s;
    s.infoWidth = clientWidth - 18 * cw;
    if (s.infoWidth < 5)
        s.infoWidth = clientWidth / 2;
    s.plotHeight = clientHeight - 7 * ch;
    if (s.plotHeight < 5)
        s.plotHeight = clientHeight / 2;
    return s;
}

PixelPoint PlaceDialog(PixelPoint saved, int width, int height, ScreenSize screen) {
    return {KeepInside(saved.x, width, screen.width), KeepInside(saved.y, height, screen.height)};
}

} // namespace vorna
