// View clamping, channel/pixel mapping, outlines and axis arithmetic.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "display/PlotAxis.h"
#include "display/PlotOutline.h"
#include "display/PlotView.h"

using namespace vorna;

namespace {

PlotGeometry geometry(int start, int end, uint32_t bottom, uint32_t top, int w, int h) {
    return PlotGeometry{PlotView{start, end, bottom, top}, w, h};
}

std::vector<PlotPoint> outline(const std::vector<double>& counts, int gain, PlotGeometry g,
                               ScaleType scale = ScaleType::Linear, int last = -1) {
    std::vector<PlotPoint> pts;
    ComputePlotPoints({counts, gain, last < 0 ? (256 << gain) - 1 : last, g, scale}, pts);
    return pts;
}

// Every column point lies inside the plot and the bracket points sit on the baseline.
void expectWellFormed(const std::vector<PlotPoint>& pts, int w, int h) {
    ASSERT_EQ(pts.size(), static_cast<size_t>(w) + 3);
    EXPECT_EQ(pts.front(), (PlotPoint{0, h}));
    EXPECT_EQ(pts.back(), (PlotPoint{w + 1, h}));
    for (int j = 1; j <= w + 1; ++j) {
        EXPECT_EQ(pts[j].x, j - 1);
        EXPECT_GE(pts[j].y, 0);
        EXPECT_LE(pts[j].y, h);
    }
}

} // namespace

TEST(PlotView, ClampKeepsMinimumSizesAndStaysOnTheScale) {
    EXPECT_EQ(ClampView(100, 120, 0, 127), (PlotView{100, 163, 0, 127}));         // width 63
    EXPECT_EQ(ClampView(16380, 16480, 0, 127), (PlotView{16283, 16383, 0, 127})); // slides back
    EXPECT_EQ(ClampView(-50, 1000, 0, 127), (PlotView{0, 1050, 0, 127}));
    EXPECT_EQ(ClampView(1, 16384, 0, 127), (PlotView{0, 16383, 0, 127}));
    EXPECT_EQ(ClampView(0, 1023, 10, 20), (PlotView{0, 1023, 10, 41})); // span 31
    // A reversed range is the minimum width, not a negative one.
    EXPECT_EQ(ClampView(500, 100, 0, 127).end, 563);
    // Top never reaches 2^32 - 1; the bottom gives way instead.
    EXPECT_EQ(ClampView(0, 1023, 4294967290u, 4294967295u),
              (PlotView{0, 1023, 4294967294u - 31, 4294967294u}));
    EXPECT_EQ(ClampView(0, 1023, 0, 4294967295u), (PlotView{0, 1023, 0, 4294967294u}));
    // Extreme ints do not overflow the width.
    EXPECT_EQ(ClampView(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0, 127),
              (PlotView{0, 16383, 0, 127}));
}

TEST(PlotView, ChannelPixelMappingAndChannelOfPosition) {
    const PlotGeometry g = geometry(0, 1023, 0, 127, 1024, 500);
    EXPECT_EQ(g.ChannelToPixel(0), 0);
    EXPECT_EQ(g.ChannelToPixel(512), 512);
    EXPECT_EQ(g.ChannelToPixel(1023.5), 1024);
    EXPECT_DOUBLE_EQ(g.PixelToChannel(512), 511.5);
    // Truncation toward zero left of the view.
    EXPECT_EQ(geometry(1000, 1063, 0, 127, 630, 500).ChannelToPixel(999), -14);
    // Fractional positions snap to the nearest absolute channel first.
    EXPECT_EQ(ChannelOfPosition(15.4, 2), 0);
    EXPECT_EQ(ChannelOfPosition(15.5, 2), 1);
    EXPECT_EQ(ChannelOfPosition(16383, 6), 16383);
    EXPECT_EQ(ToAbsolute(3, 2), 48);
}

TEST(PlotOutline, LinearRowsClipAtTheEdges) {
    const PlotGeometry g = geometry(0, 16383, 0, 127, 1000, 400);
    auto flat = outline(std::vector<double>(1024, 63.5), 2, g);
    expectWellFormed(flat, 1000, 400);
    for (int j = 1; j <= 1001; ++j)
        EXPECT_NEAR(flat[j].y, 200, 1) << j;
    auto high = outline(std::vector<double>(1024, 1000.0), 2, g);
    auto low = outline(std::vector<double>(1024, -5.0), 2, geometry(0, 16383, 10, 127, 1000, 400));
    for (int j = 1; j <= 1001; ++j) {
        EXPECT_EQ(high[j].y, 0);
        EXPECT_EQ(low[j].y, 400);
    }
}

