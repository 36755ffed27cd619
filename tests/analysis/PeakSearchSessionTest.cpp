#include <gtest/gtest.h>

#include "AnalysisFixtures.h"
#include "analysis/CalibrationPlot.h"
#include "analysis/PeakSearchSession.h"

using namespace vorna;
using vorna::test::addGaussian;

namespace {

std::vector<std::pair<int, int>> ranges(const CRoi& rois) {
    std::vector<std::pair<int, int>> out;
    for (const CRoiEntry& r : rois.Entries())
        out.emplace_back(r.start, r.end);
    return out;
}

PeakSearchFields fields(const char* start = "0", const char* end = "1023") {
    return {"5.0", "5", start, end};
}

struct SessionFixture : ::testing::Test {
    std::unique_ptr<CSpectrum> spectrum = test::makeSpectrum(2, 30.0);
    test::RecordingDisplay display;
    SpectrumEnvironment env;
    void SetUp() override {
        addGaussian(spectrum->m_pData, 300.0, 2.5, 8000);
        addGaussian(spectrum->m_pData, 700.0, 2.5, 8000);
        spectrum->m_roi.AddSorted(100, 120);
        env.display = &display;
    }
};

} // namespace

TEST(PeakSearchFields, EachFieldIsCheckedInOrder) {
    EXPECT_EQ(ReadPeakSearchFields({" 0.5 ", "2", "1", "2"}).message, "");
    EXPECT_EQ(ReadPeakSearchFields({"1000000", "100000", "-3.5", "1e3"}).message, "");
    const char* sens = "Please enter a number between 0.5 and 1000000.";
    const char* width = "Please enter an integer between 2 and 100000.";
    EXPECT_EQ(ReadPeakSearchFields({"0.49", "1", "0", "1"}).message, sens);
    EXPECT_EQ(ReadPeakSearchFields({"5x", "5", "0", "1"}).message, sens);
    EXPECT_EQ(ReadPeakSearchFields({"5", "1", "0", "1"}).message, width);
    EXPECT_EQ(ReadPeakSearchFields({"5", "2.5", "0", "1"}).message, width);
    EXPECT_EQ(ReadPeakSearchFields({"5", "100001", "0", "1"}).message, width);
    EXPECT_EQ(ReadPeakSearchFields({"5", "5", "", "1"}).message, "Please enter a number.");
    EXPECT_EQ(ReadPeakSearchFields({"5", "5", "0", "nan"}).message, "Please enter a number.");
    PeakSearchInput in = ReadPeakSearchFields({"7.5", "12", "1.5", "9"});
    EXPECT_EQ(in.sensitivity, 7.5);
    EXPECT_EQ(in.width, 12);
    EXPECT_EQ(in.startRange, 1.5);
    EXPECT_EQ(in.endRange, 9.0);
}

TEST_F(SessionFixture, ResultsStandInForTheOwnListOnlyWhileTheReportRuns) {
    PeakSearchSession session(*spectrum, env, true);
    EXPECT_TRUE(session.DetailsEnabled());
    EXPECT_EQ(session.SearchRange(fields("500", "500")), "Invalid range!");
    EXPECT_FALSE(session.HasResults());
    EXPECT_EQ(session.SearchRange(fields("400", "600")), "No valid peaks are found!");
    ASSERT_EQ(session.SearchAll(fields()), "");
    const auto found = ranges(session.Results());
    ASSERT_EQ(found.size(), 2u);

    std::vector<std::pair<int, int>> during;
    const int redraws = display.plotRedraws;
    session.WithResultsShown([&] { during = ranges(spectrum->m_roi); });
    EXPECT_EQ(during, found);
    EXPECT_GT(display.plotRedraws, redraws);
    EXPECT_EQ(ranges(spectrum->m_roi), (std::vector<std::pair<int, int>>{{100, 120}}));
    // A report that fails still gives the list back.
    EXPECT_THROW(session.WithResultsShown([] { throw std::runtime_error("report"); }),
                 std::runtime_error);
    EXPECT_EQ(spectrum->m_roi.GetCount(), 1);

    // A failed search drops the results it replaced.
    EXPECT_EQ(session.SearchRange(fields("1", "0")), "Invalid range!");
    EXPECT_FALSE(session.HasResults());
}

