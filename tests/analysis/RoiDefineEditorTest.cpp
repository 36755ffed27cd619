#include <gtest/gtest.h>

#include "AnalysisFixtures.h"
#include "analysis/ElementLibrary.h"
#include "analysis/RoiDefineEditor.h"

using namespace vorna;
using vorna::test::makeSpectrum;
using vorna::test::RecordingDisplay;

namespace {

// 256 channels with a peak at 100 on a level of 10; calibrated 0.01 per channel.
std::unique_ptr<CSpectrum> peakSpectrum() {
    auto s = makeSpectrum(0, 10.0);
    for (int k = 95; k <= 105; ++k)
        s->m_pData[static_cast<size_t>(k)] += 1000.0 / (1 + (k - 100) * (k - 100));
    s->m_calibrate.AddPoint(0, 0.0);
    s->m_calibrate.AddPoint(100, 1.0);
    s->m_calibrate.SetLabel("keV");
    s->m_calibrate.Fit(0);
    s->m_strFileName = "peak.mca";
    s->SetStartTime("2026-12-10 11:00");
    return s;
}

} // namespace

TEST(RoiDefineEditor, FieldChecksAndConversionToChannels) {
    auto spectrum = peakSpectrum();
    RoiDefineEditor raw(*spectrum, false); // channel numbers
    int start = -1, end = -1;
    for (const char* bad : {"", "abc", "-1", "255.5", "1e400", "12x"})
        EXPECT_EQ(raw.ReadFields(bad, "20", start, end), kInvalidStartPosition) << bad;
    EXPECT_EQ(raw.ReadFields("10", "256", start, end), kInvalidEndPosition);
    EXPECT_EQ(raw.ReadFields("0", "255", start, end), "");
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 255);

    // Calibrated: the bounds are the values of channel 0 and 255 (0 .. 2.55 keV), and values go
    // to the nearest channel.
    RoiDefineEditor cal(*spectrum, true);
    EXPECT_EQ(cal.ReadFields("2.56", "2.5", start, end), kInvalidStartPosition);
    EXPECT_EQ(cal.ReadFields("0.904", "1.104", start, end), "");
    EXPECT_EQ(start, 90);
    EXPECT_EQ(end, 110);
    // A start not below the end adds nothing and says nothing.
    EXPECT_EQ(cal.Add("1.1", "1.1"), "");
    EXPECT_EQ(cal.Add("1.2", "1.1"), "");
    EXPECT_TRUE(cal.Rows().empty());
}

TEST(RoiDefineEditor, EditsACopyUntilOkCopiesItBack) {
    auto spectrum = peakSpectrum();
    spectrum->m_roi.AddSorted(200, 210);
    RoiDefineEditor editor(*spectrum, true);
    EXPECT_EQ(editor.Rows(), std::vector<std::string>{"2\t2.1"});

    EXPECT_EQ(editor.Add("0.9", "1.1"), "");
    EXPECT_EQ(editor.Selected(), 0); // added sorted, shown selected
    EXPECT_EQ(editor.Add("0.3", "0.4"), "");
    EXPECT_EQ(editor.Rows(), (std::vector<std::string>{"0.3\t0.4", "0.9\t1.1", "2\t2.1"}));
    EXPECT_EQ(editor.SelectRow(0), (std::pair<std::string, std::string>{"0.3", "0.4"}));
    // Replace may move the ROI; it stays selected where it lands.
    EXPECT_EQ(editor.Replace("1.5", "1.6"), "");
    EXPECT_EQ(editor.Rows(), (std::vector<std::string>{"0.9\t1.1", "1.5\t1.6", "2\t2.1"}));
    EXPECT_EQ(editor.Selected(), 1);
    EXPECT_EQ(editor.Replace("abc", "1"), kInvalidStartPosition);
    editor.SelectRow(2);
    editor.Remove();
    EXPECT_EQ(editor.Selected(), -1);
    editor.Remove(); // nothing selected: nothing happens
    EXPECT_EQ(editor.Rows().size(), 2u);
    EXPECT_EQ(spectrum->m_roi.GetCount(), 1) << "the spectrum is untouched before OK";

    RecordingDisplay display;
    SpectrumEnvironment env;
    env.display = &display;
    AnalysisSettings settings;
    editor.Accept({*spectrum, env, true}, settings);
    ASSERT_EQ(spectrum->m_roi.GetCount(), 2);
    EXPECT_EQ(spectrum->m_roi[0].start, 90);
    EXPECT_EQ(spectrum->m_roi[0].end, 110);
    EXPECT_EQ(spectrum->m_roi[0].status, RoiStatus::Good) << "statistics recomputed on OK";
    EXPECT_NEAR(spectrum->m_roi[0].centroid, 100.0, 1e-9);
    EXPECT_EQ(display.plotRedraws, 1);
    EXPECT_EQ(display.infoRefreshes, 1);

    RoiDefineEditor cleared(*spectrum, true);
    cleared.RemoveAll();
    EXPECT_TRUE(cleared.Rows().empty());
    EXPECT_EQ(spectrum->m_roi.GetCount(), 2);
}

TEST(RoiDefineEditor, DetailsReportsTheCopyWithoutTouchingTheSpectrum) {
    auto spectrum = peakSpectrum();
    const std::vector<double> contents = spectrum->m_pData;
    RoiDefineEditor editor(*spectrum, true);
    editor.Add("0.9", "1.1");
    AnalysisSettings settings;
    settings.fwhmCalcMethod = FwhmMethod::Smoothing; // smooths the channels it reads
    ElementLibrary library;
    library.LoadFromBytes("1.0, Xx Ka\n");
    library.SetDisplayName("lines.lib");

    RoiDetailsReport report = editor.Details(*spectrum, settings, &library);
    EXPECT_EQ(report.captions.title, "Regions of Interest Details");
    EXPECT_EQ(report.captions.spectrumLine, "peak.mca  2026-12-10 11:00");
    EXPECT_EQ(report.captions.libraryLine, "lines.lib");
    EXPECT_EQ(report.headings.back(), "Element");
    ASSERT_EQ(report.rows.size(), 1u);
    EXPECT_EQ(report.rows[0].back(), "Xx Ka");
    EXPECT_EQ(report.rows[0][7], "GOOD");
    EXPECT_EQ(spectrum->m_pData, contents);
    EXPECT_TRUE(spectrum->m_roi.IsEmpty());

    // Plain channels match no lines: neither the column nor the library's name is shown.
    settings.calibrateEnable = 0;
    report = editor.Details(*spectrum, settings, &library);
    EXPECT_EQ(report.captions.libraryLine, "");
    EXPECT_EQ(report.headings.back(), "Status");

    library.Clear();
    EXPECT_EQ(MakeReportCaptions(kPeakSearchResultsTitle, *spectrum, &library).libraryLine, "");
}
