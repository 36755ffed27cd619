#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/ScratchFile.h"
#include "settings/CSProfile.h"

using namespace vorna;
using vorna::test::ScriptedPrompt;
using vorna::test::TempDir;

namespace {

size_t entriesIn(const std::string& dir) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

TEST(ProfileChecks, FolderCheck) {
    TempDir dir;
    ScriptedPrompt prompt;
    EXPECT_TRUE(CSProfile::CheckFolder(prompt, dir.path(), "spectra"));
    EXPECT_TRUE(CSProfile::CheckFolder(prompt, dir.path() + "/", "spectra"));
    EXPECT_EQ(entriesIn(dir.path()), 0u) << "the scratch file must be removed";
    EXPECT_TRUE(prompt.messages.empty());

    // A file of the scratch name belongs to someone: it is neither emptied nor removed.
    test::writeFile(dir.file("lumo-temp.tmp"), "keep me");
    EXPECT_TRUE(CSProfile::CheckFolder(prompt, dir.path(), "library"));
    EXPECT_EQ(test::readFile(dir.file("lumo-temp.tmp")), "keep me");
    EXPECT_EQ(entriesIn(dir.path()), 1u);

    EXPECT_FALSE(CSProfile::CheckFolder(prompt, dir.file("missing"), "spectra"));
    EXPECT_FALSE(CSProfile::CheckFolder(prompt, dir.file("lumo-temp.tmp"), "library"));
    EXPECT_EQ(prompt.messages, (std::vector<std::string>{"Invalid pathname - spectra files.",
                                                         "Invalid pathname - library files."}));
}

TEST(ProfileChecks, WriteProtectedFolderFailsTheCheck) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    ScriptedPrompt prompt;
    EXPECT_FALSE(CSProfile::CheckFolder(prompt, dir.path(), "spectra"));
    EXPECT_FALSE(CSProfile::CheckRoom(dir.file("lumo-temp.tmp")));
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"Invalid pathname - spectra files."});
}

TEST(ProfileChecks, RoomCheck) {
    TempDir dir;
    EXPECT_TRUE(CSProfile::CheckRoom(dir.file("lumo-temp.tmp")));
    EXPECT_EQ(entriesIn(dir.path()), 0u);
    test::writeFile(dir.file("lumo-temp.tmp"), "data");
    EXPECT_TRUE(CSProfile::CheckRoom(dir.file("lumo-temp.tmp")));
    EXPECT_EQ(test::readFile(dir.file("lumo-temp.tmp")), "data");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
    // A folder that is not there has no room: the check must not report success.
    EXPECT_FALSE(CSProfile::CheckRoom(dir.file("missing/lumo-temp.tmp")));
}

TEST(ProfileChecks, FileCheck) {
    TempDir dir;
    test::writeFile(dir.file("lines.lib"), "x");
    ScriptedPrompt prompt;
    EXPECT_TRUE(CSProfile::CheckFile(prompt, dir.file("lines.lib")));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_FALSE(CSProfile::CheckFile(prompt, ""));
    EXPECT_FALSE(CSProfile::CheckFile(prompt, dir.file("none.lib")));
    EXPECT_FALSE(CSProfile::CheckFile(prompt, dir.path())); // a folder is no file to load
    EXPECT_EQ(prompt.messages,
              (std::vector<std::string>{"No file or path defined.",
                                        "Invalid filename - " + dir.file("none.lib") + ".",
                                        "Invalid filename - " + dir.path() + "."}));
}

// The room check must take disk space for real: an extended (sparse) file costs no blocks and so
// never meets a full disk.
TEST(ProfileChecks, ScratchFileTakesRealDiskSpace) {
    TempDir dir;
    const std::string path = dir.file("lumo-temp.tmp");
    {
        ScratchFile scratch(path);
        ASSERT_TRUE(scratch.IsOpen());
        ASSERT_TRUE(scratch.Fill(40000));
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_size, 40000);
        EXPECT_GE(static_cast<long long>(st.st_blocks) * 512, 40000LL);
    }
    EXPECT_FALSE(std::filesystem::exists(path)) << "removed with its object";
}
