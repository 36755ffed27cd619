// vorna-cli expr and smooth, run as a script would run them.

#include <cstdio>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.h"

using nlohmann::json;
using vorna::test::readFile;
using vorna::test::TempDir;
using vorna::test::writeFile;

namespace {

using CliRun = vorna::test::CommandRun;

CliRun runCli(const std::string& args, const TempDir& dir) {
    return vorna::test::runCommand(std::string(VORNA_CLI_PATH) + " " + args, dir);
}

// A 256-channel spectrum tagged S1 whose channel i holds `value(i)`.
template <typename F>
std::string spectrumFile(const TempDir& dir, const std::string& name, F value) {
    std::string s = "<<LUMO SPECTRUM>>\r\nTAG - S1\r\nDESCRIPTION - \r\nGAIN - 0\r\n"
                    "THRESHOLD - 0\r\nLIVE_MODE - 0\r\nPRESET_TIME - 10\r\n"
                    "LIVE_TIME - 9.500000\r\nREAL_TIME - 10.000000\r\nSTART_TIME - now\r\n"
                    "SERIAL_NUMBER - 0\r\n<<CALIBRATION>>\r\nLABEL - \r\n<<ROI>>\r\n<<DATA>>\r\n";
    for (int i = 0; i < 256; ++i)
        s += std::to_string(value(i)) + "\r\n";
    s += "<<END>>\r\n";
    const std::string path = dir.file(name);
    writeFile(path, s);
    return "'" + path + "'";
}

} // namespace

TEST(VornaCliExpr, DefinesEvaluatesAndSaves) {
    TempDir dir;
    const std::string a = spectrumFile(dir, "a.mca", [](int i) { return i; });
    const std::string b = spectrumFile(dir, "b.mca", [](int) { return 4; });

    // The second file's S1 becomes S2, as the spectra list makes tags unique.
    CliRun r = runCli("expr 'S1-S2*2' " + a + " " + b + " --gain 0", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["code"], json::parse("[[18,0],[19,0],[0,0],[5,0],[4,0]]"));
    EXPECT_EQ(j["constants"], json::parse("[2.0]"));
    EXPECT_EQ(j["tags"], json::parse(R"(["live_data","S1","S2"])"));
    EXPECT_EQ(j["valid"], true);
    EXPECT_EQ(j["channels"], 256);
    EXPECT_EQ(j["data"][0], -8.0);
    EXPECT_EQ(j["data"][255], 247.0);

    // A smoothed argument after other values; a larger derived spectrum reads 0 past the
    // operands' channels; non-finite values are strings.
    r = runCli("expr '2*SM3(s1)+1/(chan-1)' " + a, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    j = json::parse(r.out);
    EXPECT_EQ(j["channels"], 1024);
    EXPECT_EQ(j["data"][0], (1 * 0.5 + 0) * 0.5 * 2 - 1); // SM3 left edge: (x1/2 + x0)/2
    EXPECT_EQ(j["data"][1], "inf");
    EXPECT_EQ(j["data"][1000], 1.0 / 999);

    // Unary plus is accepted but never evaluates.
    r = runCli("expr '+S1' " + a, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(json::parse(r.out)["valid"], false);

    r = runCli("expr '' " + a, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Expression must be defined!\n");
    r = runCli("expr 'S1 S2' " + a, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid expression!\n");
    EXPECT_EQ(runCli("expr S1 " + a + " --gain 7", dir).status, 2);

    // --out saves the derived spectrum; the file reads back with its computed data.
    const std::string out = dir.file("d.mca");
    r = runCli("expr 'S1*3' " + a + " --gain 0 --out '" + out + "'", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    r = runCli("info --data '" + out + "'", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    j = json::parse(r.out);
    EXPECT_EQ(j["data"][100], 300.0);
}

TEST(VornaCliSmooth, SmoothsThePlainSpectrum) {
    TempDir dir;
    const std::string a = spectrumFile(dir, "run1.mca", [](int i) { return i == 2 ? 4 : 0; });
    CliRun r = runCli("smooth " + a, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["tag"], "SM3_S1");
    EXPECT_EQ(j["file_name"], dir.file("run1_SM3.mca"));
    EXPECT_EQ(j["expression"], "SM3(S1)");
    EXPECT_EQ(j["hidden_source"], true);
    EXPECT_EQ(j["data"][1], 1.0);
    EXPECT_EQ(j["data"][2], 2.25);
    EXPECT_EQ(j["data"][4], 0.140625);

    r = runCli("smooth " + a + " --kind 5", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    j = json::parse(r.out);
    EXPECT_EQ(j["expression"], "SM5(S1)");
    EXPECT_EQ(j["data"][0], 0.25); // (x1 + (6 x0 + x2)/4)/4 with x2 = 4
    EXPECT_EQ(runCli("smooth " + a + " --kind 4", dir).status, 2);
}
