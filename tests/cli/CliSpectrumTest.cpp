// vorna-cli info and convert, run as a script would run them.

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.h"

using vorna::test::readFile;
using vorna::test::TempDir;
using vorna::test::writeFile;

namespace {

using CliRun = vorna::test::CommandRun;

// Runs vorna-cli with `envPrefix` ("NAME=value ...") in front of the command.
CliRun runCliWithEnv(const std::string& envPrefix, const std::string& args, const TempDir& dir) {
    return vorna::test::runCommand(envPrefix + std::string(VORNA_CLI_PATH) + " " + args, dir);
}

CliRun runCli(const std::string& args, const TempDir& dir) {
    return runCliWithEnv("", args, dir);
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

const char* const kDppSpectrum = "<<LUMO SPECTRUM>>\r\n"
                                 "TAG - Osp\r\n"
                                 "DESCRIPTION - caf\xE9\r\n"
                                 "<gen>one\n<gen>two\n"
                                 "GAIN - 0\r\n"
                                 "LIVE_MODE - 1\r\n"
                                 "PRESET_TIME - 60\r\n"
                                 "LIVE_TIME - 59.500000\r\n"
                                 "REAL_TIME - 60.000000\r\n"
                                 "START_TIME - now\r\n"
                                 "SERIAL_NUMBER - 99\r\n"
                                 "<<CALIBRATION>>\r\n"
                                 "LABEL - keV\r\n"
                                 "10 1\r\n"
                                 "20 2\r\n"
                                 "<<ROI>>\r\n"
                                 "4 8\r\n"
                                 "<<DATA>>\r\n";

std::string dppFile() {
    std::string s = kDppSpectrum;
    for (int i = 0; i < 256; ++i)
        s += (i == 5 ? "2.5" : "1") + std::string("\r\n");
    s += "<<END>>\r\n"
         "<<DPP CONFIGURATION>>\r\nDevice Type: Osprey\r\nRise: 4.0uS\r\n"
         "<<DPP CONFIGURATION END>>\r\n"
         "<<DPP STATUS>>\r\nDevice Type: Osprey\r\nSerial Number: 99\r\n<<DPP STATUS END>>\r\n"
         "<<OSPREY BOOT FLAGS>>\r\nFPGA clock: 80MHz\r\n<<OSPREY BOOT FLAGS END>>\r\n";
    return s;
}

} // namespace

TEST(VornaCli, InfoPrintsTheSpectrumAsRead) {
    TempDir dir;
    const std::string file = dir.file("osp.mca");
    writeFile(file, dppFile());

    CliRun r = runCli("info " + quoted(file) + " --data --device-type 4", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::ordered_json j = nlohmann::ordered_json::parse(r.out);
    std::vector<std::string> keys;
    for (auto it = j.begin(); it != j.end(); ++it)
        keys.push_back(it.key());
    const std::vector<std::string> expected = {
        "tag",         "description",   "general_notes",   "system_notes",
        "other_notes", "gain",          "channels",        "threshold",
        "live_mode",   "preset_time",   "live_time",       "real_time",
        "start_time",  "serial_number", "total_counts",    "last_valid_channel",
        "calibration", "rois",          "dpp_device_code", "dpp_config",
        "dpp_status",  "boot_flags",    "clock_80mhz",     "dpp_values",
        "data"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(j["tag"], "Osp");
    EXPECT_EQ(j["description"], "caf\xC3\xA9") << "Windows-1252 text arrives as UTF-8";
    EXPECT_EQ(j["general_notes"], "one\r\ntwo");
    EXPECT_EQ(j["channels"], 256);
    EXPECT_EQ(j["threshold"], 99999);
    EXPECT_EQ(j["live_time"], 59.5);
    EXPECT_EQ(j["total_counts"], 256 + 1.5) << "a DPP spectrum uses every channel";
    EXPECT_EQ(j["last_valid_channel"], 255);
    EXPECT_EQ(j["calibration"]["points"], nlohmann::json::parse("[[10,1],[20,2]]"));
    EXPECT_EQ(j["calibration"]["calibrated"], true);
    EXPECT_DOUBLE_EQ(j["calibration"]["b"].get<double>(), 0.1);
    EXPECT_EQ(j["rois"], nlohmann::json::parse("[[4,8]]"));
    EXPECT_EQ(j["dpp_device_code"], 4);
    EXPECT_EQ(j["clock_80mhz"], true);
    EXPECT_EQ(j["dpp_values"].size(), 27u);
    EXPECT_EQ(j["dpp_values"]["Rise"], "4.0uS");
    EXPECT_EQ(j["dpp_values"]["Peak detect"], "");
    EXPECT_EQ(j["data"].size(), 256u);
    EXPECT_EQ(j["data"][5], 2.5);

    // Without a DPP the top 1/32 of the channels is not counted, and no data unless asked.
    r = runCli("info " + quoted(file), dir);
    ASSERT_EQ(r.status, 0);
    j = nlohmann::ordered_json::parse(r.out);
    EXPECT_EQ(j["last_valid_channel"], 247);
    EXPECT_FALSE(j.contains("data"));
}

TEST(VornaCli, ConvertWritesWhatTheWriterWrites) {
    TempDir dir;
    const std::string in = dir.file("in.mca");
    writeFile(in, dppFile());
    const std::string plain = dir.file("plain.mca");
    ASSERT_EQ(runCli("convert " + quoted(in) + " " + quoted(plain), dir).status, 0);
    const std::string written = readFile(plain);
    EXPECT_EQ(written.find("<<DPP"), std::string::npos) << "no DPP selected, no blocks";
    EXPECT_NE(written.find("<<DATA>>\r\n1\r\n"), std::string::npos);
    EXPECT_NE(written.find("\r\n3\r\n"), std::string::npos) << "2.5 is stored rounded";

    // With a DPP selected the stored blocks are written; a second pass changes nothing.
    const std::string dpp = dir.file("dpp.mca");
    const std::string again = dir.file("again.mca");
    ASSERT_EQ(runCli("convert --device-type 4 " + quoted(in) + " " + quoted(dpp), dir).status, 0);
    ASSERT_EQ(runCli("convert --device-type 4 " + quoted(dpp) + " " + quoted(again), dir).status,
              0);
    EXPECT_EQ(readFile(again), readFile(dpp));
    EXPECT_NE(readFile(dpp).find("<<OSPREY BOOT FLAGS>>\r\nFPGA clock: 80MHz\r\n"),
              std::string::npos);

    // The shipped example is a file the writer produced: it converts to the same bytes.
    const std::string example = std::string(VORNA_SOURCE_DIR) + "/examples/fe55.mca";
    const std::string copy = dir.file("fe55.mca");
    ASSERT_EQ(runCli("convert " + quoted(example) + " " + quoted(copy), dir).status, 0);
    EXPECT_EQ(readFile(copy), readFile(example));
}

TEST(VornaCli, ExitStatuses) {
    TempDir dir;
    CliRun r = runCli("info", dir);
    EXPECT_EQ(r.status, 2) << "missing file argument";
    EXPECT_EQ(runCli("info x.mca --device-type 9", dir).status, 2);
    EXPECT_EQ(runCli("convert only-one.mca", dir).status, 2);

    const std::string bad = dir.file("bad.mca");
    writeFile(bad, "<<LUMO SPECTRUM>>\r\nTAG - 9lives\r\n");
    r = runCli("info " + quoted(bad), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Can not open the file " + bad + ". Load file failure!\n");
    EXPECT_TRUE(r.out.empty());

    r = runCli("convert " + quoted(bad) + " " + quoted(dir.file("out.mca")), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Can not open the file "), std::string::npos);

    writeFile(dir.file("good.mca"), dppFile());
    r = runCli("convert " + quoted(dir.file("good.mca")) + " " + quoted(dir.file("no/dir.mca")),
               dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
}

TEST(VornaCli, ProfileOnlyWhenAskedFor) {
    TempDir dir;
    const std::string file = dir.file("osp.mca");
    writeFile(file, dppFile());
    std::filesystem::create_directories(dir.file("config/Quorix"));
    writeFile(dir.file("config/Quorix/Lumo.ini"),
              "[Config]\nProfile=Standard\n\n[Standard]\ndevice_type=2\n");
    const std::string env = "XDG_CONFIG_HOME=" + quoted(dir.file("config")) + " ";

    // The saved device type selects a DPP: every channel of a DPP file counts.
    CliRun r = runCliWithEnv(env, "info --use-profile " + quoted(file), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["last_valid_channel"], 255);
    r = runCliWithEnv(env, "info " + quoted(file), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["last_valid_channel"], 247);
}
