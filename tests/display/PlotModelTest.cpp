// The plot model on a real spectra list: view changes, cursor, keys, mouse and fields.

#include <gtest/gtest.h>

#include <cmath>

#include "PlotWorld.h"

using namespace vorna;
using vorna::test::PlotWorld;

namespace {

struct Recorder : PlotListener {
    std::vector<std::pair<int, bool>> commands;
    std::vector<int> thresholds;
    int autocal = 0, views = 0, scales = 0;
    void CommandRequested(int id, bool key) override { commands.push_back({id, key}); }
    void ThresholdAtCursorRequested(int c) override { thresholds.push_back(c); }
    void AutoCalibrationRequested() override { ++autocal; }
    void ViewChanged() override { ++views; }
    void ScaleTypeChanged(ScaleType) override { ++scales; }
};

struct PlotModel : ::testing::Test {
    PlotWorld w;
    CPlot& plot = *w.plot;
    std::vector<std::pair<int, int>> rois() {
        std::vector<std::pair<int, int>> out;
        for (const CRoiEntry& e : w.Active().m_roi.Entries())
            out.push_back({e.start, e.end});
        return out;
    }
    void key(PlotKey k, bool ctrl = false, int times = 1) {
        for (int i = 0; i < times; ++i)
            ASSERT_TRUE(plot.HandleKey(k, ctrl));
    }
};

} // namespace

TEST_F(PlotModel, SetViewKeepsOnePreviousViewAndPreviousViewToggles) {
    const PlotView first = plot.View();
    EXPECT_EQ(first, (PlotView{0, 1023, 0, 127}));
    plot.SetView(100, 400, 0, 500);
    const PlotView second = plot.View();
    EXPECT_EQ(plot.PreviousView(), first);
    plot.SetView(100, 400, 0, 500); // the same view: nothing, previous kept
    EXPECT_EQ(plot.PreviousView(), first);
    plot.ShowPreviousView();
    EXPECT_EQ(plot.View(), first);
    plot.ShowPreviousView();
    EXPECT_EQ(plot.View(), second);
    // Every change marks the spectra for redraw and refreshes the fields.
    EXPECT_EQ(plot.FieldText(NavField::CountTop), "500");
    EXPECT_EQ(plot.FieldText(NavField::RangeLeft), "100");
}

TEST_F(PlotModel, ArrowsStepOneChannelOfTheActiveSpectrumAndStopAtTheEnds) {
    key(PlotKey::Left);
    EXPECT_EQ(plot.Cursor(), 0);
    plot.MoveCursorTo(16383);
    key(PlotKey::Right);
    EXPECT_EQ(plot.Cursor(), 16383);
    w.AddSpectrum(2);
    plot.MoveCursorTo(160);
    key(PlotKey::Right);
    EXPECT_EQ(plot.Cursor(), 176);
    EXPECT_EQ(plot.CursorChannel(), 11);
    EXPECT_EQ(plot.CursorPixel(), plot.ChannelToPixel(176));
    w.AddSpectrum(6);
    key(PlotKey::Left);
    EXPECT_EQ(plot.Cursor(), 175);
}

TEST_F(PlotModel, MarkingKeysGrowAndShrinkRois) {
    w.AddSpectrum(2);
    plot.MoveCursorTo(ToAbsolute(100, 2));
    key(PlotKey::U, false, 5);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{100, 105}}));
    EXPECT_EQ(plot.CursorChannel(), 105);
    key(PlotKey::Y, false, 2);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{98, 105}}));
    EXPECT_EQ(plot.CursorChannel(), 98);
    key(PlotKey::Y, true); // unmark from the left: start moves right of the cursor
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{99, 105}}));
    EXPECT_EQ(plot.CursorChannel(), 99);
    plot.MoveCursorTo(ToAbsolute(105, 2));
    key(PlotKey::U, true);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{99, 104}}));
    EXPECT_EQ(plot.CursorChannel(), 104);
    // Ctrl+U on a one-channel ROI removes it and leaves the cursor.
    w.Active().m_roi.Clear();
    w.Active().m_roi.Append(50, 50);
    plot.MoveCursorTo(ToAbsolute(50, 2));
    key(PlotKey::U, true);
    EXPECT_TRUE(rois().empty());
    EXPECT_EQ(plot.CursorChannel(), 50);
    // At the spectrum's edges a ROI never reaches past its channels (channel -1 or N).
    plot.MoveCursorTo(0);
    key(PlotKey::Y, false, 3);
    EXPECT_TRUE(rois().empty());
    plot.MoveCursorTo(16383);
    key(PlotKey::U, false, 2);
    EXPECT_TRUE(rois().empty());
    w.Active().m_roi.AddSorted(1020, 1023);
    key(PlotKey::U);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{1020, 1023}}));
}

