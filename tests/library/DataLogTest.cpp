#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "analysis/DataLog.h"
#include "spectrum/CSpectrum.h"

namespace vorna {
namespace {

using test::readFile;
using test::ScriptedPrompt;
using test::TempDir;
using test::writeFile;

TEST(DataLog, NumberedNamesPadTheIndexToTheDigitsOfTheLoopCount) {
    EXPECT_EQ(NumberedFileName("/data/", "run", 100, 7), "/data/run007.mca");
    EXPECT_EQ(NumberedFileName("/data/", "run", 5, 1), "/data/run1.mca");
    EXPECT_EQ(NumberedFileName("/data/", "run", 5, 5), "/data/run5.mca");
    EXPECT_EQ(NumberedFileName("/data/", "run", 10, 1), "/data/run01.mca");
    EXPECT_EQ(NumberedFileName("/data/", "run", 10, 10), "/data/run10.mca");
    EXPECT_EQ(NumberedFileName("/data/", "run", 9, 12), "/data/run12.mca"); // never cut
    EXPECT_EQ(NumberedFileName("/data/", "run", 0, 3), "/data/run3.mca");
    // The name lands inside the folder even when the folder has no trailing separator.
    EXPECT_EQ(NumberedFileName("/data", "run", 100, 7), "/data/run007.mca");
    EXPECT_EQ(NumberedFileName("C:\\data\\", "s", 1000, 42), "C:\\data\\s0042.mca");
    EXPECT_EQ(NumberedFileName("", "run", 3, 2), "run2.mca");
}

TEST(DataLog, TimeStampsAndHeaders) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 8;
    t.tm_sec = 9;
    EXPECT_EQ(TimeStampText(t), "20240305_070809");

    const char* oldTz = std::getenv("TZ");
    std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    EXPECT_EQ(TimeStampText(std::time_t{1700000000}), "20231114_221320");
    if (oldTz)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();

