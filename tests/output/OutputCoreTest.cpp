// Page geometry, paging of list prints, bitmap file bytes and the output commands' decisions.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "output/core/BmpFile.h"
#include "output/core/ListPrintLayout.h"
#include "output/core/OutputTexts.h"
#include "output/core/PagePrintLayout.h"

using namespace vorna;

namespace {

ListPrintMetrics Letterish() {
    ListPrintMetrics m;
    m.xWidth = 100;
    m.listHeight = 200;
    m.titleHeight = 200;
    m.footerHeight = 200;
    m.pageWidth = 9000;
    m.pageHeight = 12000;
    return m;
}

std::vector<std::string> TextsOf(const ListPrintPage& page) {
    std::vector<std::string> texts;
    for (const PrintOp& op : page.ops)
        if (op.kind == PrintOp::Kind::Text)
            texts.push_back(op.text);
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

} // namespace

TEST(PagePrint, PlotPageFitsTheViewWithMarginsAndSquareUnits) {
    // A 500 x 300 plot: frame 600 x 345, header band 2 x (330 - 300) above it.
    const PlotPrintFrame f = PlotPrintRect(500, 300);
    EXPECT_EQ(f.rect.right, 600);
    EXPECT_EQ(f.rect.bottom, 345);
    EXPECT_EQ(f.band, 330);
    const PageMapping m = MapViewToPage(f.rect, f.band, {200.0, 280.0, 9000, 12600});
    EXPECT_EQ(m.header, 60);
    EXPECT_EQ(m.windowWidth, 660);
    EXPECT_EQ(m.windowX, -30); // 5 % of the width left of the view
    EXPECT_EQ(m.windowY, -60);
    EXPECT_EQ(m.windowHeight, 924); // 280 / 200 x 660: square units on paper
    EXPECT_EQ(m.viewportWidth, 9000);
    EXPECT_EQ(m.viewportHeight, 12600);
    // Panes that need more room than a fifth and 15 % widen the frame; the band stays.
    const PlotPrintFrame wide = PlotPrintRect(500, 300, 180, 90);
    EXPECT_EQ(wide.rect.right, 683);
    EXPECT_EQ(wide.rect.bottom, 393);
    EXPECT_EQ(wide.band, 330);
    EXPECT_EQ(PlotPrintRect(500, 300, 50, 20).rect.right, 600);
    // The ROI list page: 80 characters wide, header band as tall as the rows.
    const PlotPrintFrame roi = RoiListPrintRect(7, 16, 3);
    EXPECT_EQ(roi.rect.right, 560);
    EXPECT_EQ(roi.rect.bottom, 62);
    EXPECT_EQ(roi.band, 62);
    EXPECT_EQ(RoiListPrintRowHeight(16), 20);
    EXPECT_EQ(RoiListPrintRect(7, 16, 3, 700).rect.right, 700);
}

TEST(PagePrint, HeaderNamesTheSpectrumAndFallsBackToTheTimeOfPrinting) {
    const PrintRect r{500, 300, 600, 345};
    auto texts = PageHeaderTexts(r, 60, "fe55.mca", "S1", "08/15/2024 10:11:12", "Fe-55", 0);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "  fe55.mca" + std::string(52, ' ') + "    S1");
    EXPECT_EQ(texts[0].y, -30);
    EXPECT_EQ(texts[1].x, 450);
    EXPECT_EQ(texts[1].text, "08/15/2024 10:11:12");
    EXPECT_EQ(texts[2].text, "  Fe-55");
    EXPECT_EQ(texts[2].y, -20);
    // A long path is not cut.
    const std::string longName(300, 'p');
    EXPECT_EQ(PageHeaderTexts(r, 60, longName, "T", "", "", 0)[0].text, "  " + longName + "    T");
    const std::string now = PageHeaderTexts(r, 60, "a", "b", "", "", 86400 * 365)[1].text;
    EXPECT_TRUE(std::regex_match(
        now, std::regex(R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4})")))
        << now;
}

TEST(PagePrint, NotesAndConfigurationGoUnderTheFrameLineByLine) {
    const PrintRect r{0, 0, 560, 100};
    PageNotes notes;
    notes.generalNotes = "a\r\nb";
    notes.otherNotes = "lone\rCR";
    notes.configuration = "Current Configuration \r\n_____________________ \r\nRESC=Y;";
    notes.printConfiguration = true;
    const auto lines = PageNoteTexts(r, 12, notes);
    std::vector<std::string> texts;
    for (const auto& l : lines)
        texts.push_back(l.text);
    // Empty system notes still take their line; a CR without LF keeps the next letter.
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "", "lone", "CR", "Current Configuration ",
                                               "_____________________ ", "RESC=Y;"}));
    EXPECT_EQ(lines.front().y, 124);
    EXPECT_EQ(lines[1].y, 140);
    EXPECT_EQ(lines.back().y, 124 + 7 * 16);
    // All empty: three empty lines; notes switched off: nothing, configuration included.
    PageNotes empty;
    empty.configuration = "x";
    EXPECT_EQ(PageNoteTexts(r, 12, empty).size(), 3u);
    notes.printNotes = false;
    EXPECT_TRUE(PageNoteTexts(r, 12, notes).empty());
}

