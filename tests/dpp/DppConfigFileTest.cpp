#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "dpp/DppBootFlags.h"
#include "dpp/DppConfigFile.h"
#include "dpp/DppDefaultConfiguration.h"
#include "dpp/DppMessages.h"

using namespace vorna;
using vorna::test::readFile;
using vorna::test::TempDir;
using vorna::test::writeFile;

namespace {

std::string dataFile(const char* name) {
    return std::string(VORNA_TEST_DATA_DIR) + "/dpp/" + name;
}

std::string lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + "\r\n";
    return text;
}

const char* const kFileErrorTail =
    "\r\n\r\n"
    "\r\n========================================"
    "\r\nYou must have configuration file read/write permissions."
    "\r\n========================================"
    "\r\nVerify that the Read-only property is NOT selected for this file."
    "\r\n                  OR"
    "\r\nContact your system admistrator to correct this problem.";

// Holds an exclusive lock the way a second program instance would.
class OtherInstanceLock {
public:
    explicit OtherInstanceLock(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY)) {
        EXPECT_EQ(::flock(m_fd, LOCK_EX | LOCK_NB), 0);
    }
    ~OtherInstanceLock() { ::close(m_fd); }

private:
    int m_fd;
};

} // namespace

TEST(DppConfigFile, MessageTexts) {
    EXPECT_EQ(ConfigurationErrorMessage("a", "b", "c"),
              "a\r\nb\r\nc\r\n"
              "========================================\r\n"
              "To fix this error do ***ONE*** of the following:\r\n"
              "        1. Load a valid configuration and configure your device.\r\n"
              "        2. Create a valid configuration and configure your device.\r\n"
              "        3. Load valid configuration file and save it to this file.\r\n"
              "        4. Create a valid configuration file and save it to this file.\r\n"
              "        5. Copy a known good *.cfg file for your device to this file.\r\n"
              "        \r\n"
              "========================================\r\n"
              "This message may pop-up 3 or more times during configuration\r\n"
              "until the first valid configuration cycle is completed.\r\n"
              "        \r\n"
              "        \r\n");
    EXPECT_EQ(FileErrorMessage(DppFileFailure::NotFound, "/x/DPP.CFG", false),
              std::string("/x/DPP.CFG\nCannot find this file.\nPlease verify that the correct "
                          "path and file name are given.") +
                  kFileErrorTail);
    EXPECT_EQ(FileErrorMessage(DppFileFailure::AccessDenied, "p", false),
              std::string("Unable to read from p, it is opened by someone else.") + kFileErrorTail);
    EXPECT_EQ(FileErrorMessage(DppFileFailure::Other, "p", true),
              std::string("Unable to write to p, it is read-only or opened by someone else.") +
                  kFileErrorTail);
    EXPECT_EQ(FileErrorMessage(DppFileFailure::DiskFull, "p", true),
              std::string("Destination disk drive is full.") + kFileErrorTail);
    EXPECT_EQ(FileErrorMessage(DppFileFailure::Cancelled, "p", true), "");
    EXPECT_EQ(FileFailureFromErrno(ENOSPC), DppFileFailure::DiskFull);
    EXPECT_EQ(FileFailureFromErrno(EWOULDBLOCK), DppFileFailure::AccessDenied);
}

TEST(DppConfigFile, ShortAndOldFiles) {
    TempDir dir;
    DppConfigFile file;
    file.strings.Line(42) = "old42";
    file.strings.Line(43) = "old43";

    // Files from before acquisition mode existed complete with plain MCA.
    ASSERT_TRUE(file.Load(dataFile("heron-41.cfg"), 1).ok);
    EXPECT_EQ(file.strings.Line(1), "4");
    EXPECT_EQ(file.strings.Line(41), "0");
    EXPECT_EQ(file.strings.Line(42), "0");
    EXPECT_EQ(file.strings.Line(43), "0");
    writeFile(dir.file("42.cfg"), lines(42));
    ASSERT_TRUE(file.Load(dir.file("42.cfg"), 1).ok);
    EXPECT_EQ(file.strings.Line(42), "0");
    // No line end after the last line is still a line.
    writeFile(dir.file("43.cfg"), lines(42) + "43");
    ASSERT_TRUE(file.Load(dir.file("43.cfg"), 1).ok);
    EXPECT_EQ(file.strings.Line(43), "43");

    // One line short: the lines read keep their new text, the rest their old.
    file.strings.Line(40) = "old40";
    file.strings.Line(41) = "old41";
    std::string path = dir.file("40.cfg");
    writeFile(path, lines(40));
    DppFileOutcome outcome = file.Load(path, 1);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, ConfigurationErrorMessage("End of file error encountered in...",
                                                         path, "configuration file."));
    EXPECT_EQ(file.strings.Line(40), "40");
    EXPECT_EQ(file.strings.Line(41), "old41");
    EXPECT_FALSE(file.Load(dir.file("empty.cfg"), 1).ok);
}

