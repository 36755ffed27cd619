#include <cmath>

#include <gtest/gtest.h>

#include "spectrum/CCalibrate.h"
#include "spectrum/CRoi.h"

using namespace vorna;

TEST(CRoi, SortedAddKeepsInsertionOrderForEqualStartsAndMovesSelection) {
    CRoi roi;
    EXPECT_EQ(roi.AddSorted(10, 20), 0);
    EXPECT_EQ(roi.AddSorted(50, 70), 1);
    EXPECT_EQ(roi.AddSorted(5, 5), -1); // start == end changes nothing
    EXPECT_EQ(roi.GetCount(), 2);

    roi.SetSelected(1);
    EXPECT_EQ(roi.AddSorted(50, 60), 2); // after (50, 70)
    EXPECT_EQ(roi.GetSelected(), 1);
    EXPECT_EQ(roi[2].end, 60);

    roi.SetSelected(2);
    EXPECT_EQ(roi.AddSorted(30, 40), 1); // inserted before the selection
    EXPECT_EQ(roi.GetSelected(), 3);
    EXPECT_EQ(roi[3].start, 50);
    EXPECT_EQ(roi[3].end, 60);
}

TEST(CRoi, DeleteAdjustsOrClearsSelectionAndFindTakesFirstMatch) {
    CRoi roi;
    roi.AddSorted(10, 20);
    roi.AddSorted(15, 30);
    roi.AddSorted(40, 50);
    EXPECT_EQ(roi.Find(17), 0);
    EXPECT_EQ(roi.Find(25), 1);
    EXPECT_EQ(roi.Find(35), -1);

    roi.SetSelected(2);
    roi.Delete(0);
    EXPECT_EQ(roi.GetSelected(), 1);
    roi.Delete(1);
    EXPECT_EQ(roi.GetSelected(), -1);
    roi.Delete(7); // out of range: ignored
    EXPECT_EQ(roi.GetCount(), 1);

    roi.Append(100, 90); // the reader appends as given
    EXPECT_EQ(roi[1].start, 100);
    EXPECT_STREQ(RoiStatusText(roi[1].status), "INVALID");
    EXPECT_STREQ(RoiStatusText(static_cast<RoiStatus>(3)), "GOOD"); // the stored number
    roi.Clear();
    EXPECT_TRUE(roi.IsEmpty());
    EXPECT_EQ(roi.GetSelected(), -1);
}

TEST(CCalibrate, LinearFitAndConversions) {
    CCalibrate cal;
    cal.AddPoint(100, 1.0);
    cal.AddPoint(200, 2.0);
    EXPECT_EQ(cal.Fit(1), 1); // two points: linear even when quadratic is asked
    EXPECT_TRUE(cal.IsCalibrated());
    EXPECT_NEAR(cal.A(), 0.0, 1e-12);
    EXPECT_NEAR(cal.B(), 0.01, 1e-15);
    EXPECT_EQ(cal.C(), 0.0);
    EXPECT_NEAR(cal.ValueToChannel(1.5, true), 150.5, 1e-9);
    EXPECT_EQ(static_cast<int>(cal.ValueToChannel(1.5, true)), 150);
    EXPECT_NEAR(cal.ChannelToValue(300, true), 3.0, 1e-12);
    EXPECT_EQ(cal.ChannelToValue(300, false), 300);
    EXPECT_NEAR(cal.WidthToValue(10, true), 0.1, 1e-12);
}

TEST(CCalibrate, QuadraticFitOfCollinearPointsAndNegativeDiscriminant) {
    CCalibrate cal;
    cal.AddPoint(0, 1.0);
    cal.AddPoint(100, 2.0);
    cal.AddPoint(200, 3.0);
    ASSERT_EQ(cal.Fit(1), 1);
    EXPECT_NEAR(cal.C(), 0.0, 1e-12);
    EXPECT_NEAR(cal.B(), 0.01, 1e-12);

    CCalibrate q;
    q.AddPoint(0, 0.0);
    q.AddPoint(10, 10.0);
    q.AddPoint(20, 40.0); // y = 0.1 x^2 ... plus a linear part
    ASSERT_EQ(q.Fit(1), 1);
    ASSERT_NE(q.C(), 0.0);
    // B² + 4C(v − A) < 0 takes the square root of 0.
    double v = q.A() - 1e6;
    EXPECT_NEAR(q.ValueToChannel(v, true), -q.B() * 0.5 / q.C() + 0.5, 1e-9);
}

TEST(CCalibrate, OnePointIsIdentityAndSingularFitIsRefused) {
    CCalibrate one;
    one.AddPoint(10, 5.0);
    EXPECT_EQ(one.Fit(0), 1);
    EXPECT_FALSE(one.IsCalibrated());
    EXPECT_EQ(one.ChannelToValue(42, true), 42);
    EXPECT_EQ(one.ValueToChannel(42, true), 42.5);

    CCalibrate same;
    same.SetLabel("keV");
    same.AddPoint(10, 1.0);
    same.AddPoint(10, 2.0);
    std::string failure;
    EXPECT_EQ(same.Fit(0, &failure), 0);
    EXPECT_FALSE(same.IsCalibrated());
    EXPECT_EQ(same.GetCount(), 2); // points kept
    EXPECT_EQ(failure, "Invalid linear calibration keV");
    EXPECT_TRUE(std::isfinite(same.ValueToChannel(3.0, true)));

    same.AddPoint(10, 3.0);
    EXPECT_EQ(same.Fit(1, &failure), 0);
    EXPECT_EQ(failure, "Invalid quadratic calibration keV");

    same.Reset();
    EXPECT_EQ(same.Label(), "Channel");
    EXPECT_EQ(same.GetCount(), 0);
}
