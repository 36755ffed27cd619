#include "output/core/ListPrintLayout.h"

#include <algorithm>
#include <cstdio>

namespace vorna {

namespace {

// Cells and titles are read up to this many characters.
constexpr size_t kCellLimit = 255;

std::string Limited(const std::string& text) {
    return text.substr(0, std::min(text.size(), kCellLimit));
}

std::string PageText(int page) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Page : %d", page);
    return buf;
}

struct PlacedColumn {
    int index;
    int x;
    int width;
};

class PagePainter {
public:
    explicit PagePainter(ListPrintPage& page) : m_page(page) {}

    void Text(PrintBox box, std::string text, PrintAlign align, PrintFont font) {
        PrintOp op;
        op.kind = PrintOp::Kind::Text;
        op.box = box;
        op.text = std::move(text);
        op.align = align;
        op.font = font;
        m_page.ops.push_back(std::move(op));
    }
    void Line(int x1, int y1, int x2, int y2, int width = 1) {
        PrintOp op;
        op.kind = PrintOp::Kind::Line;
        op.box = {x1, y1, x2, y2};
        op.penWidth = width;
        m_page.ops.push_back(std::move(op));
    }
    void Frame(PrintBox box) {
        PrintOp op;
        op.kind = PrintOp::Kind::Frame;
        op.box = box;
        m_page.ops.push_back(std::move(op));
    }

private:
    ListPrintPage& m_page;
};

} // namespace

std::vector<int> PrintedColumnWidths(const std::vector<ListPrintColumn>& columns,
                                     const std::vector<std::vector<std::string>>& rows,
                                     int xWidth) {
    std::vector<int> widths;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].screenWidth == 0) {
            widths.push_back(0);
            continue;
        }
        size_t longest = Limited(columns[c].title).size();
        for (const auto& row : rows)
            if (c < row.size())
                longest = std::max(longest, Limited(row[c]).size());
        widths.push_back(xWidth * static_cast<int>(longest + 1));
    }
    return widths;
}

std::string ListPrintDate(std::time_t utc) {
    std::tm t{};
    gmtime_r(&utc, &t);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d  %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

ListPrintPlan PlanListPrint(const std::string& title, const std::vector<ListPrintColumn>& columns,
                            const std::vector<std::vector<std::string>>& rows,
                            const ListPrintOptions& o, const ListPrintMetrics& m, std::time_t utc) {
    ListPrintPlan plan;
    plan.printedWidths = PrintedColumnWidths(columns, rows, m.xWidth);
    // Columns from the left while they fit; the first that does not ends the print's width.
    std::vector<PlacedColumn> placed;
    int x = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        const int w = plan.printedWidths[c];
        if (w == 0)
            continue;
        if (x > m.pageWidth || (o.wholeColumnsOnly && x + w > m.pageWidth))
            break;
        placed.push_back({static_cast<int>(c), x, w});
        plan.columns.push_back(static_cast<int>(c));
        x += w;
    }

    const std::string date = ListPrintDate(utc);
    const int L = m.listHeight;
    const int t = m.titleHeight;
    const int fh = m.footerHeight;
    const int W = m.pageWidth;

    auto titleBlock = [&](PagePainter& p, int page, int y) {
        if (o.footer) {
            if (!o.titleA.empty())
                p.Text({0, y, W, y + t}, o.titleA, PrintAlign::Left, PrintFont::Title);
        } else {
            p.Text({0, y, W, y + t}, PageText(page), PrintAlign::Right, PrintFont::Title);
        }
        p.Text({0, y + t, W, y + 3 * t}, title, PrintAlign::Centre, PrintFont::TitleDouble);
        if (o.footer) {
            if (!o.titleB.empty())
                p.Text({0, y + 3 * t, W, y + 4 * t}, o.titleB, PrintAlign::Left, PrintFont::Title);
        } else {
            p.Text({0, y + 3 * t, W, y + 4 * t}, date, PrintAlign::Right, PrintFont::Title);
        }
        p.Frame({0, y, W - 1, y + 4 * t});
        return y + 4 * t + 20;
    };
    auto columnHeader = [&](PagePainter& p, int y) {
        for (size_t i = 0; i < placed.size(); ++i) {
            const PlacedColumn& c = placed[i];
            p.Text({c.x + 4, y, c.x + c.width - 1 - 4, y + L}, Limited(columns[c.index].title),
                   columns[c.index].align, PrintFont::List);
            if (o.columnLines && i > 0)
                p.Line(c.x - 2, y, c.x - 2, y + L + 10);
        }
        p.Line(0, y + L, W, y + L, 3);
        return y + L + 10;
    };
    auto row = [&](PagePainter& p, int r, int y) {
        const auto& cells = rows[static_cast<size_t>(r)];
        for (size_t i = 0; i < placed.size(); ++i) {
            const PlacedColumn& c = placed[i];
            const size_t index = static_cast<size_t>(c.index);
            p.Text({c.x + 4, y, c.x + c.width - 4, y + L},
                   index < cells.size() ? Limited(cells[index]) : std::string(),
                   columns[index].align, PrintFont::List);
            if (o.columnLines && i > 0)
                p.Line(c.x - 2, y, c.x - 2, y + L + 6);
        }
        if (o.rowLines)
            p.Line(0, y + L + 3, W, y + L + 3);
        return y + L + 6;
    };
    auto footer = [&](PagePainter& p, int page, int y) {
        p.Text({2, y, W / 2, y + fh + 4}, PageText(page), PrintAlign::Left, PrintFont::Footer);
        p.Text({W / 2, y, W - 3, y + fh + 4}, date, PrintAlign::Right, PrintFont::Footer);
        p.Frame({0, y, W - 1, y + fh + 4});
    };

    int y = 0;
    int bottom = 0;
    auto newPage = [&]() -> ListPrintPage& {
        ListPrintPage& page = plan.pages.emplace_back();
        page.number = static_cast<int>(plan.pages.size());
        PagePainter p(page);
        y = 0;
        if (o.titleBlock)
            y = titleBlock(p, page.number, y);
        y = columnHeader(p, y);
        bottom = m.pageHeight;
        if (o.footer) {
            footer(p, page.number, m.pageHeight - (fh + 4));
            bottom = m.pageHeight - (fh + 4) - 10;
        }
        return page;
    };

    if (rows.empty()) {
        newPage(); // an empty list still prints its header
        return plan;
    }
    ListPrintPage* page = nullptr;
    bool fresh = false;
    for (int r = 0; r < static_cast<int>(rows.size());) {
        if (!page) {
            page = &newPage();
            fresh = true;
        }
        // A row that does not fit starts the next page; one that fits no page at all is
        // printed on a page of its own rather than asked for again and again.
        if (bottom < y + L && !fresh) {
            page = nullptr;
            continue;
        }
        PagePainter p(*page);
        y = row(p, r, y);
        page->rows.push_back(r);
        fresh = false;
        ++r;
    }
    return plan;
}

} // namespace vorna
