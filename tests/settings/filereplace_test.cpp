#include "settings/filereplace.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(WriteAllBytes, RefusesNothingToWrite)
{
    TempFolder folder;
    const int fd = ::open(folder.file("f").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const char byte = 'x';
    EXPECT_EQ(WriteAllBytes(fd, &byte, 0), 0);
    EXPECT_EQ(WriteAllBytes(fd, nullptr, 1), 0);
    EXPECT_EQ(WriteAllBytes(-1, &byte, 1), 0);
    EXPECT_EQ(WriteAllBytes(fd, &byte, 1), 1);
    ::close(fd);
    EXPECT_EQ(ReadFileBytes(folder.file("f")), "x");
}

TEST(ReplaceFile, ReplacesWholeAndKeepsPermissions)
{
    TempFolder folder;
    const std::string path = folder.file("data.csv");
    WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    EXPECT_TRUE(ReplaceFileContents(path, "new content"));
    EXPECT_EQ(ReadFileBytes(path), "new content");
#if !defined(_WIN32) // Windows files have no such permission bits
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
#endif
    EXPECT_EQ(FilesIn(folder.path()), 1);
    EXPECT_TRUE(ReplaceFileContents(folder.file("empty"), ""));
    EXPECT_EQ(ReadFileBytes(folder.file("empty")), "");
}

TEST(ReplaceFile, WorksForTheLongestFileNames)
{
    TempFolder folder;
    const std::string path = folder.file(std::string(255, 'n'));
    WriteFileBytes(path, "old");
    EXPECT_TRUE(ReplaceFileContents(path, "new"));
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(FilesIn(folder.path()), 1);
}

TEST(ReplaceFile, AbortLeavesTheOldFileAndNoTemporary)
{
    TempFolder folder;
    const std::string path = folder.file("data.csv");
    WriteFileBytes(path, "old");
    PendingFile pending;
    ASSERT_TRUE(BeginReplace(pending, path));
    EXPECT_EQ(WriteAllBytes(pending.fd, "partial", 7), 1);
    AbortReplace(pending);
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(FilesIn(folder.path()), 1);
}

TEST(ReplaceFile, RefusesFoldersReadOnlyFilesAndMissingFolders)
{
    TempFolder folder;
    PendingFile pending;
    EXPECT_FALSE(BeginReplace(pending, folder.path()));
    EXPECT_FALSE(BeginReplace(pending, folder.file("no/such/folder.csv")));
    EXPECT_FALSE(BeginReplace(pending, ""));
    const std::string locked = folder.file("locked.csv");
    WriteFileBytes(locked, "keep");
    ::chmod(locked.c_str(), 0444);
    EXPECT_FALSE(ReplaceFileContents(locked, "lost"));
    EXPECT_EQ(ReadFileBytes(locked), "keep");
}

TEST(ReplaceFile, AShortWriteFailsAndLosesNothing)
{
    TempFolder folder;
    const std::string path = folder.file("data.csv");
    WriteFileBytes(path, "the old file");
    if (!CanLimitFileSize())
        GTEST_SKIP() << "no file size limit on this system";
    EXPECT_TRUE(RunsWithFileSizeLimit(100, [&] { return !ReplaceFileContents(path, std::string(1000, 'n')); }))
        << "the short write was not noticed";
    EXPECT_EQ(ReadFileBytes(path), "the old file");
    EXPECT_EQ(FilesIn(folder.path()), 1);
}

TEST(ReadWholeFile, TellsMissingFromUnreadable)
{
    TempFolder folder;
    std::string bytes = "stale";
    EXPECT_EQ(ReadWholeFile(folder.file("none"), bytes), FileRead::Missing);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadWholeFile(folder.path(), bytes), FileRead::Failed);
    WriteFileBytes(folder.file("f"), std::string("a\0b", 3));
    EXPECT_EQ(ReadWholeFile(folder.file("f"), bytes), FileRead::Ok);
    EXPECT_EQ(bytes, std::string("a\0b", 3));
}
