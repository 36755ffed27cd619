#pragma once
// Where a view lands on a printed page: the mapping of the view's own pixels onto the paper, the
// header band above it, and the note lines under its frame. The painter side only replays what
// these functions decide.

#include <ctime>
#include <string>
#include <vector>

namespace vorna {

// A rectangle in the view's logical units: `right` is the width fitted to the page, `top` and
// the band value give the header height, `bottom` is where the notes start.
struct PrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The window (logical) rectangle shown on the viewport (device pixels), as a painter takes them.
struct PageMapping {
    int windowX = 0;
    int windowY = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int viewportWidth = 0;
    int viewportHeight = 0;
    int header = 0; // height of the header band above the view
};

// The printable area of the page: millimetres and device pixels.
struct PageArea {
    double widthMm = 0;
    double heightMm = 0;
    int widthPx = 0;
    int heightPx = 0;
};

// The view plus 5 % of its width on each side fills the page width, logical units are square
// on paper, and the page starts the header band above the view.
PageMapping MapViewToPage(const PrintRect& r, int band, const PageArea& page);

// The plot page: the plot's client size W x H gives the frame P x Q that also holds the info
// pane to the right of the plot and the navigation pane under it: a fifth of W and 15 % of H,
// or more where the panes (`paneWidth`, `paneHeight`) need it.
struct PlotPrintFrame {
    PrintRect rect;
    int band = 0;
};
PlotPrintFrame PlotPrintRect(int width, int height, int paneWidth = 0, int paneHeight = 0);

// The ROI list page: `rows` lines (the header line included) in a character cell cw x ch, 80
// characters wide or as wide as the lines' texts need (`contentWidth`).
PlotPrintFrame RoiListPrintRect(int charWidth, int charHeight, int rows, int contentWidth = 0);
// The height of one printed ROI list line.
int RoiListPrintRowHeight(int charHeight);

struct PrintText {
    int x = 0;
    int y = 0; // top of the text
    std::string text;
};

// The three header texts: file name and tag, start time (now, in ctime's layout, when the
// spectrum has none) and description.
std::vector<PrintText> PageHeaderTexts(const PrintRect& r, int header, const std::string& fileName,
                                       const std::string& tag, const std::string& startTime,
                                       const std::string& description, std::time_t now);

// ctime's layout without its line end: "Wed Jun 30 21:49:08 1993", in the local time zone.
std::string CtimeText(std::time_t when);

// A note block cut into printed lines at each line break; an empty block is one empty line.
std::vector<std::string> NoteLines(const std::string& block);

// What goes under the frame of a spectrum's page.
struct PageNotes {
    bool printNotes = true;
    std::string generalNotes;
    std::string systemNotes;
    std::string otherNotes;
    // The DPP configuration block; empty when it is not to be printed.
    std::string configuration;
    bool printConfiguration = false;
};

// The note lines at their places: from R.bottom + 2 th down, th + 4 apart.
std::vector<PrintText> PageNoteTexts(const PrintRect& r, int textHeight, const PageNotes& notes);

// The DPP configuration that a page of `spectrum` carries.
struct ConfigurationSource {
    int listPosition = 0;    // 0 is the live spectrum
    int deviceCode = 0;      // the DPP device code a file spectrum carries
    std::string tag;         // the spectrum's tag
    std::string stored;      // the configuration text a file spectrum carries
    int deviceType = 0;      // the program's device type (0: Kestrel family)
    bool liveLoaded = false; // a DPP configuration is loaded for the live spectrum
    std::string current;     // the connected DPP's current configuration text
};
std::string ConfigurationBlockText(const ConfigurationSource& source);

} // namespace vorna
