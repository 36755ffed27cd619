#include <gtest/gtest.h>

#include "AnalysisFixtures.h"
#include "analysis/AutoCalibration.h"
#include "analysis/CalibrationEditor.h"

using namespace vorna;

using Messages = std::vector<std::string>;

TEST(CalibrationEditor, PointListRulesAndEquationSelector) {
    CalibrationEditor ed(CCalibrate(), 1024, 1);
    EXPECT_EQ(ed.Equation(), 0); // forced linear below two points
    EXPECT_FALSE(ed.EquationEnabled());
    EXPECT_EQ(ed.CoefficientText(), "A =        B =");
    EXPECT_FALSE(ed.PlotEnabled());

    EXPECT_EQ(ed.Add("1024", "1"), Messages{"Invalid channel!"});
    EXPECT_EQ(ed.Add("-1", "1"), Messages{"Invalid channel!"});
    EXPECT_EQ(ed.Add("12x", "1"), Messages{"Invalid channel!"});
    EXPECT_EQ(ed.Add("", "1"), Messages{"Invalid channel!"});
    EXPECT_EQ(ed.Add("10", "1e101"), Messages{"Invalid value!"});
    EXPECT_EQ(ed.Add("10", "nan"), Messages{"Invalid value!"});
    EXPECT_EQ(ed.Calibration().GetCount(), 0);

    EXPECT_TRUE(ed.Add("200", "2").empty());
    EXPECT_EQ(ed.Rows(), Messages{"200\t2"}); // one point: not calibrated
    EXPECT_TRUE(ed.Add("100", "1").empty());
    EXPECT_EQ(ed.Selected(), 0);        // inserted before the greater channel and selected
    EXPECT_FALSE(ed.EquationEnabled()); // two points do not enable the selector
    EXPECT_TRUE(ed.PlotEnabled());
    EXPECT_EQ(ed.Rows(), (Messages{"100\t1\t0", "200\t2\t0"}));
    EXPECT_EQ(ed.CoefficientText(), "A=0  B=0.01 ");

    EXPECT_EQ(ed.Add("100", "5"),
              Messages{"Calibration point for this channel\nhas been already defined!"});
    EXPECT_EQ(ed.Calibration().GetCount(), 2);

    EXPECT_TRUE(ed.Add("300", "3.5").empty());
    EXPECT_TRUE(ed.EquationEnabled());
    EXPECT_EQ(ed.Equation(), 0);
    // Linear through (100,1) (200,2) (300,3.5): A = -1/3, B = 0.0125; deviations shown.
    Messages rows = ed.Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "100\t1\t-0.0833333");
    EXPECT_EQ(rows[1], "200\t2\t0.166667");
    EXPECT_EQ(ed.CoefficientText(), "A=-0.333333  B=0.0125 ");
    EXPECT_TRUE(ed.SetEquation(1).empty());
    EXPECT_EQ(ed.Rows(), (Messages{"100\t1\t0", "200\t2\t0", "300\t3.5\t0"}));
    EXPECT_EQ(ed.CoefficientText(), "A=0.5  B=0.0025  C=2.5e-05");

    auto fields = ed.SelectRow(1);
    EXPECT_EQ(fields.first, "200");
    EXPECT_EQ(fields.second, "2");
    EXPECT_TRUE(ed.Replace("200", "2.5").empty()); // the same channel may be replaced
    EXPECT_EQ(ed.Calibration().Points()[1].value, 2.5);
    EXPECT_EQ(ed.Selected(), 1);
    EXPECT_EQ(ed.Replace("abc", "1"), Messages{"Invalid channel!"});
    EXPECT_EQ(ed.Calibration().GetCount(), 3); // a typing error loses no point

    EXPECT_TRUE(ed.Remove().empty());
    EXPECT_EQ(ed.Remove(), Messages{"There is no channel selected!"});
    // Replace without a selection: Remove complains, Add still takes the fields' point.
    EXPECT_EQ(ed.Replace("250", "3"), Messages{"There is no channel selected!"});
    EXPECT_EQ(ed.Calibration().GetCount(), 3);
    EXPECT_EQ(ed.Selected(), 1);
    EXPECT_TRUE(ed.Remove().empty());
    EXPECT_TRUE(ed.EquationEnabled()); // two points remain
    ed.SelectRow(0);
    EXPECT_TRUE(ed.Remove().empty());
    EXPECT_EQ(ed.Equation(), 0);
    EXPECT_FALSE(ed.EquationEnabled());
    EXPECT_FALSE(ed.PlotEnabled());
    EXPECT_TRUE(ed.SetEquation(1).empty());
    EXPECT_EQ(ed.Equation(), 0); // disabled selector ignores changes
    EXPECT_TRUE(ed.RemoveAll().empty());
    EXPECT_EQ(ed.Calibration().GetCount(), 0);

    CCalibrate ok = ed.Accept("keV");
    EXPECT_EQ(ok.Label(), "keV");
}