    EXPECT_EQ(DataLogHeader(DataLogKind::SpectrumData),
              "Filename,Date Time Stamp,Total Counts,Centroid,FWHM,Net Area,Uncertainty,"
              "Net Rate,Gross Area");
    EXPECT_EQ(DataLogHeader(DataLogKind::ResolutionTest),
              "Filename,Date Time Stamp,Total Counts,Centroid,FWHM,Net Area,Uncertainty,"
              "Net Rate,Gross Area,Peak Time,Flattop");
    EXPECT_STREQ(DataLogFileName(DataLogKind::SpectrumData), "SpectrumData.csv");
    EXPECT_STREQ(DataLogFileName(DataLogKind::ResolutionTest), "SpectrumResTest.csv");
    EXPECT_STREQ(DataLogTitle(DataLogKind::ResolutionTest), "Spectrum Resolution Test Log");
}

// A spectrum calibrated at 0.01 keV per channel with one measured peak: centroid channel 600
// (6.0 keV), FWHM 15 channels (0.15 keV).
struct MeasuredSpectrum {
    CSpectrum s;
    MeasuredSpectrum() {
        s.SetStartTime("03/05/2024 07:08:09");
        s.m_dTotalCounts = 123456.0;
        s.m_dLiveTime = 20.0;
        s.m_calibrate.AddPoint(0.0, 0.0);
        s.m_calibrate.AddPoint(100.0, 1.0);
        s.m_calibrate.Fit(0);
        int i = s.m_roi.AddSorted(580, 620);
        CRoiEntry& r = s.m_roi[i];
        r.centroid = 600.0;
        r.fwhm = 15.0;
        r.netArea = 5000.4;
        r.grossArea = 5200.0;
        r.uncertainty = 1.6789;
        r.status = RoiStatus::Good;
        s.m_roi.SetSelected(i);
    }
};

TEST(DataLog, DataLineShowsTheSelectedPeak) {
    MeasuredSpectrum m;
    AnalysisSettings settings;
    const std::string path = "/data/run001.mca";
    EXPECT_EQ(DataLogLine(DataLogKind::SpectrumData, m.s, settings, path),
              "file:///data/run001.mca,03/05/2024 07:08:09,123456,6,0.1500,5000,1.68,250.02,5200");

    // Percent FWHM: 0.15 at 6.0 is 2.50 %.
    settings.fwhmCalcMethod = FwhmMethod::Percent;
    EXPECT_EQ(DataLogLine(DataLogKind::SpectrumData, m.s, settings, path),
              "file:///data/run001.mca,03/05/2024 07:08:09,123456,6,2.50,5000,1.68,250.02,5200");

    // Channels when calibrated units are off; no live time leaves the rate empty.
    settings.fwhmCalcMethod = FwhmMethod::Normal;
    settings.calibrateEnable = 0;
    m.s.m_dLiveTime = 0.0;
    EXPECT_EQ(DataLogLine(DataLogKind::SpectrumData, m.s, settings, path),
              "file:///data/run001.mca,03/05/2024 07:08:09,123456,600,15.0000,5000,1.68,,5200");

    // The resolution test log adds the DPP's peaking time and flat top.
    EXPECT_EQ(DataLogLine(DataLogKind::ResolutionTest, m.s, settings, path, {"9.6uS", "0.4uS"}),
              "file:///data/run001.mca,03/05/2024 07:08:09,123456,600,15.0000,5000,1.68,,5200,"
              "9.6uS,0.4uS");

    // A width that is not positive is logged as 0, also as a percentage.
    m.s.m_roi[0].fwhm = -1.0;
    settings.fwhmCalcMethod = FwhmMethod::Percent;
    EXPECT_EQ(DataLogLine(DataLogKind::SpectrumData, m.s, settings, path),
              "file:///data/run001.mca,03/05/2024 07:08:09,123456,600,0.00,5000,1.68,,5200");
}

TEST(DataLog, DataLineWithoutAPeakLeavesTheResultColumnsEmpty) {
    MeasuredSpectrum m;
    AnalysisSettings settings;
    const std::string lead = "file://x.mca,03/05/2024 07:08:09,123456";
    m.s.m_roi.SetSelected(-1);
    EXPECT_EQ(DataLogLine(DataLogKind::SpectrumData, m.s, settings, "x.mca"), lead + ",,,,,,");
    EXPECT_EQ(DataLogLine(DataLogKind::ResolutionTest, m.s, settings, "x.mca", {"1", "2"}),
              lead + ",,,,,,,,");
    // A selected ROI without a peak (BAD, or never computed) counts as none.
    m.s.m_roi.SetSelected(0);
    for (RoiStatus status : {RoiStatus::Invalid, RoiStatus::Bad}) {
        m.s.m_roi[0].status = status;
        EXPECT_EQ(DataLogLine(DataLogKind::SpectrumData, m.s, settings, "x.mca"), lead + ",,,,,,");
    }
    m.s.m_roi[0].status = RoiStatus::Marginal;
    EXPECT_NE(DataLogLine(DataLogKind::SpectrumData, m.s, settings, "x.mca"), lead + ",,,,,,");
}

TEST(DataLog, AppendWritesCrLfLinesAndFallsBackToTheProgramFolder) {
    TempDir repeat, program;
    ScriptedPrompt prompt;
    // A user's own file with the scratch name survives the write test.
    writeFile(repeat.file("temp.tmp"), "keep me");
    LogDestination where{repeat.path(), program.path()}; // no trailing separator
    ASSERT_TRUE(WriteLogHeader(DataLogKind::SpectrumData, where, &prompt));
    ASSERT_TRUE(AppendLogLine("Spectrum Data Log", where, "SpectrumData.csv", "a,b", &prompt));
    EXPECT_EQ(readFile(repeat.file("SpectrumData.csv")),
              DataLogHeader(DataLogKind::SpectrumData) + "\r\na,b\r\n");
    EXPECT_EQ(readFile(repeat.file("temp.tmp")), "keep me");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(repeat.path()),
                            std::filesystem::directory_iterator()),
              2);

    // A folder that cannot take the log sends it to the program's folder without a word.
    where.directory = repeat.file("no/such/folder/");
    MeasuredSpectrum m;
    ASSERT_TRUE(WriteLogDataLine(DataLogKind::ResolutionTest, where, m.s, AnalysisSettings(),
                                 "/d/r1.mca", {"0.8uS", "0.2uS"}, &prompt));
    EXPECT_EQ(readFile(program.file("SpectrumResTest.csv")),
              DataLogLine(DataLogKind::ResolutionTest, m.s, AnalysisSettings(), "/d/r1.mca",
                          {"0.8uS", "0.2uS"}) +
                  "\r\n");
    EXPECT_TRUE(prompt.messages.empty());

    // When neither place takes it, the line is lost and the user is told where.
    where.programDirectory = program.file("missing");
    EXPECT_FALSE(AppendLogLine("Spectrum Data Log", where, "SpectrumData.csv", "x", &prompt));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0],
              "---- Spectrum Data Log File access error. ---- \n\r Please close file if open in "
              "another application. \n\r Check file and path for access. \n\r " +
                  program.file("missing") + "/SpectrumData.csv");
}

// The profile's default "\\" (or an empty text) names no folder: the log goes to the per-user
// data folder, made on first use, and never becomes a file named "\\SpectrumData.csv".
TEST(DataLog, NoRepeatFolderWritesIntoTheUserDataFolder) {
    TempDir home, program;
    ScriptedPrompt prompt;
    for (const char* unset : {"\\", ""}) {
        LogDestination where{unset, program.path(), home.file("data/vorna/")};
        ASSERT_TRUE(AppendLogLine("Spectrum Data Log", where, "SpectrumData.csv", "a", &prompt));
    }
    EXPECT_EQ(readFile(home.file("data/vorna/SpectrumData.csv")), "a\r\na\r\n");
    EXPECT_FALSE(std::filesystem::exists("\\SpectrumData.csv"));
    EXPECT_TRUE(std::filesystem::is_empty(program.path()));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(DataLog, RunningProgramDirectoryIsThisTestsFolder) {
    std::string dir = RunningProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(dir + "vorna_library_tests"));
}

} // namespace
} // namespace vorna