TEST(PagePrint, ConfigurationBlockComesFromTheFileOrTheConnectedDevice) {
    ConfigurationSource file;
    file.listPosition = 2;
    file.deviceCode = 2;
    file.tag = "S2";
    file.stored = "RESC=Y;";
    EXPECT_EQ(ConfigurationBlockText(file),
              "S2 Configuration\r\n_____________________ \r\nRESC=Y;");
    file.deviceCode = 0; // a Kestrel spectrum carries none
    EXPECT_EQ(ConfigurationBlockText(file), "");
    ConfigurationSource live;
    live.deviceType = 2;
    live.current = "TPEA=1;";
    EXPECT_EQ(ConfigurationBlockText(live), ""); // nothing loaded yet
    live.liveLoaded = true;
    EXPECT_EQ(ConfigurationBlockText(live),
              "Current Configuration \r\n_____________________ \r\nTPEA=1;");
    live.deviceType = 0;
    EXPECT_EQ(ConfigurationBlockText(live), "");
}

TEST(ListPrint, HundredRowsBreakOntoASecondPageWithEverythingRepeated) {
    std::vector<ListPrintColumn> columns{{"Shortcut", 95, PrintAlign::Left},
                                         {"Description", 160, PrintAlign::Right}};
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 100; ++i)
        rows.push_back({"Key " + std::to_string(i), "Does " + std::to_string(i)});
    ListPrintOptions o;
    const ListPrintMetrics m = Letterish();
    const std::time_t utc = 1700000000; // 14/11/2023 22:13:20 UTC
    const ListPrintPlan plan = PlanListPrint("Keyboard Shortcuts", columns, rows, o, m, utc);
    ASSERT_EQ(plan.pages.size(), 2u);
    // Title block 4 x 200 + 20, header 200 + 10, rows 206 apart; the last that fits starts at
    // or before page bottom - L = 12000 - 204 - 10 - 200.
    const int first = 4 * 200 + 20 + 200 + 10;
    const int perPage = (12000 - 204 - 10 - 200 - first) / 206 + 1;
    EXPECT_EQ(static_cast<int>(plan.pages[0].rows.size()), perPage);
    EXPECT_EQ(plan.pages[1].rows.front(), perPage); // the row that did not fit starts page 2
    EXPECT_EQ(plan.pages[1].rows.back(), 99);
    for (const ListPrintPage& page : plan.pages) {
        const auto texts = TextsOf(page);
        EXPECT_TRUE(Has(texts, "Keyboard Shortcuts"));
        EXPECT_TRUE(Has(texts, "Shortcut"));
        EXPECT_TRUE(Has(texts, "Description"));
        EXPECT_TRUE(Has(texts, "Page : " + std::to_string(page.number)));
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "14/11/2023  22:13:20"), 1);
        // Nothing runs into the footer.
        for (const PrintOp& op : page.ops) {
            if (op.kind == PrintOp::Kind::Text && op.font == PrintFont::List) {
                EXPECT_LE(op.box.bottom, 12000 - 204 - 10);
            }
        }
    }
    // Widths: "Description" and "Does 99" -> 12 x xw; alignment is kept.
    EXPECT_EQ(plan.printedWidths, (std::vector<int>{900, 1200}));
    const PrintOp* cell = nullptr;
    for (const PrintOp& op : plan.pages[0].ops)
        if (op.text == "Does 0")
            cell = &op;
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->align, PrintAlign::Right);
    EXPECT_EQ(cell->box.left, 904);
    EXPECT_EQ(cell->box.right, 2096);
}

