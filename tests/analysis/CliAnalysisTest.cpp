// vorna-cli stats, peaks, copy-data and autocal, run as a script would run them.

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "analysis/RoiStatistics.h"
#include "analysis/Smoothing.h"
#include "common/NumberText.h"

using namespace vorna;
using vorna::test::readFile;
using vorna::test::TempDir;
using vorna::test::writeFile;
using Json = nlohmann::ordered_json;

namespace {

using CliRun = vorna::test::CommandRun;

CliRun runCli(const std::string& args, const TempDir& dir) {
    return vorna::test::runCommand(std::string(VORNA_CLI_PATH) + " " + args, dir);
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

// 256 channels: background 10, one peak 0, 10, 40, 100, 60, 10, 0 above it at channels 101..107,
// a second smaller one at 180; calibrated 0.01 keV per channel; ROIs around both peaks.
std::vector<double> twoPeaks() {
    std::vector<double> y(256, 10.0);
    const double peak[] = {0, 10, 40, 100, 60, 10, 0};
    for (int i = 0; i < 7; ++i)
        y[static_cast<size_t>(101 + i)] += peak[i];
    y[179] += 20;
    y[180] += 50;
    y[181] += 20;
    return y;
}

std::string spectrumFile(const std::vector<double>& y, bool calibrated = true,
                         const char* rois = "100 108\r\n170 190\r\n") {
    std::string s = "<<LUMO SPECTRUM>>\r\nTAG - T\r\nDESCRIPTION - two peaks\r\nGAIN - 0\r\n"
                    "LIVE_MODE - 0\r\nPRESET_TIME - 10\r\nLIVE_TIME - 10.000000\r\n"
                    "REAL_TIME - 10.000000\r\nSTART_TIME - 01/02/2026 03:04:05\r\n"
                    "SERIAL_NUMBER - 0\r\n";
    if (calibrated)
        s += "<<CALIBRATION>>\r\nLABEL - keV\r\n0 0\r\n100 1\r\n";
    if (*rois)
        s += std::string("<<ROI>>\r\n") + rois;
    s += "<<DATA>>\r\n";
    for (double v : y)
        s += Format("%g\r\n", v);
    s += "<<END>>\r\n";
    return s;
}

} // namespace

TEST(VornaCliAnalysis, StatsPrintsTheRoisWithTheirReportCells) {
    TempDir dir;
    const std::string file = dir.file("two.mca");
    writeFile(file, spectrumFile(twoPeaks()));

    CliRun r = runCli("stats " + quoted(file), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    Json j = Json::parse(r.out);
    ASSERT_EQ(j["rois"].size(), 2u);
    const Json& first = j["rois"][0];
    std::vector<std::string> keys;
    for (auto it = first.begin(); it != first.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys,
              (std::vector<std::string>{"start", "end", "gross_area", "net_area", "centroid",
                                        "uncertainty", "fwhm", "half_maximum", "left_position",
                                        "right_position", "status", "status_text", "cells"}));
    EXPECT_EQ(first["cells"], Json::parse(R"(["1", "1.08", "0.020", "220", "290", "1.04",
                                              "8.62", "GOOD"])"));
    // 90 net counts: a marginal peak without width.
    EXPECT_EQ(j["rois"][1]["status_text"], "MARGINAL");
    EXPECT_EQ(j["rois"][1]["cells"][2], "0.000");

    // ROIs given on the command line replace the file's, sorted; start >= end adds nothing.
    r = runCli("stats " + quoted(file) + " --roi 170:190 --roi 100:108 --roi 5:5", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    j = Json::parse(r.out);
    ASSERT_EQ(j["rois"].size(), 2u);
    EXPECT_EQ(j["rois"][0]["start"], 100);

    EXPECT_EQ(runCli("stats " + quoted(file) + " --roi 1-5", dir).status, 2);
    r = runCli("stats " + quoted(dir.file("missing.mca")), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Can not open the file"), std::string::npos);
}

// A Gaussian fit that ends with a negative sigma is a fit: its centroid is reported.
TEST(VornaCliAnalysis, StatsTakesTheCentroidOfAFitEndingWithANegativeSigma) {
    TempDir dir;
    const std::string file = quoted(VORNA_TEST_DATA_DIR "/fit/negative-sigma-fit.mca");
    const std::string roi = " --roi 541:552 --background-channels 1 --fwhm-method 2";
    CliRun r = runCli("stats " + file + roi + " --centroid-method 2", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const Json gauss = Json::parse(r.out)["rois"][0];
    EXPECT_NEAR(gauss["centroid"].get<double>(), 546.878, 5e-4);
    EXPECT_EQ(gauss["cells"][5], "546.88");
    EXPECT_EQ(gauss["status_text"], "GOOD");

    r = runCli("stats " + file + roi + " --centroid-method 0", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const Json plain = Json::parse(r.out)["rois"][0];
    EXPECT_EQ(plain["cells"][5], "546.87");
    // The width is the half-maximum one either way (method 2 shows it, it does not fit it).
    EXPECT_EQ(gauss["cells"][2], plain["cells"][2]);
    EXPECT_NEAR(gauss["fwhm"].get<double>(), 3.462, 5e-4);

    // The help names what the method codes mean.
    r = runCli("stats --help", dir);
    EXPECT_NE(r.out.find("2 Percent"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("3 Gaussian fit"), std::string::npos);
    EXPECT_NE(r.out.find("1 Median, 2 Gaussian fit"), std::string::npos);
}

// The vorna-cli command lines the README and the user guide show, in their order: `vorna-cli`
// at the start of a line, a trailing "# ..." comment dropped, HTML entities undone.
std::vector<std::string> documentedCommands(const std::string& file) {
    std::istringstream in(readFile(file));
    std::vector<std::string> commands;
    std::string line;
    while (std::getline(in, line)) {
        const size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line.compare(start, 10, "vorna-cli ") != 0)
            continue;
        line = line.substr(start + 10);
        if (const size_t comment = line.find("  #"); comment != std::string::npos)
            line.erase(comment);
        for (auto [entity, text] :
             {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
            for (size_t at; (at = line.find(entity)) != std::string::npos;)
                line.replace(at, std::string(entity).size(), text);
        commands.push_back(line);
    }
    return commands;
}

// Every command example a user may copy works on the example files, in the order shown.
TEST(VornaCliAnalysis, DocumentedCommandsRunOnTheExampleFiles) {
    int ran = 0;
    for (const char* doc : {"/README.md", "/docs/manual/index.html"}) {
        TempDir dir;
        std::filesystem::copy(VORNA_SOURCE_DIR "/examples", dir.file("examples"));
        for (const std::string& args : documentedCommands(std::string(VORNA_SOURCE_DIR) + doc)) {
            CliRun r = vorna::test::runCommand(
                "cd " + quoted(dir.path()) + " && " + VORNA_CLI_PATH + " " + args, dir);
            EXPECT_EQ(r.status, 0) << doc << ": vorna-cli " << args << "\n" << r.err;
            if (const size_t out = args.find("--out "); out != std::string::npos) {
                EXPECT_TRUE(std::filesystem::exists(dir.file(args.substr(out + 6))))
                    << "vorna-cli " << args;
            }
            ++ran;
        }
    }
    EXPECT_GE(ran, 8);
}

TEST(VornaCliAnalysis, StatsSmoothsOnceAndNamesElements) {
    TempDir dir;
    const std::string file = dir.file("two.mca");
    writeFile(file, spectrumFile(twoPeaks()));
    CliRun r = runCli("stats " + quoted(file) + " --fwhm-method 1 --fwhm-smooths 1", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    Json j = Json::parse(r.out);
    std::vector<double> once = twoPeaks();
    AnalysisSettings s;
    s.fwhmCalcMethod = FwhmMethod::Smoothing;
    s.fwhmNoSmooths = 1;
    CRoi rois;
    rois.Append(100, 108);
    rois.Append(170, 190);
    RecomputeRoiList(rois, once, s);
    EXPECT_DOUBLE_EQ(j["rois"][0]["gross_area"].get<double>(), rois[0].grossArea);
    EXPECT_DOUBLE_EQ(j["rois"][1]["net_area"].get<double>(), rois[1].netArea);

    const std::string lib = dir.file("lines.lib");
    writeFile(lib, "; lines\n1.04, Na Ka\n1.10, Xx\n");
    r = runCli("stats " + quoted(file) + " --library " + quoted(lib), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    j = Json::parse(r.out);
    EXPECT_EQ(j["rois"][0]["cells"].size(), 9u);
    EXPECT_EQ(j["rois"][0]["cells"][8], "Na Ka");
    r = runCli("stats " + quoted(file) + " --library " + quoted(lib) + " --calibrate-enable 0",
               dir);
    EXPECT_EQ(Json::parse(r.out)["rois"][0]["cells"].size(), 8u);
}

TEST(VornaCliAnalysis, PeaksFindsTheExampleLines) {
    TempDir dir;
    const std::string example = quoted(std::string(VORNA_SOURCE_DIR) + "/examples/fe55.mca");
    CliRun r = runCli("peaks " + example, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    Json j = Json::parse(r.out);
    ASSERT_EQ(j["rois"].size(), 2u);
    EXPECT_NEAR(j["rois"][0]["centroid"].get<double>(), 589.9, 0.5);
    EXPECT_NEAR(j["rois"][1]["centroid"].get<double>(), 649.0, 0.5);
    EXPECT_EQ(j["rois"][0]["cells"][5], "5.90");

    r = runCli("peaks " + example + " --first 700 --last 1000", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Json::parse(r.out)["rois"].empty());
    EXPECT_EQ(r.err, "No valid peaks are found!\n");

    r = runCli("peaks " + example + " --first 600 --last 600", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid range!\n");
    EXPECT_EQ(runCli("peaks " + example + " --width 1", dir).status, 2);
}

TEST(VornaCliAnalysis, CopyDataIsTheClipboardTextByteForByte) {
    TempDir dir;
    const std::string file = dir.file("plain.mca");
    std::vector<double> y(256, 0.0);
    y[3] = 7;
    writeFile(file, spectrumFile(y, false, ""));
    CliRun r = runCli("copy-data " + quoted(file), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string expected = "Filename:  " + file +
                           "\nDescription:  two peaks\nTimeStamp:  01/02/2026 03:04:05\n"
                           "\nSpectral Data Information\nChannel\tData\n";
    for (int i = 0; i < 256; ++i)
        expected += Format("%d\t%g\n", i, y[static_cast<size_t>(i)]);
    EXPECT_EQ(r.out, expected);

    writeFile(file, spectrumFile(twoPeaks()));
    r = runCli("copy-data " + quoted(file) + " --centroid-method 1", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\nCalibration Information\nLabel:  keV\nChannel\tValue\n0\t0\n100\t1\n"
                         "A\tB\tC\n0\t0.01\t0\n\nROI Information\n"
                         "Start\tEnd\tFWHM (N)\tNet Area\tGross Area\tCentroid (M)\t"
                         "Uncertainty\tStatus\n1\t1.08\t0.020\t220\t290\t1.04\t8.62\tGOOD\n"),
              std::string::npos)
        << r.out.substr(0, 600);
}

TEST(VornaCliAnalysis, AutoCalMethodsMessagesAndSave) {
    TempDir dir;
    const std::string file = dir.file("two.mca");
    writeFile(file, spectrumFile(twoPeaks(), false));

    CliRun r = runCli("autocal " + quoted(file) + " --method 2 --units ' eV '", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    Json j = Json::parse(r.out);
    EXPECT_EQ(j["label"], "eV");
    EXPECT_EQ(j["calibrated"], true);
    // Centroids 104.09 and 180: AutoCalValue with the lower one.
    EXPECT_EQ(j["points"], Json::parse("[[104.09, 5.89], [180.0, 6.49]]"));
    EXPECT_EQ(j["calibration"]["points"], j["points"]);

    r = runCli("autocal " + quoted(file), dir); // Centroid with no selected ROI: nothing
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Json::parse(r.out)["calibrated"], false);

    const std::string out = dir.file("cal.mca");
    r = runCli("autocal " + quoted(file) + " --selected-roi 0 --value 0 --out " + quoted(out), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Json::parse(r.out)["points"], Json::parse("[[0, 0], [104.09, 5.89]]"));
    r = runCli("info " + quoted(out), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Json::parse(r.out)["calibration"]["points"], Json::parse("[[0, 0], [104.09, 5.89]]"));

    r = runCli("autocal " + quoted(file) + " --method 1 --cursor 256", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid calibration channel!\n");
    writeFile(file, spectrumFile(twoPeaks(), false, "100 108\r\n"));
    r = runCli("autocal " + quoted(file) + " --method 2", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot AutoCal - Wrong Number of Valid ROIs\n");
    EXPECT_EQ(runCli("autocal " + quoted(file) + " --method 3", dir).status, 2);
}
