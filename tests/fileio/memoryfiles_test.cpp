#include "fileio/filereplace.h"
#include "fileio/memoryfiles.h"

#include <gtest/gtest.h>

namespace {

std::string Read(const std::string& path)
{
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(path, bytes), FileRead::Ok) << path;
    return bytes;
}

// The settings file and the exports of the page go through these calls: a
// replacement appears whole only when committed, and what cannot hold a
// file is refused without touching what is there.
TEST(MemoryFiles, ReplacementsAppearWholeOnlyWhenCommitted)
{
    ASSERT_TRUE(ReplaceFileContents("/a/settings.ini", "old"));
    PendingFile pending;
    ASSERT_TRUE(BeginReplace(pending, "/a/settings.ini"));
    ASSERT_EQ(WriteAllBytes(pending.fd, "new ", 4), 1);
    ASSERT_EQ(WriteAllBytes(pending.fd, "bytes", 5), 1);
    EXPECT_EQ(Read("/a/settings.ini"), "old");
    ASSERT_TRUE(CommitReplace(pending));
    EXPECT_EQ(Read("/a/settings.ini"), "new bytes");
    EXPECT_EQ(WriteAllBytes(pending.fd, "x", 1), 0) << "closed once committed";

    ASSERT_TRUE(BeginReplace(pending, "/a/settings.ini"));
    ASSERT_EQ(WriteAllBytes(pending.fd, "lost", 4), 1);
    AbortReplace(pending);
    EXPECT_EQ(Read("/a/settings.ini"), "new bytes");
    EXPECT_FALSE(CommitReplace(pending));

    const int direct = CreateForWrite("/a/settings.ini");
    ASSERT_GE(direct, 0);
    EXPECT_EQ(Read("/a/settings.ini"), "") << "emptied at once";
    ASSERT_EQ(WriteAllBytes(direct, "straight", 8), 1);
    EXPECT_EQ(Read("/a/settings.ini"), "straight");
    EXPECT_TRUE(CloseWritten(direct));
    EXPECT_FALSE(CloseWritten(direct));
    EXPECT_EQ(WriteAllBytes(direct, "x", 1), 0);
}

TEST(MemoryFiles, FoldersAndBadPathsAreRefused)
{
    ASSERT_TRUE(ReplaceFileContents("/b/exports/one.csv", "1"));
    std::string bytes = "stale";
    EXPECT_EQ(ReadWholeFile("/b/exports", bytes), FileRead::Failed);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(ReadWholeFile("/b/exports/none.csv", bytes), FileRead::Missing);
    EXPECT_TRUE(PathExists("/b/exports"));
    EXPECT_TRUE(PathExists("/b/exports/one.csv"));
    EXPECT_FALSE(PathExists("/b/export"));
    for (const char* path : {"", "/b/exports", "/b/exports/", "/b"}) {
        PendingFile pending;
        EXPECT_FALSE(BeginReplace(pending, path)) << path;
        EXPECT_EQ(CreateForWrite(path), -1) << path;
    }
    EXPECT_EQ(Read("/b/exports/one.csv"), "1");
}

TEST(MemoryFiles, ThePageListsTakesAndPutsFiles)
{
    PutMemoryFile("/c/out/b.svg", "svg");
    PutMemoryFile("/c/out/a.csv", std::string("a\0b", 3));
    PutMemoryFile("/c/out/deeper/x", "x");
    PutMemoryFile("/c/outside", "o");
    EXPECT_EQ(MemoryFilesIn("/c/out"), (std::vector<std::string>{"a.csv", "b.svg"}));
    ASSERT_NE(MemoryFile("/c/out/a.csv"), nullptr);
    EXPECT_EQ(*MemoryFile("/c/out/a.csv"), std::string("a\0b", 3));
    EXPECT_TRUE(RemoveMemoryFile("/c/out/a.csv"));
    EXPECT_FALSE(RemoveMemoryFile("/c/out/a.csv"));
    EXPECT_EQ(MemoryFile("/c/out/a.csv"), nullptr);
    EXPECT_EQ(MemoryFilesIn("/c/out"), (std::vector<std::string>{"b.svg"}));
}

} // namespace