TEST(DppConfigFile, GarbageLoadsOrFailsCleanly) {
    TempDir dir;
    DppConfigFile file;
    // Binary bytes, NULs and lone CRs are just text of odd lines.
    std::string garbage;
    for (int i = 0; i < 43; ++i)
        garbage += std::string("\0\xff\r\x80", 4) + std::to_string(i) + "\n";
    writeFile(dir.file("bin.cfg"), garbage);
    EXPECT_TRUE(file.Load(dir.file("bin.cfg"), 2).ok);
    DppConfigRecord r;
    StringsToRecord(file.strings, r, 2);

    // Far too large to be a configuration file: refused without reading it all.
    writeFile(dir.file("huge.cfg"), std::string(DppConfigFile::kMaxFileBytes + 10, 'x'));
    DppFileOutcome outcome = file.Load(dir.file("huge.cfg"), 2);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message.rfind("Unexpected file format.", 0), 0u);

    outcome = file.Load(dir.path(), 2); // a folder
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message.rfind("Unable to read from ", 0), 0u);
}

TEST(DppConfigFile, SaveIsAtomicAndRespectsReadOnlyAndLocks) {
    TempDir dir;
    DppConfigFile file;
    ASSERT_TRUE(file.Load(dataFile("plover.cfg"), 2).ok);
    const std::string original = readFile(dataFile("plover.cfg"));
    EXPECT_EQ(file.Text(), original);

    file.path = dir.file("DPP.CFG");
    ASSERT_TRUE(file.Save(2).ok);
    EXPECT_EQ(readFile(file.path), original);
    // Nothing but the file itself is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);

    file.strings.Line(1) = "2";
    {
        OtherInstanceLock lock(file.path);
        DppFileOutcome busy = file.Save(2);
        EXPECT_FALSE(busy.ok);
        EXPECT_EQ(busy.message, FileErrorMessage(DppFileFailure::AccessDenied, file.path, true));
        DppConfigFile reader;
        DppFileOutcome readBusy = reader.Load(file.path, 2);
        EXPECT_EQ(readBusy.message,
                  FileErrorMessage(DppFileFailure::AccessDenied, file.path, false));
    }
    EXPECT_EQ(readFile(file.path), original);

    ::chmod(file.path.c_str(), 0444);
    DppFileOutcome readOnly = file.Save(2);
    EXPECT_FALSE(readOnly.ok);
    EXPECT_EQ(readOnly.message, FileErrorMessage(DppFileFailure::AccessDenied, file.path, true));
    EXPECT_EQ(readFile(file.path), original);
    ::chmod(file.path.c_str(), 0644);
    EXPECT_TRUE(file.Save(2).ok);
    EXPECT_EQ(readFile(file.path).substr(0, 3), "2\r\n");

    file.path = dir.file("missing/DPP.CFG");
    EXPECT_EQ(file.Save(2).message, FileErrorMessage(DppFileFailure::NotFound, file.path, true));
}

