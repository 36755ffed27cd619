#include "output/core/PagePrintLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vorna {

PageMapping MapViewToPage(const PrintRect& r, int band, const PageArea& page) {
    PageMapping m;
    const double wide = 1.1 * r.right;
    const int x = static_cast<int>(std::trunc(wide));
    m.windowWidth = x;
    m.windowHeight =
        page.widthMm > 0 ? static_cast<int>(std::trunc(page.heightMm * wide / page.widthMm)) : 0;
    m.viewportWidth = page.widthPx;
    m.viewportHeight = page.heightPx;
    m.header = 2 * (band - r.top);
    m.windowX = -((x - r.right) / 2);
    m.windowY = -m.header;
    return m;
}

PlotPrintFrame PlotPrintRect(int width, int height, int paneWidth, int paneHeight) {
    PlotPrintFrame f;
    // The panes' texts are cut at the frame; a wide info pane or a tall navigation pane
    // widens the frame rather than losing its values.
    f.rect = {width, height,
              std::max(static_cast<int>(std::trunc(1.2 * width)), width + 3 + paneWidth),
              std::max(static_cast<int>(std::trunc(1.15 * height)), height + 3 + paneHeight)};
    f.band = static_cast<int>(std::trunc(1.1 * height));
    return f;
}

int RoiListPrintRowHeight(int charHeight) {
    return static_cast<int>(std::trunc(1.3 * charHeight));
}

PlotPrintFrame RoiListPrintRect(int charWidth, int charHeight, int rows, int contentWidth) {
    PlotPrintFrame f;
    f.rect = {0, 0, std::max(static_cast<int>(std::trunc(80.0 * charWidth)), contentWidth),
              static_cast<int>(std::trunc(1.3 * charHeight * rows))};
    f.band = f.rect.bottom;
    return f;
}

std::string CtimeText(std::time_t when) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm t{};
    localtime_r(&when, &t);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", kDays[t.tm_wday % 7],
                  kMonths[t.tm_mon % 12], t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                  1900 + t.tm_year);
    return buf;
}

std::vector<PrintText> PageHeaderTexts(const PrintRect& r, int header, const std::string& fileName,
                                       const std::string& tag, const std::string& startTime,
                                       const std::string& description, std::time_t now) {
    std::vector<PrintText> texts;
    // "  %-60s    %s", without a limit on the name's length.
    std::string name = "  " + fileName;
    if (fileName.size() < 60)
        name.append(60 - fileName.size(), ' ');
    texts.push_back({0, -(header / 2), name + "    " + tag});
    texts.push_back(
        {3 * r.right / 4, -(header / 2), startTime.empty() ? CtimeText(now) : startTime});
    texts.push_back({0, -(header / 3), "  " + description});
    return texts;
}

std::vector<std::string> NoteLines(const std::string& block) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t cr = block.find('\r', start);
        if (cr == std::string::npos) {
            lines.push_back(block.substr(start));
            return lines;
        }
        lines.push_back(block.substr(start, cr - start));
        // Only a line feed after the CR belongs to the break; a lone CR keeps the next
        // character.
        start = cr + 1;
        if (start < block.size() && block[start] == '\n')
            ++start;
    }
}

std::vector<PrintText> PageNoteTexts(const PrintRect& r, int textHeight, const PageNotes& notes) {
    std::vector<PrintText> texts;
    if (!notes.printNotes)
        return texts;
    const int step = textHeight + 4;
    int y = r.bottom + 2 * textHeight;
    auto block = [&](const std::string& text) {
        for (std::string& line : NoteLines(text)) {
            texts.push_back({0, y, std::move(line)});
            y += step;
        }
    };
    block(notes.generalNotes);
    block(notes.systemNotes);
    block(notes.otherNotes);
    if (notes.printConfiguration)
        block(notes.configuration);
    return texts;
}

std::string ConfigurationBlockText(const ConfigurationSource& s) {
    if (s.listPosition >= 1 && s.deviceCode >= 1)
        return s.tag + " Configuration\r\n_____________________ \r\n" + s.stored;
    if (s.listPosition == 0 && s.deviceType > 0 && s.liveLoaded)
        return "Current Configuration \r\n_____________________ \r\n" + s.current;
    return {};
}

} // namespace vorna