TEST_F(PlotModel, RoiKeysClearDeleteAndSelect) {
    w.AddSpectrum(2);
    CSpectrum& s = w.Active();
    s.m_roi.AddSorted(10, 20);
    s.m_roi.AddSorted(40, 50);
    s.m_roi.AddSorted(80, 90);
    plot.MoveCursorTo(ToAbsolute(45, 2));
    EXPECT_EQ(s.m_roi.GetSelected(), 1); // the cursor's ROI
    s.m_roi.SetSelected(-1);
    key(PlotKey::Left, true); // none selected: the last one ending left of the cursor
    EXPECT_EQ(s.m_roi.GetSelected(), 0);
    s.m_roi.SetSelected(-1);
    key(PlotKey::Right, true); // the first one starting right of it
    EXPECT_EQ(s.m_roi.GetSelected(), 2);
    key(PlotKey::Right, true); // no further ROI: kept
    EXPECT_EQ(s.m_roi.GetSelected(), 2);
    key(PlotKey::Left, true);
    EXPECT_EQ(s.m_roi.GetSelected(), 1);
    EXPECT_EQ(plot.CursorChannel(), 45); // selecting does not move the cursor
    key(PlotKey::E);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{10, 20}, {80, 90}}));
    key(PlotKey::E); // no ROI at the cursor: nothing
    EXPECT_EQ(s.m_roi.GetCount(), 2);
    key(PlotKey::R);
    EXPECT_TRUE(rois().empty());
    // Moving the cursor into a ROI selects it.
    s.m_roi.AddSorted(60, 70);
    plot.MoveCursorTo(ToAbsolute(65, 2));
    EXPECT_EQ(s.m_roi.GetSelected(), 0);
}

TEST_F(PlotModel, ScrollAndZoomKeys) {
    w.AddSpectrum(2);
    plot.SetView(1600, 3199, 0, 127);
    key(PlotKey::J);
    EXPECT_EQ(plot.View().start, 1584);
    key(PlotKey::K, false, 2);
    EXPECT_EQ(plot.View().start, 1616);
    key(PlotKey::P);
    EXPECT_EQ(plot.View().start, (1616 + 3215) / 2);
    plot.SetView(100, 1699, 0, 127);
    key(PlotKey::O); // half a page left stops at 0
    EXPECT_EQ(plot.View(), (PlotView{0, 1599, 0, 127}));
    // M narrows, N widens by 2^0.1 about the cursor; Up and Down do it vertically.
    plot.MoveCursorTo(800);
    key(PlotKey::M);
    EXPECT_EQ(plot.View().end - plot.View().start + 1, std::lround(1600 * std::pow(0.5, 0.1)) - 1);
    EXPECT_LE(plot.View().start, 800);
    EXPECT_GE(plot.View().end, 800);
    const int narrow = plot.View().end - plot.View().start;
    key(PlotKey::N);
    EXPECT_GT(plot.View().end - plot.View().start, narrow);
    key(PlotKey::Up); // 128 counts shown become round(128 * 0.933) - 1 = 118, top 117
    EXPECT_EQ(plot.View().top, 117u);
    key(PlotKey::Down);
    EXPECT_GT(plot.View().top, 118u);
    // While outlines are still being built the zoom keys wait.
    w.worker.enabled = false;
    plot.SetView(0, 4095, 0, 127);
    const PlotView held = plot.View();
    key(PlotKey::M);
    key(PlotKey::Up);
    EXPECT_EQ(plot.View(), held);
}

TEST_F(PlotModel, LCyclesTheScaleAndItsLabel) {
    Recorder r;
    plot.AddListener(&r);
    EXPECT_EQ(plot.ScaleLabel(), "LIN Scale  ");
    key(PlotKey::L);
    EXPECT_EQ(plot.ScaleLabel(), "LOG Scale  ");
    key(PlotKey::L);
    EXPECT_EQ(plot.ScaleLabel(), "SQRT Scale ");
    key(PlotKey::L);
    EXPECT_EQ(plot.ScaleLabel(), "LIN Scale  ");
    EXPECT_EQ(r.scales, 3);
    plot.SetScaleType(ScaleType::Linear); // already in force
    EXPECT_EQ(r.scales, 3);
    plot.RemoveListener(&r);
}

