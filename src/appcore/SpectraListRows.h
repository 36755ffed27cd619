#pragma once
// What the spectra list window shows: one row per open spectrum with its tag, its status
// letters and a sample of its plot line, and the window's size in character cells.

#include <cstdint>
#include <string>
#include <vector>

namespace vorna {

class CSpectraList;

struct SpectraListRow {
    std::string tag;
    std::string firstLetter;  // "A" active, else "H" hidden, else empty
    std::string secondLetter; // "E" for a derived spectrum
    uint32_t color = 0;       // 0x00BBGGRR, letters and line sample
    int lineWidth = 1;
    bool hidden = false;
};

// Colours of the row decorations, 0x00BBGGRR.
inline constexpr uint32_t kSpectraListContextFill = 0xE8BFBF;
inline constexpr uint32_t kSpectraListSeparator = 0xC1C1C1;

std::vector<SpectraListRow> SpectraListRows(const CSpectraList& list);

// The list's geometry from the interface font's character cell.
struct SpectraListGeometry {
    int rowHeight = 0;
    int width = 0;
    int height = 0;
    int tagX = 0;
    int firstLetterX = 0;
    int secondLetterX = 0;
    int lineFromX = 0;
    int lineToX = 0;
};
SpectraListGeometry SpectraListLayout(int charWidth, int charHeight, int rows);

// The row a right-click at `y` acts on: below the last row means the last row; -1 when empty.
int SpectraListRowAt(int y, int charHeight, int rows);

} // namespace vorna
