// vorna-cli's library, log-line and log-name commands, run as a script runs them.

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.h"

namespace {

using vorna::test::readFile;
using vorna::test::TempDir;
using vorna::test::writeFile;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    CliRun run(const std::string& args) {
        CliRun r;
        std::string cmd = std::string("'") + VORNA_CLI_PATH + "' " + args + " >'" +
                          dir.file("out") + "' 2>'" + dir.file("err") + "'";
        int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = readFile(dir.file("out"));
        r.err = readFile(dir.file("err"));
        return r;
    }
    std::string quoted(const std::string& name) { return "'" + dir.file(name) + "'"; }

    TempDir dir;
};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == ',')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

TEST_F(Cli, LibraryListsLinesAndMatchesAPeak) {
    // "Fe Ká" in Windows-1252 comes out as UTF-8.
    writeFile(dir.file("k.lib"), "; K lines\n6.40, Fe K\xe1\n5.90,Mn Ka\n7.06 , Fe Kb\n");
    CliRun r = run("library " + quoted("k.lib"));
    ASSERT_EQ(r.status, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["name"], "k.lib");
    ASSERT_EQ(j["lines"].size(), 3u);
    EXPECT_EQ(j["lines"][0][0], 5.90);
    EXPECT_EQ(j["lines"][0][1], "Mn Ka");
    EXPECT_EQ(j["lines"][1][1], "Fe K\xc3\xa1");
    EXPECT_EQ(j["lines"][2][0], 7.06);
    EXPECT_FALSE(j.contains("match"));

    r = run("library " + quoted("k.lib") + " --match 6.41 --fwhm 0.15");
    ASSERT_EQ(r.status, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["match"]["index"], 1);
    EXPECT_EQ(j["match"]["energy"], 6.40);

    r = run("library " + quoted("k.lib") + " --match 6.41 --fwhm 0.15 --library-sens 0.05");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(nlohmann::json::parse(r.out)["match"].is_null());

    r = run("library " + quoted("missing.lib"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Can not read the file " + dir.file("missing.lib") + ". ", 0), 0u)
        << r.err;
    EXPECT_EQ(run("library " + quoted("k.lib") + " --match 6.4").status, 2);
}

TEST_F(Cli, LogNameNumbersTheLoop) {
    CliRun r = run("log-name --directory /data/ --base run --loops 100 --index 7");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "/data/run007.mca");
    EXPECT_EQ(run("log-name --directory /data/ --base run --loops 5 --index 1").out,
              "/data/run1.mca");
    EXPECT_EQ(run("log-name --directory /data/ --base run --loops 10 --index 1").out,
              "/data/run01.mca");
    EXPECT_EQ(run("log-name --base run --loops 100").status, 2);
}

TEST_F(Cli, LogLineShowsTheSelectedRoi) {
    // A Gaussian peak at channel 120 on a flat background, calibrated at 0.01 keV per channel.
    std::string mca = "<<LUMO SPECTRUM>>\r\nTAG - S1\r\nDESCRIPTION - peak\r\nGAIN - 0\r\n"
                      "THRESHOLD - 10\r\nLIVE_MODE - 0\r\nPRESET_TIME - 100\r\n"
                      "LIVE_TIME - 20.000000\r\nREAL_TIME - 21.000000\r\n"
                      "START_TIME - 03/05/2024 07:08:09\r\nSERIAL_NUMBER - 1\r\n"
                      "<<CALIBRATION>>\r\nLABEL - keV\r\n0 0\r\n100 1\r\n<<ROI>>\r\n100 140\r\n"
                      "<<DATA>>\r\n";
    for (int k = 0; k < 256; ++k) {
        double a = (k - 120) / 4.0;
        mca += std::to_string(std::lround(10 + 2000 * std::exp(-0.5 * a * a))) + "\r\n";
    }
    mca += "<<END>>\r\n";
    writeFile(dir.file("peak.mca"), mca);

    const std::string lead = "file:///data/run001.mca,03/05/2024 07:08:09,";
    CliRun r = run("log-line " + quoted("peak.mca") + " --saved-path /data/run001.mca");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.rfind(lead, 0), 0u) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 6), ",,,,,,"); // no selected ROI
    EXPECT_EQ(fields(r.out).size(), 9u);

    r = run("log-line " + quoted("peak.mca") + " --saved-path /data/run001.mca --selected-roi 0");
    ASSERT_EQ(r.status, 0) << r.err;
    auto f = fields(r.out);
    ASSERT_EQ(f.size(), 9u) << r.out;
    EXPECT_EQ(f[3], "1.20");            // centroid in keV
    EXPECT_EQ(f[4].size(), 6u) << f[4]; // FWHM with 4 decimals
    for (const std::string& field : f)
        EXPECT_FALSE(field.empty()) << r.out;
    EXPECT_EQ(r.out.find('\n'), std::string::npos); // no line end

    r = run("log-line " + quoted("peak.mca") + " --saved-path x --selected-roi 0 --fwhm-method 2");
    ASSERT_EQ(r.status, 0) << r.err;
    f = fields(r.out);
    ASSERT_EQ(f.size(), 9u);
    EXPECT_EQ(f[4].substr(f[4].size() - 3, 1), "."); // percent with 2 decimals

    EXPECT_EQ(run("log-line " + quoted("peak.mca") + " --saved-path x --selected-roi 1").status, 1);
    EXPECT_EQ(run("log-line " + quoted("none.mca") + " --saved-path x").status, 1);
}

} // namespace
