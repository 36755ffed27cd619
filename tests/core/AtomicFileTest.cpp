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