TEST_F(SessionFixture, AddAndReplaceAreUndoneByCancel) {
    PeakSearchSession session(*spectrum, env, true);
    ASSERT_EQ(session.SearchAll(fields()), "");
    const auto found = ranges(session.Results());
    session.AddResults();
    EXPECT_TRUE(session.ChangedRoiList());
    EXPECT_EQ(spectrum->m_roi.GetCount(), 3);
    EXPECT_EQ(spectrum->m_roi[1].status, RoiStatus::Good); // added as by Add ROI: computed
    session.ReplaceWithResults();
    EXPECT_EQ(ranges(spectrum->m_roi), found);
    session.Cancel();
    EXPECT_EQ(ranges(spectrum->m_roi), (std::vector<std::pair<int, int>>{{100, 120}}));
    EXPECT_FALSE(session.ChangedRoiList());

    // Without Add or Replace, Cancel leaves the list alone, even one changed elsewhere.
    auto empty = test::makeSpectrum(2, 30.0);
    PeakSearchSession untouched(*empty, env, true);
    EXPECT_FALSE(untouched.DetailsEnabled());
    empty->m_roi.AddSorted(5, 9);
    untouched.Cancel();
    EXPECT_EQ(empty->m_roi.GetCount(), 1);
}

TEST_F(SessionFixture, OpeningFieldsShowThePlotRangeInDisplayedUnits) {
    env.settings.peakSearchSens = 7.5;
    env.settings.peakWidth = 9;
    spectrum->m_calibrate.AddPoint(0, 0.0);
    spectrum->m_calibrate.AddPoint(1000, 10.0);
    ASSERT_EQ(spectrum->m_calibrate.Fit(0), 1);
    PeakSearchSession session(*spectrum, env, true);
    // Gain 2: absolute channels are spectrum channels times 16.
    PeakSearchFields f = session.OpeningFields(16 * 250, 16 * 1023 + 15);
    EXPECT_EQ(f.sensitivity, "7.5");
    EXPECT_EQ(f.width, "9");
    EXPECT_EQ(f.startRange, "2.50");
    EXPECT_EQ(f.endRange, "10.23");
    env.settings.calibrateEnable = 0;
    f = session.OpeningFields(16 * 250, 16 * 1023);
    EXPECT_EQ(f.startRange, "250");
    EXPECT_EQ(f.endRange, "1023");
    // The accepted fields are what OK stores.
    ASSERT_TRUE(session.Accept({"6", "11", "0", "1"}));
    EXPECT_EQ(session.Accept({"6", "11", "0", "1"})->width, 11);
    EXPECT_FALSE(session.Accept({"6", "1", "0", "1"}));
}

TEST(CalibrationPlot, BoundsCurveAndCaptions) {
    CCalibrate c;
    c.AddPoint(100, 1.0);
    c.AddPoint(300, 2.0);
    c.AddPoint(200, 1.9);
    CalibrationPlotData uncalibrated = MakeCalibrationPlot(c);
    EXPECT_TRUE(uncalibrated.curve.empty());
    EXPECT_EQ(uncalibrated.channelMinCaption, "min  100");
    EXPECT_EQ(uncalibrated.channelMaxCaption, "max  300");
    EXPECT_EQ(uncalibrated.valueMinCaption, "min  1");
    EXPECT_EQ(uncalibrated.valueMaxCaption, "max  2");

    ASSERT_EQ(c.Fit(1), 1);
    CalibrationPlotData d = MakeCalibrationPlot(c, 11);
    ASSERT_EQ(d.curve.size(), 11u);
    EXPECT_EQ(d.curve.front().channel, 100.0);
    EXPECT_EQ(d.curve.back().channel, 300.0);
    EXPECT_NEAR(d.curve[5].value, 1.9, 1e-9); // the curve passes through its points
    // A curve that bulges above its highest point widens the value bounds.
    EXPECT_GT(d.maxValue, 2.0);
    EXPECT_NEAR(d.maxValue, 2.056, 1e-9); // at channel 260
    EXPECT_EQ(d.valueMaxCaption, "max  2.06");
    EXPECT_NEAR(d.minValue, 1.0, 1e-9);
    EXPECT_EQ(d.points.size(), 3u);
}