TEST(PlotOutline, ColumnsIntegrateTheHistogram) {
    // A ramp: each column of a full view averages the channels it covers.
    std::vector<double> ramp(1024);
    for (int c = 0; c < 1024; ++c)
        ramp[c] = c;
    const PlotGeometry g = geometry(0, 16383, 0, 1023, 1000, 1023);
    auto pts = outline(ramp, 2, g);
    expectWellFormed(pts, 1000, 1023);
    const double perColumn = (16383.0 * 1024 / 16384) / 1001;
    for (int j = 1; j <= 1001; j += 50) {
        const double mid = (j - 0.5) * perColumn;
        EXPECT_NEAR(pts[j].y, 1023 - mid, 1.5) << j;
    }
    // Zoomed to the minimum width, fractional channels interpolate: a single hot channel
    // lights the columns of its own width only.
    std::vector<double> spike(16384, 0.0);
    spike[8000] = 640.0;
    auto zoom = outline(spike, 6, geometry(7968, 8031, 0, 127, 630, 127));
    int lit = 0;
    for (int j = 1; j <= 631; ++j)
        lit += zoom[j].y < 127;
    EXPECT_NEAR(lit, 10, 1);
}

TEST(PlotOutline, ColumnsPastTheLastValidChannelRepeatIt) {
    // The last 32 channels of a Kestrel spectrum are not data: 5000 counts of junk there.
    std::vector<double> counts(1024, 10.0);
    counts[990] = counts[991] = 100.0;
    for (int c = 992; c < 1024; ++c)
        counts[c] = 5000.0;
    const PlotGeometry g = geometry(0, 16383, 0, 127, 1024, 127);
    auto pts = outline(counts, 2, g, ScaleType::Linear, 991);
    int straddling = 0;
    for (int j = 1; j <= 1025; ++j) {
        EXPECT_GT(pts[j].y, 0) << "junk drawn at column " << j - 1;
        if (pts[j].y < 100)
            ++straddling;
    }
    // The column across channel 991 counts its part past 991 as channel 991's count.
    EXPECT_GE(straddling, 2);
    EXPECT_EQ(pts[1020].y, 127); // wholly past: nothing
    EXPECT_NEAR(pts[500].y, 117, 1);
    // A spectrum whose data is shorter than its gain reads as zero, never out of bounds.
    auto shortData = outline(std::vector<double>(10, 50.0), 2, g);
    expectWellFormed(shortData, 1024, 127);
    EXPECT_EQ(shortData[900].y, 127);
}

TEST(PlotOutline, EveryScaleStaysFiniteForZeroNegativeAndNonFiniteCounts) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> bad(1024, 0.0);
    for (int c = 0; c < 1024; ++c)
        bad[c] = c % 4 == 0 ? -300.0 : c % 4 == 1 ? nan : c % 4 == 2 ? inf : -inf;
    for (ScaleType s : {ScaleType::Linear, ScaleType::Logarithmic, ScaleType::SquareRoot}) {
        for (auto view : {geometry(0, 16383, 0, 127, 700, 300), geometry(0, 16383, 5, 5, 700, 300),
                          geometry(0, 0, 0, 0, 0, 0)}) {
            auto pts = outline(bad, 2, view, s);
            const int w = std::max(1, view.width), h = std::max(1, view.height);
            expectWellFormed(pts, w, h);
        }
    }
    // Zero counts lie on the bottom row of the log scale; negative means are drawn as 0.
    const PlotGeometry g = geometry(0, 16383, 0, 127, 500, 300);
    for (double v : {0.0, -40.0}) {
        auto pts = outline(std::vector<double>(1024, v), 2, g, ScaleType::Logarithmic);
        for (int j = 1; j <= 501; ++j)
            ASSERT_EQ(pts[j].y, 300);
        auto sq = outline(std::vector<double>(1024, v), 2, g, ScaleType::SquareRoot);
        for (int j = 1; j <= 501; ++j)
            ASSERT_EQ(sq[j].y, 300);
    }
}

TEST(PlotOutline, WidePlotsAndDeepZoomStayInsideTheBuffer) {
    std::vector<double> counts(16384, 50.0);
    // Wider than any fixed buffer would hold.
    auto wide = outline(counts, 6, geometry(0, 16383, 0, 127, 3840, 2000));
    expectWellFormed(wide, 3840, 2000);
    // At the minimum width a 3840-pixel plot maps the view start far left of column 0.
    const PlotGeometry deep = geometry(100, 163, 0, 127, 3840, 400);
    auto pts = outline(counts, 6, deep);
    const OutlineSpan span = ShownSpan(deep);
    EXPECT_GE(span.first, 0);
    EXPECT_LE(span.last, 3841);
    auto fill = FillPolygon(pts, deep);
    auto line = OutlineLine(pts, deep);
    ASSERT_FALSE(fill.empty());
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(fill.front().y, 400);
    EXPECT_EQ(fill.back().y, 400);
    auto band = RoiBandPolygon(pts, deep, 6, 90, 200);
    ASSERT_TRUE(band.has_value());
    EXPECT_GE(band->front().x, 0);
    EXPECT_LE(band->back().x, 3841);
}

