#pragma once
// The paged print of a report list: which columns fit the page, where every text, line and frame
// of every page goes, and where the pages break. All positions are printer pixels; the painter
// side measures the fonts, asks for the plan and replays it.

#include <ctime>
#include <string>
#include <vector>

namespace vorna {

enum class PrintAlign { Left, Centre, Right };

struct ListPrintColumn {
    std::string title;
    int screenWidth = 0; // 0: hidden on screen, left out of the print
    PrintAlign align = PrintAlign::Left;
};

struct ListPrintOptions {
    bool autoSizeColumns = false;
    bool wholeColumnsOnly = true;
    bool columnLines = true;
    bool rowLines = false;
    bool titleBlock = true;
    bool footer = true;
    std::string titleA; // first line of the title block (with the footer on)
    std::string titleB; // third line of the title block (with the footer on)
};

// Font heights and the page, measured on the printer.
struct ListPrintMetrics {
    int xWidth = 0;       // width of "X" in the list font
    int listHeight = 0;   // L
    int titleHeight = 0;  // t
    int footerHeight = 0; // fh
    int pageWidth = 0;    // HORZRES
    int pageHeight = 0;   // VERTRES
};

enum class PrintFont { List, Title, TitleDouble, Footer };

struct PrintBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One drawing step of a page, in order.
struct PrintOp {
    enum class Kind { Text, Line, Frame } kind = Kind::Text;
    PrintBox
        box; // text rectangle, frame rectangle, or the line from (left, top) to (right, bottom)
    std::string text;
    PrintAlign align = PrintAlign::Left;
    PrintFont font = PrintFont::List;
    int penWidth = 1;
};

struct ListPrintPage {
    int number = 0;
    std::vector<int> rows; // indexes into the rows, in print order
    std::vector<PrintOp> ops;
};

struct ListPrintPlan {
    std::vector<int> columns;       // indexes of the printed columns
    std::vector<int> printedWidths; // of every column, 0 for those left out of the width
    std::vector<ListPrintPage> pages;
};

// Printed width of each column: xw x (longest of the header and cell texts + 1), 0 when hidden.
std::vector<int> PrintedColumnWidths(const std::vector<ListPrintColumn>& columns,
                                     const std::vector<std::vector<std::string>>& rows, int xWidth);

// "%02d/%02d/%04d  %02d:%02d:%02d" (day, month, year, time) of a UTC time.
std::string ListPrintDate(std::time_t utc);

ListPrintPlan PlanListPrint(const std::string& title, const std::vector<ListPrintColumn>& columns,
                            const std::vector<std::vector<std::string>>& rows,
                            const ListPrintOptions& options, const ListPrintMetrics& metrics,
                            std::time_t utc);

} // namespace vorna
