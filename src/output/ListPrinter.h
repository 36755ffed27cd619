#pragma once
// Prints a report list as paged table on a printer: measures the fonts on the printer, asks
// the core for the pages and draws them.

#include <QPrinter>
#include <ctime>
#include <string>
#include <vector>

#include "output/core/ListPrintLayout.h"

namespace vorna {

struct ListPrintJob {
    std::string title;
    std::vector<ListPrintColumn> columns;
    std::vector<std::vector<std::string>> rows; // 8-bit texts, as shown
    ListPrintOptions options;
    // Face and size (character height in screen pixels) of the title, list and footer fonts.
    QString fontFace = QStringLiteral("Times New Roman");
    int fontSize = 14;
    std::time_t utc = 0; // taken once, printed on every page
};

// False when the printer could not be started or a font could not be made.
bool PrintListJob(QPrinter& printer, const ListPrintJob& job);

} // namespace vorna
