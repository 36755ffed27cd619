#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/AtomicFile.h"

using namespace vorna;

TEST(AtomicFile, ReadsRegularFilesOnlyAndNeverBlocks) {
    test::TempDir dir;
    ASSERT_TRUE(WriteFileAtomically(dir.file("a.txt"), "old").ok);
    ASSERT_TRUE(WriteFileAtomically(dir.file("a.txt"), "new bytes").ok);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(dir.file("a.txt"), bytes).ok);
    EXPECT_EQ(bytes, "new bytes");

    // A named pipe with no writer would block a plain open for ever.
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReadWholeFile(dir.file("pipe"), bytes).ok);
    EXPECT_FALSE(ReadWholeFile(dir.path(), bytes).ok);
    EXPECT_FALSE(ReadWholeFile(dir.file("missing"), bytes).ok);

    // A save into a folder that does not exist fails and reports why.
    FileResult r = WriteFileAtomically(dir.file("no/such/dir/x"), "x");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
}

TEST(AtomicFile, NewFilesGetTheCreateModeAndReplacedFilesKeepTheirs) {
    test::TempDir dir;
    const mode_t previous = ::umask(027);
    const bool wrote = WriteFileAtomically(dir.file("new.txt"), "x").ok;
    ::umask(previous);
    ASSERT_TRUE(wrote);
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("new.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    ASSERT_EQ(::chmod(dir.file("new.txt").c_str(), 0604), 0);
    ASSERT_TRUE(WriteFileAtomically(dir.file("new.txt"), "y").ok);
    ASSERT_EQ(::stat(dir.file("new.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    // No temporary is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}