TEST(DppConfigFile, SaveDialogProposesNumberedNames) {
    TempDir dir;
    test::ScriptedPrompt prompt;
    DppConfigFile file;
    file.dialogFolder = dir.file("data/");
    prompt.savePaths = {dir.file("a.cfg")};
    EXPECT_TRUE(file.SaveWithDialog(2, prompt).ok);
    EXPECT_EQ(prompt.proposedSavePaths, std::vector<std::string>{dir.file("data/DPPCFG1")})
        << "the dialog starts in the folder it was given";
    EXPECT_FALSE(std::filesystem::exists(dir.file("data"))) << "a named folder is not made";
    // Without a folder of the caller's the dialog starts in the data folder, made for it.
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string savedValue = saved ? saved : "";
    setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    DppConfigFile fresh;
    EXPECT_FALSE(fresh.SaveWithDialog(2, prompt).ok);
    EXPECT_EQ(prompt.proposedSavePaths.back(), dir.file("vorna/DPPCFG1"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("vorna")));
    if (saved)
        setenv("XDG_DATA_HOME", savedValue.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(file.path, dir.file("a.cfg"));
    DppFileOutcome cancelled = file.SaveWithDialog(2, prompt);
    EXPECT_FALSE(cancelled.ok);
    EXPECT_TRUE(cancelled.message.empty());
    EXPECT_EQ(file.NextProposedName(), "DPPCFG3");
    ShowOutcome(prompt, cancelled);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(DppConfigFile, DefaultAndDetectorConfigurations) {
    EXPECT_EQ(ProgramDirectoryOf("/opt/vorna/bin/vorna"), "/opt/vorna/bin");
    EXPECT_EQ(ProgramDirectoryOf("vorna"), ".");
    EXPECT_EQ(DefaultConfigurationPath("/opt/vorna/bin"), "/opt/vorna/bin/DPP.CFG");
    EXPECT_EQ(DetectorConfigurationsPath("/opt/"), "/opt/QuorixDC.ini");

    TempDir dir;
    DppDevice device;
    device.config.HV = 77;
    DppFileOutcome missing = LoadDefaultConfiguration(device, dir.path(), 2);
    EXPECT_EQ(missing.message, ConfigurationErrorMessage(dir.file("DPP.CFG"), "cannot be found.",
                                                         "Default configuration file"));
    EXPECT_EQ(device.config.HV, 77);
    EXPECT_FALSE(device.configurationLoaded);

    // A truncated DPP.CFG does not half-change the record.
    writeFile(dir.file("DPP.CFG"), lines(20));
    EXPECT_FALSE(LoadDefaultConfiguration(device, dir.path(), 2).ok);
    EXPECT_EQ(device.config.HV, 77);
    EXPECT_FALSE(device.configurationLoaded);

    std::filesystem::copy_file(dataFile("plover.cfg"), dir.file("DPP.CFG"),
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(LoadDefaultConfiguration(device, dir.path(), 2).ok);
    EXPECT_TRUE(device.configurationLoaded);
    EXPECT_EQ(device.config.HV, 1200);
    EXPECT_EQ(device.totalGainText, "20.90");

    device.config.HV = 1500;
    ASSERT_TRUE(SaveDefaultConfiguration(device, dir.path(), 2).ok);
    DppDevice reloaded;
    ASSERT_TRUE(LoadDefaultConfiguration(reloaded, dir.path(), 2).ok);
    EXPECT_EQ(reloaded.config, device.config);

    std::filesystem::copy_file(dataFile("QuorixDC.ini"), dir.file("QuorixDC.ini"));
    std::filesystem::copy_file(dataFile("demo.cfg"), dir.file("demo.cfg"));
    EXPECT_EQ(DetectorConfigurationNames(dir.path()),
              (std::vector<std::string>{"Demo", "Plover 25mm2"}));
    DppDevice fresh;
    ASSERT_TRUE(LoadDetectorConfiguration(fresh, dir.path(), "Demo", 2).ok);
    EXPECT_TRUE(fresh.configurationLoaded);
    EXPECT_EQ(fresh.config.HV, 1200);
    EXPECT_FALSE(LoadDetectorConfiguration(fresh, dir.path(), "Plover 25mm2", 2).ok); // no file
    EXPECT_TRUE(DetectorConfigurationNames("/nonexistent").empty());
}

TEST(DppBootFlags, TextsAndPowerCycleRule) {
    std::string text = BootFlagsText(0x0010);
    EXPECT_EQ(text, "Boot device mode: Plover\r\n"
                    "Boot configuration state: Boot unconfigured\r\n"
                    "RS232 baud rate: 57,600 baud\r\n"
                    "FPGA clock: 80MHz\r\n"
                    "HV Polarity: Negative\r\n"
                    "ADC invert: Inverting\r\n"
                    "Spectrum offset: None\r\n"
                    "Fast channel shaping: Normal\r\n"
                    "MCA channel: Slow channel (normal operation)\r\n"
                    "Peak detect: Max only (normal operation)\r\n");
    EXPECT_EQ(BootFlagsBlock(0x0010),
              "<<OSPREY BOOT FLAGS>>\r\n" + text + "<<OSPREY BOOT FLAGS END>>\r\n");
    std::string all = BootFlagsText(0x03FF);
    for (const char* set :
         {"Heron", "Use nonvolatile configuration", "115,200 baud", "Positive", "Non-inverting",
          "Use Offset", "4x Slower", "Fast channel\r\n", "Max and min"})
        EXPECT_NE(all.find(set), std::string::npos) << set;

    EXPECT_FALSE(BootFlagsChangeNeedsPowerCycle(0x0000, 0x0002)); // spectrum offset
    EXPECT_FALSE(BootFlagsChangeNeedsPowerCycle(0x0000, 0x0010)); // FPGA clock
    EXPECT_FALSE(BootFlagsChangeNeedsPowerCycle(0x0000, 0x0300));
    EXPECT_TRUE(BootFlagsChangeNeedsPowerCycle(0x0000, 0x0008)); // HV polarity
    EXPECT_TRUE(BootFlagsChangeNeedsPowerCycle(0x0080, 0x0000));
}