TEST_F(PlotModel, DeviceKeysAskTheMainWindow) {
    Recorder r;
    plot.AddListener(&r);
    key(PlotKey::Space);
    key(PlotKey::F3);
    key(PlotKey::D);
    key(PlotKey::F5, true);
    plot.MoveCursorTo(0);
    key(PlotKey::F8);
    EXPECT_EQ(r.commands,
              (std::vector<std::pair<int, bool>>{{32907, true}, {32907, false}, {32834, true}}));
    EXPECT_EQ(r.autocal, 1);
    EXPECT_EQ(r.thresholds, std::vector<int>{1}); // channel 0 asks for 1
    w.env.dppDeviceType = 2;                      // D and T are the Kestrel's only
    key(PlotKey::D);
    key(PlotKey::T);
    EXPECT_EQ(r.commands.size(), 3u);
    EXPECT_FALSE(plot.HandleKey(PlotKey::Z, false)); // plain Z is not the plot's
    plot.RemoveListener(&r);
    // F8 on a DPP: the threshold byte scales the channel to 1024 and stops at 250.
    EXPECT_EQ(DppThresholdByte(1, 1024), 1);
    EXPECT_EQ(DppThresholdByte(100, 4096), 25);
    EXPECT_EQ(DppThresholdByte(1000, 1024), 250);
    EXPECT_EQ(DppThresholdByte(5, 0), 0);
}

TEST_F(PlotModel, MainWindowCommandsThatAreThePlots) {
    w.AddSpectrum(2);
    w.Active().m_roi.AddSorted(10, 20);
    plot.SetView(0, 1023, 0, 127);
    plot.MoveCursorTo(5000);
    EXPECT_TRUE(plot.RunCommand(32891)); // Center
    EXPECT_EQ(plot.View().start, 5000 - 511);
    EXPECT_TRUE(plot.RunCommand(32937)); // Previous View
    EXPECT_EQ(plot.View().start, 0);
    EXPECT_TRUE(plot.RunCommand(32939));
    EXPECT_EQ(plot.Mode(), MouseMode::EditRoi);
    EXPECT_TRUE(plot.RunCommand(32938)); // the other mode replaces it
    EXPECT_EQ(plot.Mode(), MouseMode::SelectView);
    EXPECT_TRUE(plot.RunCommand(32938));
    EXPECT_EQ(plot.Mode(), MouseMode::None);
    EXPECT_TRUE(plot.RunCommand(32783));
    EXPECT_EQ(plot.Settings().scaleType, ScaleType::Logarithmic);
    EXPECT_TRUE(plot.RunCommand(32906));
    EXPECT_EQ(plot.View().end - plot.View().start, 16383);
    EXPECT_TRUE(plot.RunCommand(32961));
    EXPECT_TRUE(rois().empty());
    EXPECT_FALSE(plot.RunCommand(57601)); // Open is not the plot's
}

TEST_F(PlotModel, CtrlZResetsTheHeaderToItsSlot) {
    CSpectrum* s = w.AddSpectrum(2);
    s->m_strTag = "mine";
    s->m_strFileName = "/tmp/mine.mca";
    s->m_strGeneralNotes = "note";
    key(PlotKey::Z, true);
    EXPECT_EQ(s->m_strTag, w.env.slots.ForPosition(1).tag);
    EXPECT_EQ(s->m_strFileName, s->m_strTag + ".mca");
    EXPECT_TRUE(s->m_strGeneralNotes.empty());
}

TEST_F(PlotModel, RubberBandZoomsOnlyForRealBoxes) {
    plot.Resize(1000, 500);
    plot.SetView(0, 999, 0, 499);
    plot.ToggleSelectView();
    EXPECT_EQ(plot.Shape(), MouseShape::Cross);
    const PlotView before = plot.View();
    // 10 pixels wide: ignored; 8 high: ignored.
    plot.MouseDown(100, 100, 0);
    plot.MouseMove(110, 300, 30000);
    ASSERT_TRUE(plot.CurrentRubberBand().has_value());
    plot.MouseUp(110, 300);
    EXPECT_FALSE(plot.CurrentRubberBand().has_value());
    plot.MouseDown(100, 100, 100000);
    plot.MouseUp(400, 108);
    EXPECT_EQ(plot.View(), before);
    // A real box maps its pixels onto channels and counts; the mode stays.
    plot.MouseDown(200, 100, 200000);
    plot.MouseMove(600, 400, 230000);
    plot.MouseUp(600, 400);
    EXPECT_EQ(plot.View(), (PlotView{200, 600, 100, 400}));
    EXPECT_EQ(plot.Mode(), MouseMode::SelectView);
    plot.ToggleSelectView();
    EXPECT_EQ(plot.Mode(), MouseMode::None);
}