TEST(AutoCalibration, MethodsMessagesAndPairing) {
    auto spectrum = test::makeSpectrum(2);
    spectrum->m_calibrate.SetLabel("old");
    AutoCalSettings s;

    // Centroid with no selected ROI: nothing happens, no message.
    AutoCalResult r = AutoCalibrate(*spectrum, s, 0);
    EXPECT_FALSE(r.changed);
    EXPECT_TRUE(r.message.empty());

    spectrum->m_roi.AddSorted(500, 540);
    spectrum->m_roi[0].centroid = 520.456;
    spectrum->m_roi.SetSelected(0);
    s.units = "  eV \t";
    s.value = "0"; // replaced by 5.89
    r = AutoCalibrate(*spectrum, s, 0);
    ASSERT_TRUE(r.changed);
    const CCalibrate& cal = spectrum->m_calibrate;
    ASSERT_EQ(cal.GetCount(), 2);
    EXPECT_EQ(cal.Points()[0].channel, 0);
    EXPECT_EQ(cal.Points()[0].value, 0);
    EXPECT_EQ(cal.Points()[1].channel, 520.46); // two decimals
    EXPECT_EQ(cal.Points()[1].value, 5.89);
    EXPECT_EQ(cal.Label(), "eV");
    EXPECT_TRUE(cal.IsCalibrated());
    EXPECT_NEAR(cal.B(), 5.89 / 520.46, 1e-15);
    EXPECT_EQ(cal.C(), 0);

    s.method = 1;
    s.units = "   ";
    s.value = "10";
    r = AutoCalibrate(*spectrum, s, 1024);
    EXPECT_EQ(r.message, "Invalid calibration channel!");
    EXPECT_EQ(spectrum->m_calibrate.Label(), "eV"); // unchanged
    r = AutoCalibrate(*spectrum, s, 1000);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(spectrum->m_calibrate.Label(), "keV");
    EXPECT_NEAR(spectrum->m_calibrate.ChannelToValue(500, true), 5.0, 1e-12);

    s.value = "1e101";
    EXPECT_EQ(AutoCalibrate(*spectrum, s, 10).message, "Invalid calibration value!");

    s.method = 2;
    s.value = "5.89";
    s.value2 = "6.49";
    EXPECT_EQ(AutoCalibrate(*spectrum, s, 0).message,
              "Cannot AutoCal - Wrong Number of Valid ROIs");
    spectrum->m_roi.Append(100, 120);
    spectrum->m_roi[1].centroid = 110.0; // ROI 0 is the higher one
    r = AutoCalibrate(*spectrum, s, 0);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(spectrum->m_calibrate.Points()[0].channel, 110.0);
    EXPECT_EQ(spectrum->m_calibrate.Points()[0].value, 5.89);
    EXPECT_EQ(spectrum->m_calibrate.Points()[1].channel, 520.46);
    EXPECT_EQ(spectrum->m_calibrate.Points()[1].value, 6.49);

    // Two equal centroids cannot be fitted: the old calibration stays.
    spectrum->m_roi[1].centroid = 520.456;
    r = AutoCalibrate(*spectrum, s, 0);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.message, "Invalid linear calibration keV");
    EXPECT_EQ(spectrum->m_calibrate.Points()[0].channel, 110.0);
    EXPECT_TRUE(spectrum->m_calibrate.IsCalibrated());

    spectrum->m_roi[1].centroid = -3;
    EXPECT_EQ(AutoCalibrate(*spectrum, s, 0).message, "Invalid calibration channel!");
}

TEST(AutoCalibration, RefreshesTheDisplayOnlyWhenChanged) {
    auto spectrum = test::makeSpectrum(2);
    test::RecordingDisplay display;
    SpectrumEnvironment env;
    env.display = &display;
    AutoCalSettings s;
    s.method = 1;
    display.cursorAbsolute = 16383; // 1024 channels: channel 1023
    ASSERT_TRUE(AutoCalibrate(*spectrum, s, env).changed);
    EXPECT_EQ(spectrum->m_calibrate.Points()[1].channel, 1023);
    EXPECT_EQ(display.infoRefreshes, 1);
    EXPECT_EQ(display.plotRedraws, 1);
    EXPECT_EQ(display.activations, 1);
    s.value = "x1e300";
    s.method = 2;
    EXPECT_FALSE(AutoCalibrate(*spectrum, s, env).changed);
    EXPECT_EQ(display.infoRefreshes, 1);
}

TEST(Calibration, ClearedDisplaySwitchMakesEveryConversionTheIdentity) {
    auto spectrum = test::makeSpectrum(2);
    CCalibrate& cal = spectrum->m_calibrate;
    cal.AddPoint(0, 0.5);
    cal.AddPoint(100, 1.5);
    ASSERT_EQ(cal.Fit(0), 1);
    EXPECT_EQ(cal.ChannelToValue(300, false), 300);
    EXPECT_EQ(cal.WidthToValue(7, false), 7);
    EXPECT_EQ(cal.ValueToChannel(42, false), 42.5); // still half a channel for the truncation
    EXPECT_EQ(spectrum->EnergyToChannel(42.0, false), 42);
    EXPECT_EQ(spectrum->EnergyToChannel(1.0, true), 50);
    EXPECT_EQ(spectrum->ChannelToEnergy(-3, false), 0);
}
