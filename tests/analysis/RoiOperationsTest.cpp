#include <gtest/gtest.h>

#include "AnalysisFixtures.h"
#include "analysis/RoiOperations.h"

using namespace vorna;
using vorna::test::RecordingDisplay;

namespace {

struct World {
    std::unique_ptr<CSpectrum> spectrum = test::makeSpectrum(4, 10.0); // 4096 ch: abs = c << 2
    RecordingDisplay display;
    SpectrumEnvironment env;
    World() {
        env.display = &display;
        test::addGaussian(spectrum->m_pData, 1000, 3, 10000);
    }
    RoiContext ctx(bool active = true) { return {*spectrum, env, active}; }
};

using Ranges = std::vector<std::pair<int, int>>;

} // namespace

TEST(RoiOperations, AddComputesAndRedrawsOnlyWhenShown) {
    World w;
    EXPECT_EQ(AddRoi(w.ctx(), 980, 1020), 0);
    EXPECT_EQ(w.spectrum->m_roi[0].status, RoiStatus::Good); // statistics computed at once
    EXPECT_EQ(w.display.ranges, (Ranges{{3920, 4084}}));
    EXPECT_EQ(AddRoi(w.ctx(), 50, 50), -1);

    w.display.ranges.clear();
    EXPECT_EQ(AddRoi(w.ctx(false), 10, 20), 0); // not the active spectrum
    w.env.settings.showAllRoi = 0;
    EXPECT_EQ(AddRoi(w.ctx(), 30, 40), 1);
    EXPECT_TRUE(w.display.ranges.empty());
    EXPECT_EQ(w.spectrum->m_roi.GetCount(), 3);
}

TEST(RoiOperations, DeleteAndModify) {
    World w;
    AddRoi(w.ctx(), 100, 200);
    AddRoi(w.ctx(), 980, 1020);
    w.spectrum->m_roi.SetSelected(1);
    w.display = RecordingDisplay();

    DeleteRoi(w.ctx(), 5); // out of range
    EXPECT_TRUE(w.display.ranges.empty());

    w.env.settings.showAllRoi = 0;
    DeleteRoi(w.ctx(false), 1); // selected one, show_roi set: redrawn even when not active
    EXPECT_EQ(w.display.ranges, (Ranges{{3920, 4084}}));
    EXPECT_EQ(w.display.infoRefreshes, 1);
    EXPECT_EQ(w.spectrum->m_roi.GetSelected(), -1);

    w.display = RecordingDisplay();
    DeleteRoi(w.ctx(), 0); // neither shown-all nor selected
    EXPECT_TRUE(w.display.ranges.empty());
    EXPECT_EQ(w.display.infoRefreshes, 0);

    w.env.settings.showAllRoi = 1;
    AddRoi(w.ctx(), 100, 200);
    AddRoi(w.ctx(), 300, 400);
    w.display = RecordingDisplay();
    EXPECT_EQ(ModifyRoi(w.ctx(), 0, 100, 200), 0); // same range: nothing at all
    EXPECT_TRUE(w.display.ranges.empty());
    EXPECT_EQ(ModifyRoi(w.ctx(), 0, 500, 600), 1); // re-added after (300, 400)
    EXPECT_EQ(w.spectrum->m_roi[1].start, 500);
    EXPECT_EQ(w.spectrum->m_roi[1].status, RoiStatus::Bad);
    EXPECT_EQ(w.display.ranges, (Ranges{{400, 804}, {2000, 2404}}));
    EXPECT_EQ(ModifyRoi(w.ctx(), 7, 1, 2), -1);
}

TEST(RoiOperations, SelectionByPositionNextAndPrevious) {
    World w;
    AddRoi(w.ctx(), 100, 200);
    AddRoi(w.ctx(), 150, 250);
    AddRoi(w.ctx(), 400, 500);
    w.display = RecordingDisplay();

    // Absolute 698.4 -> 698 -> channel 174: first ROI holding it is index 0.
    EXPECT_EQ(SelectRoiAt(w.ctx(), 698.4), 0);
    EXPECT_EQ(w.display.ranges, (Ranges{{400, 804}}));
    EXPECT_EQ(w.display.infoRefreshes, 1);
    EXPECT_EQ(SelectRoiAt(w.ctx(), 1000.0), 1); // channel 250
    EXPECT_EQ(w.display.ranges.size(), 3u);     // old and new
    EXPECT_EQ(SelectRoiAt(w.ctx(), 1300.0), -1);
    EXPECT_EQ(w.spectrum->m_roi.GetSelected(), -1);

    // Nothing selected: next = first start beyond the cursor, previous = last end before it.
    w.display.cursorAbsolute = 4 * 220;
    EXPECT_EQ(SelectNextRoi(w.ctx()), 1);
    EXPECT_EQ(w.spectrum->m_roi.GetSelected(), 2);
    EXPECT_EQ(SelectNextRoi(w.ctx()), 0); // no ROI after the last
    EXPECT_EQ(w.spectrum->m_roi.GetSelected(), 2);
    EXPECT_EQ(SelectPreviousRoi(w.ctx()), 1);
    EXPECT_EQ(w.spectrum->m_roi.GetSelected(), 1);
    w.spectrum->m_roi.SetSelected(-1);
    w.display.cursorAbsolute = 4 * 180;
    EXPECT_EQ(SelectPreviousRoi(w.ctx()), 0); // no ROI ends before channel 180
    w.display.cursorAbsolute = 4 * 300;
    w.display.ranges.clear();
    EXPECT_EQ(SelectPreviousRoi(w.ctx()), 1);
    EXPECT_EQ(w.spectrum->m_roi.GetSelected(), 1);
    EXPECT_EQ(w.display.ranges, (Ranges{{600, 1004}}));
    w.spectrum->m_roi.SetSelected(0);
    EXPECT_EQ(SelectPreviousRoi(w.ctx()), 0);
}

TEST(RoiOperations, ClearRedrawsThePlotWhenRoisAreShown) {
    World w;
    AddRoi(w.ctx(), 100, 200);
    w.spectrum->m_roi.SetSelected(0);
    ClearRois(w.ctx());
    EXPECT_TRUE(w.spectrum->m_roi.IsEmpty());
    EXPECT_EQ(w.spectrum->m_roi.GetSelected(), -1);
    EXPECT_EQ(w.display.plotRedraws, 1);
    w.env.settings.showRoi = 0;
    w.env.settings.showAllRoi = 0;
    ClearRois(w.ctx());
    EXPECT_EQ(w.display.plotRedraws, 1);
}