TEST_F(PlotModel, MouseMovesAreThrottledTo20Ms) {
    plot.Resize(1000, 500);
    plot.SetView(0, 999, 0, 499);
    plot.MouseDown(100, 10, 1000000);
    plot.MouseMove(300, 10, 1010000); // 10 ms later: ignored
    EXPECT_DOUBLE_EQ(plot.Cursor(), plot.PixelToChannel(100));
    plot.MouseMove(300, 10, 1020000);
    EXPECT_DOUBLE_EQ(plot.Cursor(), plot.PixelToChannel(300));
    plot.MouseMove(5000, 10, 1040000); // clamped into the plot
    EXPECT_NEAR(plot.Cursor(), 999, 1e-9);
    plot.MouseUp(0, 0);
    plot.MouseMove(500, 10, 2000000); // button released: no tracking
    EXPECT_NEAR(plot.Cursor(), 999, 1e-9);
}

TEST_F(PlotModel, EditRoiDrawsNewRoisAndDragsEndsPastEachOther) {
    w.AddSpectrum(6);
    plot.Resize(1000, 500);
    plot.SetView(0, 999, 0, 127);
    plot.ToggleEditRoi();
    EXPECT_EQ(plot.Shape(), MouseShape::SizeNorthSouth);
    // Far from any boundary: a new ROI anchored at the click, drawn to the left.
    plot.MouseDown(500, 50, 0);
    plot.MouseMove(450, 50, 30000);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{450, 500}}));
    plot.MouseMove(420, 50, 60000);
    plot.MouseUp(420, 50);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{420, 500}}));
    // Grab the end (within 2 channels) and drag it past the start: the ROI goes, and comes
    // back as the start side when dragged further... back again to the right it returns.
    plot.MouseDown(501, 50, 100000);
    EXPECT_TRUE(plot.IsDragging());
    EXPECT_EQ(plot.Shape(), MouseShape::SizeEastWest);
    plot.MouseMove(410, 50, 130000);
    EXPECT_TRUE(rois().empty());
    plot.MouseMove(470, 50, 160000);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{420, 470}}));
    plot.MouseUp(480, 50);
    EXPECT_EQ(rois(), (std::vector<std::pair<int, int>>{{420, 480}}));
    EXPECT_FALSE(plot.IsDragging());
    EXPECT_EQ(plot.Mode(), MouseMode::EditRoi);
    // Dragging the start right past the end deletes; releasing there leaves none.
    plot.MouseDown(421, 50, 200000);
    plot.MouseMove(490, 50, 230000);
    plot.MouseUp(490, 50);
    EXPECT_TRUE(rois().empty());
}

TEST_F(PlotModel, TypedRanges) {
    w.AddSpectrum(2);
    plot.SetView(0, 1023, 0, 127);
    plot.SetFieldText(NavField::CountTop, "2M");
    EXPECT_TRUE(plot.ApplyField(NavField::CountTop));
    EXPECT_EQ(plot.View().top, 2000001u);
    EXPECT_EQ(plot.FieldText(NavField::CountTop), "2000001");
    plot.SetFieldText(NavField::CountBottom, "1b");
    plot.SetFieldText(NavField::CountTop, "2B");
    EXPECT_TRUE(plot.ApplyField(NavField::CountBottom));
    EXPECT_EQ(plot.View(), (PlotView{0, 1023, 1000000000u, 2000000001u}));
    const PlotView kept = plot.View();
    for (auto [b, t] : {std::pair{"50", "50"}, {"-1", "10"}, {"0", "4294967296"}, {"9", "3"}}) {
        plot.SetFieldText(NavField::CountBottom, b);
        plot.SetFieldText(NavField::CountTop, t);
        EXPECT_FALSE(plot.ApplyField(NavField::CountTop)) << b << " " << t;
        EXPECT_EQ(plot.View(), kept);
    }
    ASSERT_EQ(w.prompt.messages.size(), 4u);
    EXPECT_EQ(w.prompt.messages.back(), "Invalid range!");
    // Horizontal fields in calibrated units, clamped to the spectrum's channels.
    CCalibrate& cal = w.Active().m_calibrate;
    cal.AddPoint(0, 0);
    cal.AddPoint(1000, 10);
    cal.Fit(0);
    plot.UnitsChanged();
    plot.SetFieldText(NavField::RangeLeft, "1");
    plot.SetFieldText(NavField::RangeRight, "99");
    EXPECT_TRUE(plot.ApplyField(NavField::RangeRight));
    // 99 is past the last channel; one past channel 1023 is past the scale, so the view
    // slides back by one absolute channel.
    EXPECT_EQ(plot.View().start, ToAbsolute(100, 2) - 1);
    EXPECT_EQ(plot.View().end, 16383);
    EXPECT_EQ(plot.FieldText(NavField::RangeLeft), "0.99");
    EXPECT_EQ(plot.FieldText(NavField::RangeRight), "10.23");
}

