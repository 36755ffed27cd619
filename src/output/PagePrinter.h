#pragma once
// One printed page of a view (the plot with its panes, the ROI list): the print dialog, the
// mapping of the view's pixels onto the paper, the header band naming the spectrum, the notes
// under the frame and the frame itself. The caller draws the view between Begin and End in its
// own coordinates.

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <ctime>
#include <memory>
#include <string>

#include "output/core/PagePrintLayout.h"

class QWidget;

namespace vorna {

class PrinterChoice;

struct PageSpectrumTexts {
    std::string fileName;
    std::string tag;
    std::string startTime;
    std::string description;
    PageNotes notes;
};

class PagePrinter {
public:
    enum class Result { Printing, Cancelled, NoPrinter };

    PagePrinter();
    ~PagePrinter();

    // The dialog, then the header, notes and frame. `infoFont` is the info pane's font (header
    // texts and line heights), `selectFont` the navigation pane's (notes).
    Result Begin(PrinterChoice& choice, QWidget* parent, const PrintRect& r, int band,
                 const PageSpectrumTexts& spectrum, const QFont& infoFont, const QFont& selectFont,
                 std::time_t now);
    QPainter& Painter() { return m_painter; }
    // Ends the page and the document; false when the printer refused it.
    bool End();

private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
};

// A screen font for a painter whose units are the view's screen pixels: the same height in
// those units, whatever the device's resolution.
QFont ViewUnitFont(const QFont& screenFont);

} // namespace vorna