TEST(ListPrint, HiddenAndTooWideColumnsAreLeftOut) {
    std::vector<ListPrintColumn> columns{
        {"A", 50}, {"Hidden", 0}, {"B", 50}, {"Wide", 50}, {"After", 50}};
    std::vector<std::vector<std::string>> rows{{"a", "h", "b", std::string(90, 'w'), "x"}};
    ListPrintMetrics m = Letterish();
    ListPrintOptions o;
    ListPrintPlan plan = PlanListPrint("T", columns, rows, o, m, 0);
    EXPECT_EQ(plan.columns, (std::vector<int>{0, 2}));
    auto texts = TextsOf(plan.pages[0]);
    EXPECT_FALSE(Has(texts, "Hidden"));
    EXPECT_FALSE(Has(texts, "After")); // everything after the column that did not fit goes too
    // Without the whole-columns rule a column that starts on the page is printed.
    o.wholeColumnsOnly = false;
    plan = PlanListPrint("T", columns, rows, o, m, 0);
    EXPECT_EQ(plan.columns, (std::vector<int>{0, 2, 3}));
    // Without a footer the title block carries the page number and the date.
    o.footer = false;
    o.titleA = "not shown";
    texts = TextsOf(PlanListPrint("T", columns, rows, o, m, 0).pages[0]);
    EXPECT_TRUE(Has(texts, "Page : 1"));
    EXPECT_TRUE(Has(texts, "01/01/1970  00:00:00"));
    EXPECT_FALSE(Has(texts, "not shown"));
}

TEST(ListPrint, ARowTallerThanAnyPageDoesNotStallThePrint) {
    ListPrintMetrics m = Letterish();
    m.pageHeight = 1000; // less than title block, header and one row
    const ListPrintPlan plan =
        PlanListPrint("T", {{"A", 50}}, {{"1"}, {"2"}, {"3"}}, ListPrintOptions{}, m, 0);
    ASSERT_EQ(plan.pages.size(), 3u);
    EXPECT_EQ(plan.pages[2].rows, std::vector<int>{2});
}

TEST(BmpFile, ThirtyTwoBitCaptureHasNoColourTableAndPixelsAtByte54) {
    BmpImage image;
    image.width = 3;
    image.height = 2;
    image.bitsPerPixel = 32;
    image.pixels = std::string(24, '\x7f');
    const auto bytes = BuildBmpFile(image);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 54u + 24u);
    EXPECT_EQ(bytes->substr(0, 2), "BM");
    const auto info = ReadBmpHeader(*bytes);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fileSize, 78u);
    EXPECT_EQ(info->pixelOffset, 54u);
    EXPECT_EQ(info->width, 3);
    EXPECT_EQ(info->height, 2);
    EXPECT_EQ(info->bitsPerPixel, 32);
    EXPECT_EQ(info->imageSize, 24u);
    EXPECT_EQ(bytes->substr(6, 4), std::string(4, '\0'));  // reserved words
    EXPECT_EQ((*bytes)[26], 1);                            // one plane
    EXPECT_EQ(bytes->substr(30, 4), std::string(4, '\0')); // no compression

    // A palette depth carries its 2^bits colours before the pixels; rows pad to four bytes.
    BmpImage grey;
    grey.width = 5;
    grey.height = 1;
    grey.bitsPerPixel = 8;
    grey.colours.assign(256, 0);
    grey.pixels = std::string(8, '\1');
    const auto g = ReadBmpHeader(*BuildBmpFile(grey));
    EXPECT_EQ(g->pixelOffset, 54u + 1024u);
    EXPECT_EQ(g->fileSize, 54u + 1024u + 8u);
    // Inconsistent images are refused, never written half right.
    grey.pixels.pop_back();
    EXPECT_FALSE(BuildBmpFile(grey));
    grey.pixels += '\1';
    grey.colours.pop_back();
    EXPECT_FALSE(BuildBmpFile(grey));
    EXPECT_EQ(BmpRowBytes(5, 24), 16);
}

TEST(OutputTexts, DecisionsOfTheOutputCommands) {
    EXPECT_EQ(ListPrintMessage(PrinterSelect::Failed, false), "Failed to set printer settings!");
    EXPECT_EQ(ListPrintMessage(PrinterSelect::Cancelled, false), "");
    EXPECT_EQ(ListPrintMessage(PrinterSelect::Chosen, false),
              "Failed to print list control contents!");
    EXPECT_EQ(ListPrintMessage(PrinterSelect::Chosen, true), "");
    EXPECT_EQ(CaptureFilePath("/home/u"), "/home/u/LUMO-tmp.bmp");
    EXPECT_EQ(CaptureFilePath("/home/u/"), "/home/u/LUMO-tmp.bmp");
    EXPECT_EQ(SaveBitmapStartFolder(".\\", true), "");
    EXPECT_EQ(SaveBitmapStartFolder("/data/", false), "");
    EXPECT_EQ(SaveBitmapStartFolder("/data/", true), "/data/");
    EXPECT_EQ(ClampScroll(500, 800, 400), 400);
    EXPECT_EQ(ClampScroll(-3, 800, 400), 0);
    EXPECT_EQ(ClampScroll(5, 300, 400), 0);
}
