#include "fileio/filereplace.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

namespace {
unsigned ModeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0xFFFFu;
}
} // namespace

TEST(ReplaceFile, TheTemporaryIsPrivateUntilItIsComplete)
{
    TempFolder folder;
    const std::string path = folder.file("shared.csv");
    WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0644);
    PendingFile pending;
    ASSERT_TRUE(BeginReplace(pending, path));
    EXPECT_EQ(ModeOf(pending.tempPath), 0600u) << "readable by others while it is written";
    EXPECT_EQ(WriteAllBytes(pending.fd, "secret", 6), 1);
    EXPECT_EQ(ModeOf(pending.tempPath), 0600u);
    ASSERT_TRUE(CommitReplace(pending));
    EXPECT_EQ(ModeOf(path), 0644u);
    EXPECT_EQ(ReadFileBytes(path), "secret");

    // A new file ends with the umask's permissions, and is private before.
    const mode_t saved = ::umask(0);
    const std::string fresh = folder.file("fresh.csv");
    ASSERT_TRUE(BeginReplace(pending, fresh));
    EXPECT_EQ(ModeOf(pending.tempPath), 0600u);
    EXPECT_TRUE(CommitReplace(pending));
    EXPECT_EQ(ModeOf(fresh), 0666u);
    ::umask(027);
    EXPECT_TRUE(ReplaceFileContents(folder.file("narrow.csv"), "x"));
    EXPECT_EQ(ModeOf(folder.file("narrow.csv")), 0640u);
    ::umask(saved);
}

TEST(ReplaceFile, KeepsOwnerAndGroupOrClosesTheGroupOut)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs files of other users";
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0777);
    const std::string path = folder.file("theirs.csv");
    WriteFileBytes(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 1000, 1000), 0);
    ::chmod(path.c_str(), 0664);
    EXPECT_TRUE(ReplaceFileContents(path, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 1000u);
    EXPECT_EQ(info.st_gid, 1000u);
    EXPECT_EQ(info.st_mode & 0777, 0664u);

    // Another user who may write the file but is not in its group: the new
    // file cannot keep the group, so the group may not read it.
    ::chmod(path.c_str(), 0666);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && ReplaceFileContents(path, "by nobody") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(ReadFileBytes(path), "by nobody");
    EXPECT_NE(info.st_gid, 1000u);
    EXPECT_EQ(info.st_mode & 0777, 0606u);
}