TEST(PlotOutline, RoiBandsFollowTheViewEdges) {
    std::vector<double> counts(1024, 60.0);
    const PlotGeometry g = geometry(1600, 3199, 0, 127, 800, 127);
    auto pts = outline(counts, 2, g);
    EXPECT_FALSE(RoiBandPolygon(pts, g, 2, 0, 50).has_value());    // left of the view
    EXPECT_FALSE(RoiBandPolygon(pts, g, 2, 300, 400).has_value()); // right of it
    // Inside the view both sides are vertical and the band stands on the baseline.
    auto inside = RoiBandPolygon(pts, g, 2, 120, 140);
    ASSERT_TRUE(inside.has_value());
    const size_t n = inside->size();
    EXPECT_EQ((*inside)[1].x, (*inside)[0].x);
    EXPECT_EQ((*inside)[n - 2].x, (*inside)[n - 1].x);
    EXPECT_EQ(inside->front().y, 127);
    EXPECT_EQ(inside->back().y, 127);
    EXPECT_LT((*inside)[n / 2].y, 127);
    // Cut by the right edge: that side is left as the outline has it.
    auto cut = RoiBandPolygon(pts, g, 2, 190, 260);
    ASSERT_TRUE(cut.has_value());
    const size_t m = cut->size();
    EXPECT_EQ((*cut)[m - 2].x + 1, (*cut)[m - 1].x);
    EXPECT_EQ((*cut)[1].x, (*cut)[0].x);
    // The outline itself is untouched: bands work on copies.
    EXPECT_EQ(pts, outline(counts, 2, g));
}

TEST(PlotAxis, CountLabelsShortenLongNumbers) {
    EXPECT_EQ(CountLabel(999), "999");
    EXPECT_EQ(CountLabel(1000), "1000");
    EXPECT_EQ(CountLabel(10000), "10k");
    EXPECT_EQ(CountLabel(12345), "12k");
    EXPECT_EQ(CountLabel(1234567), "1234k");
    EXPECT_EQ(CountLabel(10000000), "10m");
    EXPECT_EQ(CountLabel(4294967294u), "4294m");
}

TEST(PlotAxis, GridAndTicksNeverDivideByZeroCells) {
    GridLines none = ComputeGrid(800, 600, 0, -3);
    EXPECT_TRUE(none.vertical.empty());
    EXPECT_TRUE(none.horizontal.empty());
    EXPECT_TRUE(HorizontalTicks(800, 0, false).empty());
    EXPECT_EQ(VerticalTickValue(PlotView{0, 1023, 0, 127}, 1, 0, ScaleType::Linear), 127);

    GridLines g = ComputeGrid(800, 600, 8, 6);
    EXPECT_EQ(g.vertical, (std::vector<int>{700, 600, 500, 400, 300, 200, 100}));
    EXPECT_EQ(g.horizontal.front(), 500);
    auto ticks = HorizontalTicks(800, 8, false);
    ASSERT_EQ(ticks.size(), 79u);
    EXPECT_EQ(ticks[9].major, 1);
    EXPECT_EQ(ticks[9].length, 8);
    EXPECT_EQ(ticks[4].length, 6);
    EXPECT_EQ(ticks[0].length, 4);
    EXPECT_EQ(HorizontalTicks(800, 8, true)[9].length, 0); // the grid line stands in
}

TEST(PlotAxis, TickValuesInEachScale) {
    const PlotView v{0, 16383, 0, 999};
    EXPECT_DOUBLE_EQ(HorizontalTickValue(v, 2, 8), 4096);
    EXPECT_DOUBLE_EQ(VerticalTickValue(v, 1, 5, ScaleType::Linear), 799);
    // Log ticks divide the decades evenly: top + 1 = 1000 over 5 cells of 10^0.6.
    EXPECT_NEAR(VerticalTickValue(v, 1, 5, ScaleType::Logarithmic), 1000 / std::pow(10, 0.6), 1e-9);
    EXPECT_NEAR(VerticalTickValue(v, 5, 5, ScaleType::Logarithmic), 1.0, 1e-9);
    EXPECT_NEAR(VerticalTickValue(PlotView{0, 16383, 0, 900}, 1, 3, ScaleType::SquareRoot), 400,
                1e-9);
}