TEST_F(PlotModel, AutoscaleUsesTheRangeAndTheMinimumSpan) {
    w.AddSpectrum(2, [](int c) { return c == 700 ? 5000.0 : c < 500 ? 10.0 : 0.0; });
    plot.SetView(0, 4095, 300, 900); // channels 0..255
    plot.AutoscaleVertical();
    EXPECT_EQ(plot.View(), (PlotView{0, 4095, 0, 31})); // largest count 10
    plot.FullHorizontalRange();
    EXPECT_EQ(plot.View().start, 0);
    EXPECT_EQ(plot.View().end, 16383);
    plot.AutoscaleVertical();
    EXPECT_EQ(plot.View().top, 5000u);
    // While a Kestrel acquires with autoscale on, the top only grows, to twice the maximum.
    PlotSettings st = plot.Settings();
    st.autoscale = true;
    plot.SetSettings(st);
    w.port->SetAcquisitionStateSource([] { return 3; });
    plot.SetView(0, 16383, 0, 9000);
    plot.AutoscaleVertical();
    EXPECT_EQ(plot.View().top, 9000u);
    plot.SetView(0, 16383, 0, 4000);
    plot.AutoscaleVertical();
    EXPECT_EQ(plot.View().top, 10000u);
}

TEST_F(PlotModel, ZoomWidthAndCentre) {
    plot.SetView(0, 1023, 0, 127);
    plot.MoveCursorTo(1000);
    plot.SetViewWidth(256); // cursor right of the middle: keep the right edge
    EXPECT_EQ(plot.View(), (PlotView{768, 1023, 0, 127}));
    plot.MoveCursorTo(800);
    plot.SetViewWidth(64); // the right edge would lose the cursor: centre on it
    EXPECT_EQ(plot.View().start, 800 - 32);
    plot.MoveCursorTo(100); // out of view: scale about the cursor
    plot.SetViewWidth(1024);
    EXPECT_EQ(plot.View().start, 100 + (768 - 100) * 16);
    plot.SetView(4000, 5023, 0, 127);
    plot.MoveCursorTo(10000);
    plot.Center();
    EXPECT_EQ(plot.View(), (PlotView{10000 - 511, 10000 + 512, 0, 127}));
    // Height near the top of the count range gives way at the bottom.
    plot.SetView(0, 1023, 4294967000u, 4294967100u);
    plot.SetViewHeight(1000);
    EXPECT_EQ(plot.View().top, 4294967294u);
    EXPECT_EQ(plot.View().top - plot.View().bottom, 999u);
}

TEST_F(PlotModel, HeldZoomButtonRepeatsEvery200MsUntilTheMinimumWidth) {
    plot.SetView(0, 16383, 0, 127);
    plot.MoveCursorTo(8000);
    plot.PressZoomButton(ZoomButton::HorizontalExpand, true);
    EXPECT_EQ(plot.View().end - plot.View().start, 8190);
    std::vector<int> widths;
    for (int i = 0; i < 12 && !w.scheduler.due.empty(); ++i) {
        EXPECT_EQ(w.scheduler.delays.back(), 200000);
        w.scheduler.RunDue();
        widths.push_back(plot.View().end - plot.View().start);
    }
    EXPECT_EQ(widths.front(), 4094);
    EXPECT_EQ(widths.back(), 63);
    EXPECT_LE(plot.View().start, 8000);
    EXPECT_GE(plot.View().end, 8000);
    plot.ReleaseZoomButton();
    w.scheduler.RunDue();
    EXPECT_TRUE(w.scheduler.due.empty()); // released: the chain ends
}

