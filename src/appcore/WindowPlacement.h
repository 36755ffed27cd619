#pragma once
// Where the main window, its splitters and the dialogs go, in pixels. The profile holds the
// values already converted from 1/10000 of the screen; these rules keep them usable on the
// screen the program runs on now.

#include "settings/ProfilePosition.h"

namespace vorna {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

inline constexpr int kMinimumSplit = 80;
inline constexpr int kMinimumWindowSize = 200;

// The saved normal rectangle, moved back onto the screen when it lies (partly) outside it and
// grown to a usable size when it is degenerate.
PixelRect MainWindowRect(const PixelRect& saved, ScreenSize screen);

// A splitter position: at least 80 pixels, and leaving at least 80 for the other side when the
// extent allows it.
int ClampSplit(int position, int extent);

// "All Panes": the info column width and the plot row height for a client area.
struct PaneSplit {
    int infoWidth = 0;
    int plotHeight = 0;
};
PaneSplit AllPanesSplit(int clientWidth, int clientHeight, int charWidth, int charHeight);

// A dialog's top-left corner: where it was closed last, kept on the screen.
struct PixelPoint {
    int x = 0;
    int y = 0;
};
PixelPoint PlaceDialog(PixelPoint saved, int width, int height, ScreenSize screen);

} // namespace vorna
