#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "external/CompanionLauncher.h"

using namespace vorna;

namespace {

// Records what the launcher asks of the desktop; answers from its settings.
struct FakePort : LauncherPort {
    bool running = false;
    bool runningAfterStart = false;
    bool yes = true;
    std::optional<LaunchError> byName;
    std::optional<LaunchError> byPath;
    std::optional<std::string> located;
    std::vector<std::string> log;
    std::string cwd = "/start";

    bool IsRunning(const CompanionProgram& p) override {
        log.push_back("running? " + p.busName);
        return running;
    }
    void Raise(const CompanionProgram& p) override { log.push_back("raise " + p.busName); }
    bool AskYes(const std::string& q) override {
        log.push_back("ask " + q);
        return yes;
    }
    std::optional<LaunchError> StartByName(const CompanionProgram& p) override {
        log.push_back("start " + p.executable);
        if (!byName)
            running = runningAfterStart;
        return byName;
    }
    std::optional<LaunchError> StartPath(const std::string& path) override {
        log.push_back("start path " + path);
        return byPath;
    }
    void ShowError(const std::string& text) override { log.push_back("error " + text); }
    std::optional<std::string> Locate(const std::string& title, const std::string& text) override {
        log.push_back("locate " + title + " | " + text);
        return located;
    }
    std::string WorkingDirectory() override { return cwd; }
    void SetWorkingDirectory(const std::string& d) override { log.push_back("cd " + d); }
};

using Log = std::vector<std::string>;

} // namespace

TEST(CompanionLauncher, RunningCompanionIsOnlyRaisedAndNoOnlyAsks) {
    FakePort port;
    port.running = true;
    ShowCompanion(ElemixProgram(), port);
    EXPECT_EQ(port.log, (Log{"running? com.quorix.Elemix", "raise com.quorix.Elemix"}));

    FakePort no;
    no.yes = false;
    ShowCompanion(FlareProgram(), no);
    EXPECT_EQ(no.log, (Log{"running? com.quorix.FlareController",
                           "ask Flare Controller not running.  Start Flare Controller?"}));
}

TEST(CompanionLauncher, StartedCompanionIsRaisedOnlyOnceItAnswers) {
    FakePort port;
    port.runningAfterStart = true;
    ShowCompanion(ElemixProgram(), port);
    EXPECT_EQ(port.log.back(), "raise com.quorix.Elemix");

    FakePort slow;
    ShowCompanion(ElemixProgram(), slow);
    EXPECT_EQ(slow.log.back(), "running? com.quorix.Elemix");
}

TEST(CompanionLauncher, MissingProgramOffersTheLocateDialogAndStartsTheLocatedFile) {
    FakePort port;
    port.byName = LaunchError::FileNotFound;
    port.located = "/opt/elemix/elemix";
    EXPECT_TRUE(StartCompanion(ElemixProgram(), port));
    EXPECT_EQ(port.log, (Log{"ask Elemix not running.  Start Elemix?", "start Elemix.Exe",
                             "locate Location for Elemix.Exe... | Program executable file not "
                             "found.",
                             "start path /opt/elemix/elemix"}));

    // Cancel goes back to the working directory of before.
    FakePort cancel;
    cancel.byName = LaunchError::PathNotFound;
    EXPECT_FALSE(StartCompanion(FlareProgram(), cancel));
    EXPECT_EQ(cancel.log[2], "locate Location for Quorix Flare Controller | Path (directory) not "
                             "found.");
    EXPECT_EQ(cancel.log.back(), "cd /start");

    // The located file failing too says why.
    FakePort bad;
    bad.byName = LaunchError::FileNotFound;
    bad.located = "/tmp/notes.txt";
    bad.byPath = LaunchError::InvalidExecutable;
    EXPECT_FALSE(StartCompanion(ElemixProgram(), bad));
    EXPECT_EQ(bad.log.back(), "error Program executable is invalid or corrupt.");
}

TEST(CompanionLauncher, OtherFailuresShowTheirTextWithoutTheLocateDialog) {
    for (auto [error, text] :
         {std::pair{LaunchError::InvalidExecutable, "Program executable is invalid or corrupt."},
          std::pair{LaunchError::OutOfResources,
                    "System is too low on memory, disk space or resources to launch program."},
          std::pair{LaunchError::Other, "Unknown error, could not launch program."}}) {
        FakePort port;
        port.byName = error;
        EXPECT_FALSE(StartCompanion(ElemixProgram(), port));
        EXPECT_EQ(port.log, (Log{"ask Elemix not running.  Start Elemix?", "start Elemix.Exe",
                                 std::string("error ") + text}));
    }
}

TEST(CompanionLauncher, ErrorClassesAreToldApart) {
    LaunchFileFacts f{true, true, true, true, true};
    EXPECT_FALSE(LaunchErrorForFile(f));
    f.knownFormat = false;
    EXPECT_EQ(LaunchErrorForFile(f), LaunchError::InvalidExecutable);
    f = {true, true, true, false, true};
    EXPECT_EQ(LaunchErrorForFile(f), LaunchError::InvalidExecutable);
    f = {true, true, false, true, false}; // a folder
    EXPECT_EQ(LaunchErrorForFile(f), LaunchError::InvalidExecutable);
    f = {true, false, false, false, false};
    EXPECT_EQ(LaunchErrorForFile(f), LaunchError::FileNotFound);
    f = {false, false, false, false, false};
    EXPECT_EQ(LaunchErrorForFile(f), LaunchError::PathNotFound);

    EXPECT_EQ(LaunchErrorFromErrno(ENOENT), LaunchError::FileNotFound);
    EXPECT_EQ(LaunchErrorFromErrno(ENOTDIR), LaunchError::PathNotFound);
    EXPECT_EQ(LaunchErrorFromErrno(ENOEXEC), LaunchError::InvalidExecutable);
    EXPECT_EQ(LaunchErrorFromErrno(ENOMEM), LaunchError::OutOfResources);
    EXPECT_EQ(LaunchErrorFromErrno(EIO), LaunchError::Other);
    EXPECT_EQ(LaunchErrorFromMessage(std::string("execve: ") + std::strerror(EACCES)),
              LaunchError::InvalidExecutable);
    EXPECT_EQ(LaunchErrorFromMessage("something odd"), LaunchError::Other);
}

TEST(CompanionLauncher, NamesAndPathsOfTheCompanions) {
    EXPECT_EQ(ExecutableNames(ElemixProgram()), (Log{"Elemix.Exe", "elemix"}));
    EXPECT_EQ(ExecutableNames(FlareProgram()), (Log{"FlareCtrl.exe", "flarectrl"}));
    EXPECT_EQ(ApplicationObjectPath("com.quorix.FlareController"), "/com/quorix/FlareController");
}