TEST_F(PlotModel, ResizeRulesAndColumnInvalidation) {
    struct Columns : PlotListener {
        std::vector<std::pair<int, int>> seen;
        void ColumnsInvalidated(int a, int b) override { seen.push_back({a, b}); }
    } cols;
    EXPECT_FALSE(plot.Resize(100, 500));
    EXPECT_FALSE(plot.Resize(500, 80));
    EXPECT_FALSE(plot.Resize(900, 900, true));
    EXPECT_FALSE(plot.Resize(1024, 512)); // unchanged
    EXPECT_TRUE(plot.Resize(1025, 512));
    EXPECT_EQ(plot.Geometry().width, 1025);
    plot.Resize(1024, 512);
    plot.AddListener(&cols);
    w.AddSpectrum(2);
    plot.SetView(0, 1023, 0, 127);
    plot.InvalidateChannelRange(10, 19);
    plot.InvalidateChannelRange(-100, -50); // left of the plot: nothing
    EXPECT_EQ(cols.seen, (std::vector<std::pair<int, int>>{{160 - 3, 320 + 3}}));
    // ROI operations reach the plot through the display sink.
    cols.seen.clear();
    plot.MoveCursorTo(ToAbsolute(30, 2));
    key(PlotKey::U);
    ASSERT_FALSE(cols.seen.empty());
    EXPECT_LE(cols.seen.front().first, 480);
    plot.RemoveListener(&cols);
}

TEST(PlotScene, RoiDrawOrderPutsTheSelectedRoiLastAndFollowsTheSwitches) {
    using V = std::vector<std::pair<int, BandBrush>>;
    const auto R = BandBrush::Roi, S = BandBrush::SelectedRoi;
    EXPECT_EQ(RoiDrawOrder(3, 1, true, true), (V{{0, R}, {2, R}, {1, S}}));
    EXPECT_EQ(RoiDrawOrder(3, 1, false, true), (V{{0, R}, {2, R}, {1, R}}));
    EXPECT_EQ(RoiDrawOrder(3, 1, true, false), (V{{1, S}}));
    EXPECT_TRUE(RoiDrawOrder(3, 1, false, false).empty());
    EXPECT_EQ(RoiDrawOrder(2, -1, true, true), (V{{0, R}, {1, R}}));
    EXPECT_EQ(RoiDrawOrder(2, 7, true, true), (V{{0, R}, {1, R}})); // a stale selection
}

TEST_F(PlotModel, SceneDrawsTheActiveSpectrumItsBandsAndTheVisibleOthers) {
    CSpectrum* hidden = w.AddSpectrum(2, [](int) { return 5.0; });
    CSpectrum* shown = w.AddSpectrum(2, [](int) { return 7.0; });
    CSpectrum* active = w.AddSpectrum(2, [](int c) { return c; });
    hidden->m_bHidden = 1;
    active->m_roi.AddSorted(100, 110);
    active->m_roi.AddSorted(200, 220);
    active->m_roi.SetSelected(0);
    plot.SetPeakSearchOverlay(RoiOverlay{{{300, 310}}, -1});
    OutlineCache buffers;
    PlotScene scene = BuildPlotScene(plot, *w.port, buffers);
    ASSERT_TRUE(scene.active.has_value());
    EXPECT_TRUE(scene.active->filled);
    EXPECT_EQ(scene.active->color, active->m_crColor);
    // The live spectrum has no contents yet, the hidden one is left out: one other curve.
    ASSERT_EQ(scene.others.size(), 1u);
    EXPECT_EQ(scene.others[0].color, shown->m_crColor);
    ASSERT_EQ(scene.roiBands.size(), 2u);
    EXPECT_EQ(scene.roiBands.back().brush, BandBrush::SelectedRoi);
    EXPECT_EQ(scene.overlayBands.size(), 1u);
    // Axis labels: 8 along the bottom minus the edges, in channels; counts on the left.
    EXPECT_EQ(scene.bottomLabels.size(), 7u);
    EXPECT_EQ(scene.bottomLabels[0].text, "128");
    EXPECT_FALSE(scene.leftLabels.empty());
    EXPECT_TRUE(scene.grid.vertical.empty());
    plot.MoveCursorTo(8192);
    EXPECT_EQ(BuildPlotScene(plot, *w.port, buffers).cursorColumn, 512);
    // Without fill the active spectrum is a line; a hidden active spectrum is still drawn.
    PlotSettings st = plot.Settings();
    st.fillEnable = false;
    plot.SetSettings(st);
    active->m_bHidden = 1;
    scene = BuildPlotScene(plot, *w.port, buffers);
    ASSERT_TRUE(scene.active.has_value());
    EXPECT_FALSE(scene.active->filled);
}
