#include <algorithm>

#include <gtest/gtest.h>

#include "AnalysisFixtures.h"
#include "analysis/ElementLibrary.h"
#include "analysis/NumberFormat.h"
#include "analysis/Reports.h"

using namespace vorna;

using Cells = std::vector<std::string>;

namespace {

CCalibrate linearCalibration(double a, double b, const char* label = "keV") {
    CCalibrate cal;
    cal.AddPoint(0, a);
    cal.AddPoint(1000, a + 1000 * b);
    cal.SetLabel(label);
    cal.Fit(0);
    return cal;
}

CRoiEntry goodRoi() {
    CRoiEntry r(100, 140);
    r.leftPosition = 115.25;
    r.rightPosition = 120.75;
    r.fwhm = 5.5;
    r.netArea = 1234.6;
    r.grossArea = 2000;
    r.centroid = 118;
    r.uncertainty = 3.4567;
    r.status = RoiStatus::Good;
    return r;
}

struct FakeClipboard : TextClipboard {
    bool openOk = true, emptyOk = true, setOk = true;
    int closes = 0;
    std::string text;
    bool Open() override { return openOk; }
    bool Empty() override { return emptyOk; }
    bool SetText(const std::string& t) override {
        if (setOk)
            text = t;
        return setOk;
    }
    void Close() override { ++closes; }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        out.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

} // namespace

TEST(Reports, NumberDisplayRule) {
    EXPECT_EQ(FormatNumber(2.0), "2");
    EXPECT_EQ(FormatNumber(-7.0), "-7");
    EXPECT_EQ(FormatNumber(1234567.891), "1234568");
    EXPECT_EQ(FormatNumber(999999.5), "999999.50");
    EXPECT_EQ(FormatNumber(0.00005), "0");
    EXPECT_EQ(FormatNumber(0.0001), "0.00");
    EXPECT_EQ(FormatNumber(12.3456), "12.35");
    EXPECT_EQ(FormatNumber(-0.5), "-0.50");
    EXPECT_EQ(FormatFixed(0.05549, 3), "0.055");
    EXPECT_EQ(FormatFixed(1234.5, 0), "1234"); // round half to even, as printf does
}

TEST(Reports, HeadingsNameTheMethodsAndElementNeedsLibraryAndUnits) {
    AnalysisSettings s;
    s.fwhmCalcMethod = FwhmMethod::Smoothing;
    s.fwhmNoSmooths = 1;
    s.centroidCalcMethod = CentroidMethod::Gauss;
    EXPECT_EQ(ReportHeadings(s, false),
              (Cells{"Start", "End", "FWHM (SM5)", "Net Area", "Gross Area", "Centroid (G)",
                     "Uncertainty", "Status"}));
    EXPECT_EQ(ReportHeaderTips(s, true)[5], "Peak Mean");
    EXPECT_EQ(ReportHeaderTips(s, true).back(), "Element and Line");
    s.fwhmCalcMethod = FwhmMethod::Percent;
    s.centroidCalcMethod = CentroidMethod::Normal;
    EXPECT_EQ(FwhmHeading(s), "FWHM (%)");
    EXPECT_EQ(CentroidHeading(s), "Centroid (N)");
    EXPECT_EQ(ReportHeaderTips(s, false)[5], "Peak Centroid");

    ElementLibrary library;
    EXPECT_FALSE(ReportShowsElement(s, &library)); // nothing loaded
    library.LoadFromBytes("6.40, Fe Ka\n");
    EXPECT_TRUE(ReportShowsElement(s, &library));
    s.calibrateEnable = 0;
    EXPECT_FALSE(ReportShowsElement(s, &library));
    EXPECT_FALSE(ReportShowsElement(s, nullptr));
}

TEST(Reports, CellsInCalibratedUnitsAndInChannels) {
    AnalysisSettings s;
    CCalibrate cal = linearCalibration(0.5, 0.01);
    EXPECT_EQ(RoiReportCells(goodRoi(), cal, s, nullptr),
              (Cells{"1.50", "1.90", "0.055", "1235", "2000", "1.68", "3.46", "GOOD"}));

    CRoiEntry marginal = goodRoi();
    marginal.status = RoiStatus::Marginal;
    marginal.fwhm = marginal.leftPosition = marginal.rightPosition = 0;
    Cells cells = RoiReportCells(marginal, cal, s, nullptr);
    EXPECT_EQ(cells[2], "0.000");
    EXPECT_EQ(cells[7], "MARGINAL");

    // Without calibrated units every position is a channel and the FWHM is right - left.
    s.calibrateEnable = 0;
    EXPECT_EQ(RoiReportCells(goodRoi(), cal, s, nullptr),
              (Cells{"100", "140", "5.500", "1235", "2000", "118", "3.46", "GOOD"}));
    CRoiEntry inverted = goodRoi();
    std::swap(inverted.leftPosition, inverted.rightPosition);
    EXPECT_EQ(RoiReportCells(inverted, cal, s, nullptr)[2], "0.000");

    // Element column: the library line within FWHM x library_sens of the centroid energy.
    s.calibrateEnable = 1;
    ElementLibrary library;
    library.LoadFromBytes("; test lines\n1.60, Xx La\n1.70, Yy Ka\n");
    cells = RoiReportCells(goodRoi(), cal, s, &library);
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_EQ(cells[8], "Yy Ka");
    s.librarySens = 0.1; // tolerance 0.0055 keV: 1.70 is 0.02 away
    EXPECT_EQ(RoiReportCells(goodRoi(), cal, s, &library)[8], "No match");
}

TEST(Reports, RoiListTextEndsEveryCellWithTab) {
    CRoi rois;
    rois.Append(100, 140);
    rois[0] = goodRoi();
    AnalysisSettings s;
    EXPECT_EQ(RoiListText(rois, linearCalibration(0.5, 0.01), s),
              "Start\tEnd\tFWHM\tNet Area\tGross Area\tCentroid\tUncertainty\tStatus\t\n"
              "1.50\t1.90\t0.0550\t1235\t2000\t1.68\t3.46\tGOOD\t\n");
    FakeClipboard clip;
    EXPECT_EQ(CopyRoiList(CRoi(), CCalibrate(), s, clip), -1);
    EXPECT_EQ(CopyRoiList(rois, CCalibrate(), s, clip), 0);
    EXPECT_EQ(clip.text.substr(0, 6), "Start\t");
    clip.emptyOk = false;
    EXPECT_EQ(RoiListCopyMessage(CopyRoiList(rois, CCalibrate(), s, clip)),
              std::string("Unable to empty clipboard!"));
    EXPECT_STREQ(RoiListCopyMessage(-2), "Unable to open clipboard!");
    EXPECT_STREQ(RoiListCopyMessage(-4), "Unable to move data to clipboard!");
}

TEST(Reports, SpectrumDataTextLayout) {
    auto plain = test::makeSpectrum(0);
    plain->m_strFileName = "run1.mca";
    plain->m_strDescription = "Fe foil";
    plain->SetStartTime("12/01/2026 10:00:00");
    plain->m_pData[1] = 2.5;
    plain->m_pData[255] = 1234567;
    AnalysisSettings s;
    std::string text = SpectrumDataText(*plain, s, nullptr);
    std::vector<std::string> l = lines(text);
    ASSERT_EQ(l.size(), 3u + 3u + 256u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(l[0], "Filename:  run1.mca");
    EXPECT_EQ(l[1], "Description:  Fe foil");
    EXPECT_EQ(l[2], "TimeStamp:  12/01/2026 10:00:00");
    EXPECT_EQ(l[3], "");
    EXPECT_EQ(l[4], "Spectral Data Information");
    EXPECT_EQ(l[5], "Channel\tData");
    EXPECT_EQ(l[6], "0\t0");
    EXPECT_EQ(l[7], "1\t2.5");
    EXPECT_EQ(l[261], "255\t1.23457e+06");

    auto full = test::makeSpectrum(2, 20.0);
    test::addGaussian(full->m_pData, 500, 3, 20000);
    full->m_calibrate = linearCalibration(0.0, 0.01);
    full->m_roi.AddSorted(480, 520); // statistics not computed yet
    ElementLibrary library;
    library.LoadFromBytes("5.00, Mn Ka\n");
    text = SpectrumDataText(*full, s, &library);
    l = lines(text);
    ASSERT_EQ(l.size(), 3u + 8u + 4u + 3u + 1024u);
    EXPECT_EQ(std::vector<std::string>(l.begin() + 3, l.begin() + 17),
              (std::vector<std::string>{"", "Calibration Information", "Label:  keV",
                                        "Channel\tValue", "0\t0", "1000\t10", "A\tB\tC",
                                        "0\t0.01\t0", "", "ROI Information",
                                        "Start\tEnd\tFWHM (N)\tNet Area\tGross Area\tCentroid "
                                        "(N)\tUncertainty\tStatus\tElement",
                                        l[14], "", "Spectral Data Information"}));
    EXPECT_EQ(full->m_roi[0].status, RoiStatus::Good);
    EXPECT_EQ(l[14].substr(0, 10), "4.80\t5.20\t");
    EXPECT_EQ(l[14].substr(l[14].size() - 10), "GOOD\tMn Ka"); // cells separated, no end TAB

    s.calibrateEnable = 0; // no Element column, channel positions
    l = lines(SpectrumDataText(*full, s, &library));
    EXPECT_EQ(l[13].substr(l[13].size() - 7), "\tStatus");
    EXPECT_EQ(l[14].substr(0, 8), "480\t520\t");
}

TEST(Reports, ClipboardResultCodes) {
    auto spectrum = test::makeSpectrum(0);
    AnalysisSettings s;
    FakeClipboard clip;
    EXPECT_EQ(CopySpectrumData(*spectrum, s, nullptr, clip), 0);
    EXPECT_EQ(clip.closes, 1);
    EXPECT_EQ(clip.text.substr(0, 10), "Filename: ");
    EXPECT_STREQ(SpectrumDataCopyStatus(0),
                 "Copying of Spectrum information to clipboard was successful.");

    clip.openOk = false;
    EXPECT_EQ(CopySpectrumData(*spectrum, s, nullptr, clip), -2);
    EXPECT_EQ(clip.closes, 1); // never opened, never closed
    clip.openOk = true;
    clip.emptyOk = false;
    EXPECT_EQ(CopySpectrumData(*spectrum, s, nullptr, clip), -3);
    clip.emptyOk = true;
    clip.setOk = false;
    EXPECT_EQ(CopySpectrumData(*spectrum, s, nullptr, clip), -4);
    EXPECT_EQ(clip.closes, 3);
    EXPECT_STREQ(SpectrumDataCopyStatus(-4),
                 "Copying of Spectrum information to clipboard failed.");
}
